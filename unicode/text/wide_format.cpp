#include "unicode/text/wide_format.h"

#include <climits>

#include "classlib/core/exceptions.h"
#include "classlib/core/resstrings.h"
#include "classlib/core/strutils.h"

TWideVarRec::TWideVarRec(char v) : Value(AnsiToWide(std::string(1, v))[0]) {}
TWideVarRec::TWideVarRec(const char* v) : Value(AnsiToWide(v ? v : "")) {}
TWideVarRec::TWideVarRec(const std::string& v) : Value(AnsiToWide(v)) {}

namespace {

[[noreturn]] void FormatError(const std::wstring& format) {
    throw EConvertError(Format(LoadStr(SInvalidFormat), {WideToAnsi(format)}));
}

[[noreturn]] void ArgumentMissing(const std::wstring& format) {
    throw EConvertError(Format(LoadStr(SArgumentMissing), {WideToAnsi(format)}));
}

std::wstring Pad(const std::wstring& field, int width, bool left) {
    if (width <= static_cast<int>(field.size())) return field;
    std::wstring fill(static_cast<size_t>(width) - field.size(), L' ');
    return left ? field + fill : fill + field;
}

// A number's field by the class library's own rules (its text is ASCII).
std::wstring NumberField(wchar_t type, int prec, const TWideVarRec& arg, const std::wstring& format) {
    std::string spec = "%";
    if (prec >= 0) spec += "." + IntToStr(prec);
    spec += static_cast<char>(type);
    wchar_t lower = static_cast<wchar_t>(type | 0x20);
    bool integral = lower == L'd' || lower == L'u' || lower == L'x' || lower == L'p';
    if (integral && !std::holds_alternative<int64_t>(arg.Value)) FormatError(format);
    if (const int64_t* i = std::get_if<int64_t>(&arg.Value)) return AnsiToWide(Format(spec, {static_cast<long long>(*i)}));
    if (const double* d = std::get_if<double>(&arg.Value)) return AnsiToWide(Format(spec, {*d}));
    FormatError(format);
}

}  // namespace

std::wstring WideFormat(const std::wstring& format, std::initializer_list<TWideVarRec> args) {
    std::wstring out;
    const TWideVarRec* argv = args.begin();
    size_t argc = args.size();
    size_t next = 0;
    auto takeInt = [&]() -> int64_t {
        if (next >= argc) ArgumentMissing(format);
        const TWideVarRec& a = argv[next++];
        if (const int64_t* i = std::get_if<int64_t>(&a.Value)) return *i;
        FormatError(format);
    };
    for (size_t i = 0; i < format.size(); ++i) {
        wchar_t ch = format[i];
        if (ch != L'%') {
            out += ch;
            continue;
        }
        if (++i >= format.size()) FormatError(format);
        if (format[i] == L'%') {
            out += L'%';
            continue;
        }
        auto readNumber = [&](int& value) -> bool {
            if (format[i] == L'*') {
                value = static_cast<int>(takeInt());
                ++i;
                return true;
            }
            if (format[i] < L'0' || format[i] > L'9') return false;
            value = 0;
            while (i < format.size() && format[i] >= L'0' && format[i] <= L'9') {
                if (value > (INT_MAX - 9) / 10) FormatError(format);
                value = value * 10 + (format[i++] - L'0');
            }
            return true;
        };
        int number = -1;
        bool haveNumber = readNumber(number);
        if (i >= format.size()) FormatError(format);
        if (haveNumber && format[i] == L':') {
            next = static_cast<size_t>(number);
            ++i;
            haveNumber = false;
        }
        bool left = false;
        if (!haveNumber && i < format.size() && format[i] == L'-') {
            left = true;
            ++i;
        }
        int width = -1;
        if (haveNumber) width = number;
        else if (i < format.size()) readNumber(width);
        int prec = -1;
        if (i < format.size() && format[i] == L'.') {
            ++i;
            if (i >= format.size() || !readNumber(prec)) prec = 0;
        }
        if (i >= format.size()) FormatError(format);
        wchar_t type = format[i];
        wchar_t lower = (type >= L'A' && type <= L'Z') ? static_cast<wchar_t>(type | 0x20) : type;
        if (next >= argc) ArgumentMissing(format);
        const TWideVarRec& arg = argv[next++];
        std::wstring field;
        switch (lower) {
        case L's':
        case L'c':
            if (const std::wstring* s = std::get_if<std::wstring>(&arg.Value)) field = *s;
            else if (const wchar_t* c = std::get_if<wchar_t>(&arg.Value)) field = std::wstring(1, *c);
            else FormatError(format);
            if (prec >= 0 && prec < static_cast<int>(field.size())) field.resize(static_cast<size_t>(prec));
            break;
        case L'd':
        case L'u':
        case L'x':
        case L'p':
        case L'e':
        case L'f':
        case L'g':
        case L'n':
        case L'm':
            field = NumberField(type, prec, arg, format);
            break;
        default:
            FormatError(format);
        }
        out += Pad(field, width, left);
    }
    return out;
}
