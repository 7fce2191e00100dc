#include "classlib/core/textparser.h"

#include "classlib/core/exceptions.h"
#include "classlib/core/resstrings.h"
#include "classlib/core/strutils.h"

namespace {
bool IsIdentStart(char ch) {
    return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || ch == '_';
}
bool IsDigit(char ch) {
    return ch >= '0' && ch <= '9';
}
bool IsIdentChar(char ch) {
    return IsIdentStart(ch) || IsDigit(ch);
}
int HexValue(char ch) {
    if (IsDigit(ch)) return ch - '0';
    if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
    if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
    return -1;
}
}  // namespace

TLayoutParser::TLayoutParser(std::string text) : text_(std::move(text)) {
    Next();
}

void TLayoutParser::Error(const std::string& message) const {
    throw MakeError(message);
}

void TLayoutParser::Error(const std::string& message, int line) const {
    throw EParserError(Format(LoadStr(SParseError), {message, line}));
}

EParserError TLayoutParser::MakeError(const std::string& message) const {
    return EParserError(Format(LoadStr(SParseError), {message, token_.Line}));
}

bool TLayoutParser::IsSymbol(char symbol) const {
    return token_.Kind == TTokenKind::Symbol && token_.Text[0] == symbol;
}

bool TLayoutParser::IsKeyword(const char* word) const {
    return token_.Kind == TTokenKind::Ident && SameText(token_.Text, word);
}

void TLayoutParser::ExpectSymbol(char symbol) {
    if (!IsSymbol(symbol)) Error(Format(LoadStr(SSymbolExpected), {std::string("'") + symbol + "'"}));
    Next();
}

std::string TLayoutParser::ExpectIdent(bool dotted) {
    if (token_.Kind != TTokenKind::Ident || (!dotted && token_.Text.find('.') != std::string::npos))
        Error(LoadStr(SIdentifierExpected));
    std::string ident = token_.Text;
    Next();
    return ident;
}

void TLayoutParser::Next() {
    while (pos_ < text_.size()) {
        char ch = text_[pos_];
        if (ch == '\n') ++line_;
        else if (ch != ' ' && ch != '\t' && ch != '\r') break;
        ++pos_;
    }
    token_ = TToken();
    token_.Line = line_;
    if (pos_ >= text_.size()) return;
    char ch = text_[pos_];
    if (IsIdentStart(ch)) ScanIdent();
    else if (IsDigit(ch) || (ch == '-' && pos_ + 1 < text_.size() && IsDigit(text_[pos_ + 1]))) ScanNumber();
    else if (ch == '\'' || ch == '#') ScanString();
    else {
        token_.Kind = TTokenKind::Symbol;
        token_.Text = std::string(1, ch);
        ++pos_;
    }
}

void TLayoutParser::ScanIdent() {
    size_t start = pos_;
    for (;;) {
        while (pos_ < text_.size() && IsIdentChar(text_[pos_])) ++pos_;
        if (pos_ + 1 < text_.size() && text_[pos_] == '.' && IsIdentStart(text_[pos_ + 1])) {
            ++pos_;
            continue;
        }
        break;
    }
    token_.Kind = TTokenKind::Ident;
    token_.Text = text_.substr(start, pos_ - start);
    // Names are short strings in the binary form.
    if (token_.Text.size() > 255) Error(LoadStr(SIdentifierExpected));
}

void TLayoutParser::ScanNumber() {
    size_t start = pos_;
    bool isFloat = false;
    if (text_[pos_] == '-') ++pos_;
    auto digits = [this] {
        size_t from = pos_;
        while (pos_ < text_.size() && IsDigit(text_[pos_])) ++pos_;
        return pos_ > from;
    };
    digits();
    if (pos_ < text_.size() && text_[pos_] == '.') {
        ++pos_;
        if (!digits()) Error(LoadStr(SNumberExpected));
        isFloat = true;
    }
    if (pos_ < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
        ++pos_;
        if (pos_ < text_.size() && (text_[pos_] == '+' || text_[pos_] == '-')) ++pos_;
        if (!digits()) Error(LoadStr(SNumberExpected));
        isFloat = true;
    }
    token_.Text = text_.substr(start, pos_ - start);
    if (pos_ < text_.size()) {
        char suffix = static_cast<char>(text_[pos_] | 0x20);
        if (suffix == 's' || suffix == 'c' || suffix == 'd') {
            token_.Suffix = suffix;
            isFloat = true;
            ++pos_;
        }
    }
    if (pos_ < text_.size() && IsIdentChar(text_[pos_])) Error(LoadStr(SNumberExpected));
    token_.Kind = isFloat ? TTokenKind::Float : TTokenKind::Integer;
}

void TLayoutParser::ScanString() {
    token_.Kind = TTokenKind::String;
    while (pos_ < text_.size()) {
        if (text_[pos_] == '\'') {
            ++pos_;
            for (;;) {
                if (pos_ >= text_.size() || text_[pos_] == '\r' || text_[pos_] == '\n') Error(LoadStr(SInvalidString));
                char ch = text_[pos_++];
                if (ch == '\'') {
                    if (pos_ < text_.size() && text_[pos_] == '\'') ++pos_;
                    else break;
                }
                token_.Units.push_back({static_cast<uint8_t>(ch), true});
            }
        } else if (text_[pos_] == '#') {
            ++pos_;
            uint32_t value = 0;
            size_t from = pos_;
            while (pos_ < text_.size() && IsDigit(text_[pos_])) {
                value = value * 10 + static_cast<uint32_t>(text_[pos_++] - '0');
                if (value > 0xFFFF) Error(LoadStr(SInvalidString));
            }
            if (pos_ == from) Error(LoadStr(SInvalidString));
            token_.Units.push_back({value, false});
        } else {
            break;
        }
    }
}

std::string TLayoutParser::ReadBinary() {
    std::string bytes;
    int high = -1;
    for (;;) {
        token_.Line = line_;
        if (pos_ >= text_.size()) Error(LoadStr(SInvalidBinary));
        char ch = text_[pos_++];
        if (ch == '}') break;
        if (ch == '\n') ++line_;
        if (ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n') continue;
        int digit = HexValue(ch);
        if (digit < 0) Error(LoadStr(SInvalidBinary));
        if (high < 0) {
            high = digit;
        } else {
            bytes += static_cast<char>(high * 16 + digit);
            high = -1;
        }
    }
    if (high >= 0) Error(LoadStr(SInvalidBinary));  // odd number of digits
    Next();
    return bytes;
}
