// String helpers of the class library. Strings are ANSI (code page 1252)
// byte strings; wide strings hold UTF-16 code units.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>
#include <variant>

std::string IntToStr(int64_t value);
// Upper-case hexadecimal with at least `digits` digits; negative 32-bit
// values show their two's complement (IntToHex(-1, 1) = "FFFFFFFF").
std::string IntToHex(int64_t value, int digits);
std::string IntToHex32(int32_t value, int digits);
// Decimal, or hexadecimal after "$" or "0x"; an optional sign; surrounding
// blanks allowed. Raises EConvertError "'%s' ist kein gültiger Integerwert".
int32_t StrToInt(const std::string& text);
int32_t StrToIntDef(const std::string& text, int32_t fallback);
bool TryStrToInt(const std::string& text, int32_t& value);
int64_t StrToInt64(const std::string& text);

// ASCII case mapping only (a-z / A-Z), as the class library does it.
std::string UpperCase(const std::string& s);
std::string LowerCase(const std::string& s);
// Case-insensitive comparisons (ASCII letters folded); <0, 0, >0.
int StrIComp(const std::string& a, const std::string& b);
int CompareText(const std::string& a, const std::string& b);
bool SameText(const std::string& a, const std::string& b);
std::string Trim(const std::string& s);
std::string TrimLeft(const std::string& s);
std::string TrimRight(const std::string& s);
std::string QuotedStr(const std::string& s);
std::string StringReplaceAll(const std::string& s, const std::string& from, const std::string& to);

// Code page 1252 <-> UTF-16.
std::wstring AnsiToWide(const std::string& s);
std::string WideToAnsi(const std::wstring& s);  // unmappable characters become '?'

// One argument of Format.
struct TVarRec {
    std::variant<int64_t, std::string, double, char> Value;
    // The built-in integer types rather than int64_t/uint64_t: on LP64
    // systems those are long / unsigned long and would collide.
    TVarRec(int v) : Value(static_cast<int64_t>(v)) {}
    TVarRec(unsigned v) : Value(static_cast<int64_t>(v)) {}
    TVarRec(long v) : Value(static_cast<int64_t>(v)) {}
    TVarRec(unsigned long v) : Value(static_cast<int64_t>(v)) {}
    TVarRec(long long v) : Value(static_cast<int64_t>(v)) {}
    TVarRec(unsigned long long v) : Value(static_cast<int64_t>(v)) {}
    TVarRec(double v) : Value(v) {}
    TVarRec(char v) : Value(v) {}
    TVarRec(const char* v) : Value(std::string(v ? v : "")) {}  // nil formats as ""
    TVarRec(std::string v) : Value(std::move(v)) {}
};

// The class library's Format: %[index:][-][width][.prec]type with the types
// d u x X s c f e g n m p and %%. Raises EConvertError on a bad format or a
// missing or mistyped argument.
std::string Format(const std::string& format, std::initializer_list<TVarRec> args);
