// Tokens of layout text (object ... end): identifiers (dotted), numbers,
// strings of quoted runs and #n codes, and one-character symbols. Errors
// raise EParserError "%s in Zeile %d".
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "classlib/core/exceptions.h"

enum class TTokenKind { End, Ident, Integer, Float, String, Symbol };

// One character of a string token: a quoted code-page byte or a #n code.
struct TStringUnit {
    uint32_t Value;
    bool Quoted;
};

struct TToken {
    TTokenKind Kind = TTokenKind::End;
    std::string Text;      // identifier, number without suffix, symbol
    char Suffix = 0;       // float: 's', 'c', 'd' or 0
    std::vector<TStringUnit> Units;
    int Line = 1;
};

class TLayoutParser {
public:
    explicit TLayoutParser(std::string text);

    const TToken& Token() const { return token_; }
    void Next();
    bool IsSymbol(char symbol) const;
    // Case-insensitive, as the class library's keywords are.
    bool IsKeyword(const char* word) const;
    // At the current token's line, or at the line given.
    [[noreturn]] void Error(const std::string& message) const;
    [[noreturn]] void Error(const std::string& message, int line) const;
    // The exception Error raises, for a caller that raises it itself.
    EParserError MakeError(const std::string& message) const;
    void ExpectSymbol(char symbol);
    // An identifier; dotted only where allowed.
    std::string ExpectIdent(bool dotted = false);
    // The hex digits after a '{' up to the '}', as bytes; then the next token.
    std::string ReadBinary();

private:
    void ScanIdent();
    void ScanNumber();
    void ScanString();

    std::string text_;
    size_t pos_ = 0;
    int line_ = 1;
    TToken token_;
};
