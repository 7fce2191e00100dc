// Format for wide strings: the class library's format rules, applied in
// UTF-16 so that wide arguments keep every character.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>
#include <variant>

struct TWideVarRec {
    std::variant<int64_t, std::wstring, double, wchar_t> Value;
    TWideVarRec(int v) : Value(static_cast<int64_t>(v)) {}
    TWideVarRec(unsigned v) : Value(static_cast<int64_t>(v)) {}
    TWideVarRec(long v) : Value(static_cast<int64_t>(v)) {}
    TWideVarRec(unsigned long v) : Value(static_cast<int64_t>(v)) {}
    TWideVarRec(long long v) : Value(static_cast<int64_t>(v)) {}
    TWideVarRec(unsigned long long v) : Value(static_cast<int64_t>(v)) {}
    TWideVarRec(double v) : Value(v) {}
    TWideVarRec(wchar_t v) : Value(v) {}
    TWideVarRec(const wchar_t* v) : Value(std::wstring(v ? v : L"")) {}
    TWideVarRec(std::wstring v) : Value(std::move(v)) {}
    // ANSI text (code page 1252) is widened.
    TWideVarRec(char v);
    TWideVarRec(const char* v);
    TWideVarRec(const std::string& v);
};

// %[index:][-][width][.prec]type with the types d u x X s c f e g n m p and
// %%, as Format; raises EConvertError on a bad format or a missing or
// mistyped argument.
std::wstring WideFormat(const std::wstring& format, std::initializer_list<TWideVarRec> args);
