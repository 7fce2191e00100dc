#include "classlib/core/strutils.h"

#include <cmath>
#include <cstdio>

#include "classlib/core/exceptions.h"
#include "classlib/core/resstrings.h"

std::string IntToStr(int64_t value) {
    return std::to_string(value);
}

std::string IntToHex(int64_t value, int digits) {
    uint64_t v = static_cast<uint64_t>(value);
    if (value < 0 && value >= INT32_MIN) v &= 0xFFFFFFFFu;
    static const char hex[] = "0123456789ABCDEF";
    std::string s;
    do {
        s.insert(s.begin(), hex[v & 15]);
        v >>= 4;
    } while (v);
    if (static_cast<int>(s.size()) < digits) s.insert(0, static_cast<size_t>(digits) - s.size(), '0');
    return s;
}

std::string IntToHex32(int32_t value, int digits) {
    return IntToHex(static_cast<int64_t>(static_cast<uint32_t>(value)), digits);
}

namespace {

bool ParseInt(const std::string& text, int64_t& out, int64_t minValue, int64_t maxValue) {
    size_t i = 0, n = text.size();
    while (i < n && (text[i] == ' ' || text[i] == '\t')) ++i;
    while (n > i && (text[n - 1] == ' ' || text[n - 1] == '\t')) --n;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int base = 10;
    if (i < n && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < n && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= n) return false;
    uint64_t value = 0;
    for (; i < n; ++i) {
        char ch = text[i];
        unsigned digit;
        if (ch >= '0' && ch <= '9') digit = static_cast<unsigned>(ch - '0');
        else if (base == 16 && ch >= 'a' && ch <= 'f') digit = static_cast<unsigned>(ch - 'a' + 10);
        else if (base == 16 && ch >= 'A' && ch <= 'F') digit = static_cast<unsigned>(ch - 'A' + 10);
        else return false;
        // Checked before multiplying: a wrapped accumulator would pass later range checks.
        if (value > (UINT64_MAX - digit) / static_cast<unsigned>(base)) return false;
        value = value * static_cast<unsigned>(base) + digit;
    }
    if (base == 16) {
        // Hexadecimal fills the type's bits and wraps into the signed range
        // ($FFFFFFFF = -1); negation wraps likewise.
        if (maxValue == INT32_MAX) {
            if (value > 0xFFFFFFFFull) return false;
            uint32_t bits = static_cast<uint32_t>(value);
            if (negative) bits = 0u - bits;
            out = static_cast<int32_t>(bits);
            return true;
        }
        out = static_cast<int64_t>(negative ? 0 - value : value);
        return true;
    }
    if (negative) {
        if (value > static_cast<uint64_t>(-(minValue + 1)) + 1) return false;
        out = static_cast<int64_t>(0 - value);
    } else {
        if (value > static_cast<uint64_t>(maxValue)) return false;
        out = static_cast<int64_t>(value);
    }
    return true;
}

}  // namespace

bool TryStrToInt(const std::string& text, int32_t& value) {
    int64_t v;
    if (!ParseInt(text, v, INT32_MIN, INT32_MAX)) return false;
    value = static_cast<int32_t>(v);
    return true;
}

int32_t StrToInt(const std::string& text) {
    int32_t v;
    if (!TryStrToInt(text, v)) throw EConvertError(Format(LoadStr(SInvalidInteger), {text}));
    return v;
}

int32_t StrToIntDef(const std::string& text, int32_t fallback) {
    int32_t v;
    return TryStrToInt(text, v) ? v : fallback;
}

int64_t StrToInt64(const std::string& text) {
    int64_t v;
    if (!ParseInt(text, v, INT64_MIN, INT64_MAX)) throw EConvertError(Format(LoadStr(SInvalidInteger), {text}));
    return v;
}

std::string UpperCase(const std::string& s) {
    std::string r = s;
    for (char& ch : r)
        if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 32);
    return r;
}

std::string LowerCase(const std::string& s) {
    std::string r = s;
    for (char& ch : r)
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch + 32);
    return r;
}

int StrIComp(const std::string& a, const std::string& b) {
    size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 32);
        if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 32);
        if (x != y) return x < y ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

int CompareText(const std::string& a, const std::string& b) {
    return StrIComp(a, b);
}

bool SameText(const std::string& a, const std::string& b) {
    return a.size() == b.size() && StrIComp(a, b) == 0;
}

std::string TrimLeft(const std::string& s) {
    size_t i = 0;
    while (i < s.size() && static_cast<unsigned char>(s[i]) <= ' ') ++i;
    return s.substr(i);
}

std::string TrimRight(const std::string& s) {
    size_t n = s.size();
    while (n > 0 && static_cast<unsigned char>(s[n - 1]) <= ' ') --n;
    return s.substr(0, n);
}

std::string Trim(const std::string& s) {
    return TrimLeft(TrimRight(s));
}

std::string QuotedStr(const std::string& s) {
    std::string r = "'";
    for (char ch : s) {
        r += ch;
        if (ch == '\'') r += '\'';
    }
    return r + "'";
}

std::string StringReplaceAll(const std::string& s, const std::string& from, const std::string& to) {
    if (from.empty()) return s;
    std::string r;
    size_t pos = 0;
    for (;;) {
        size_t hit = s.find(from, pos);
        if (hit == std::string::npos) break;
        r.append(s, pos, hit - pos);
        r += to;
        pos = hit + from.size();
    }
    r.append(s, pos, std::string::npos);
    return r;
}

namespace {
// Code page 1252 characters $80..$9F; 0 where the code page has none.
const uint16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
}  // namespace

std::wstring AnsiToWide(const std::string& s) {
    std::wstring r;
    r.reserve(s.size());
    for (char c : s) {
        unsigned char b = static_cast<unsigned char>(c);
        if (b >= 0x80 && b < 0xA0 && kCp1252High[b - 0x80]) r += static_cast<wchar_t>(kCp1252High[b - 0x80]);
        else r += static_cast<wchar_t>(b);
    }
    return r;
}

std::string WideToAnsi(const std::wstring& s) {
    std::string r;
    r.reserve(s.size());
    for (wchar_t w : s) {
        // Where wchar_t is 32 bits, values beyond UTF-16 must not alias a byte.
        uint32_t u = static_cast<uint32_t>(w);
        if (u > 0xFFFFu) {
            r += '?';
            continue;
        }
        if (u < 0x80 || (u >= 0xA0 && u < 0x100)) {
            r += static_cast<char>(u);
            continue;
        }
        char out = '?';
        for (int i = 0; i < 32; ++i)
            if (kCp1252High[i] == u && u != 0) out = static_cast<char>(0x80 + i);
        if (u >= 0x80 && u < 0xA0) {
            bool unused = kCp1252High[u - 0x80] == 0;
            if (unused) out = static_cast<char>(u);
        }
        r += out;
    }
    return r;
}

namespace {

[[noreturn]] void FormatError(const std::string& format) {
    throw EConvertError(Format(LoadStr(SInvalidFormat), {format}));
}

std::string Pad(std::string s, int width, bool left) {
    if (width > static_cast<int>(s.size())) {
        std::string fill(static_cast<size_t>(width) - s.size(), ' ');
        s = left ? s + fill : fill + s;
    }
    return s;
}

std::string GroupThousands(const std::string& digits) {
    // digits: optional '-', integer part, optional fraction
    size_t start = (!digits.empty() && digits[0] == '-') ? 1 : 0;
    size_t dot = digits.find('.');
    size_t intEnd = dot == std::string::npos ? digits.size() : dot;
    std::string intPart = digits.substr(start, intEnd - start);
    std::string grouped;
    int count = 0;
    for (size_t i = intPart.size(); i-- > 0;) {
        grouped.insert(grouped.begin(), intPart[i]);
        if (++count % 3 == 0 && i > 0) grouped.insert(grouped.begin(), ',');
    }
    return digits.substr(0, start) + grouped + digits.substr(intEnd);
}

std::string FormatFloat(char type, double v, int prec) {
    if (std::isnan(v)) return "NAN";
    if (std::isinf(v)) return v < 0 ? "-INF" : "INF";
    char buf[512];  // the longest fixed-point double (309 digits and 18 decimals) fits
    switch (type) {
    case 'f':
    case 'n':
    case 'm': {
        std::snprintf(buf, sizeof buf, "%.*f", prec < 0 ? 2 : (prec > 18 ? 18 : prec), v);
        std::string s = buf;
        if (type == 'n') return GroupThousands(s);
        if (type == 'm') return GroupThousands(s);
        return s;
    }
    case 'e': {
        int p = prec < 0 ? 15 : (prec > 18 ? 18 : prec);
        if (p < 1) p = 1;
        std::snprintf(buf, sizeof buf, "%.*E", p - 1, v);
        // The class library writes at least three exponent digits.
        std::string s = buf;
        size_t e = s.find('E');
        if (e != std::string::npos && e + 2 < s.size()) {
            std::string exp = s.substr(e + 2);
            while (exp.size() < 3) exp.insert(exp.begin(), '0');
            s = s.substr(0, e + 2) + exp;
        }
        return s;
    }
    default: {  // 'g'
        int p = prec < 0 ? 15 : (prec > 18 ? 18 : prec);
        if (p < 1) p = 1;
        std::snprintf(buf, sizeof buf, "%.*G", p, v);
        return buf;
    }
    }
}

}  // namespace

std::string Format(const std::string& format, std::initializer_list<TVarRec> args) {
    std::string out;
    const TVarRec* argv = args.begin();
    size_t argc = args.size();
    size_t next = 0;
    auto takeInt = [&]() -> int64_t {
        if (next >= argc) throw EConvertError(Format(LoadStr(SArgumentMissing), {format}));
        const TVarRec& a = argv[next++];
        if (const int64_t* i = std::get_if<int64_t>(&a.Value)) return *i;
        FormatError(format);
    };
    for (size_t i = 0; i < format.size(); ++i) {
        char ch = format[i];
        if (ch != '%') {
            out += ch;
            continue;
        }
        if (++i >= format.size()) FormatError(format);
        if (format[i] == '%') {
            out += '%';
            continue;
        }
        // [index:] [-] [width] [.prec] type
        auto readNumber = [&](int& value) -> bool {
            if (format[i] == '*') {
                value = static_cast<int>(takeInt());
                ++i;
                return true;
            }
            if (format[i] < '0' || format[i] > '9') return false;
            value = 0;
            while (i < format.size() && format[i] >= '0' && format[i] <= '9') {
                if (value > (INT32_MAX - 9) / 10) FormatError(format);
                value = value * 10 + (format[i++] - '0');
            }
            return true;
        };
        int number = -1;
        bool haveNumber = readNumber(number);
        if (i >= format.size()) FormatError(format);
        if (haveNumber && format[i] == ':') {
            next = static_cast<size_t>(number);
            ++i;
            haveNumber = false;
            number = -1;
        }
        bool left = false;
        if (!haveNumber && i < format.size() && format[i] == '-') {
            left = true;
            ++i;
        }
        int width = -1;
        if (haveNumber) width = number;
        else if (i < format.size()) readNumber(width);
        int prec = -1;
        if (i < format.size() && format[i] == '.') {
            ++i;
            if (i >= format.size() || !readNumber(prec)) prec = 0;
        }
        if (i >= format.size()) FormatError(format);
        char type = static_cast<char>(format[i] | 0x20);
        if (next >= argc) throw EConvertError(Format(LoadStr(SArgumentMissing), {format}));
        const TVarRec& arg = argv[next++];
        std::string field;
        switch (type) {
        case 'd':
        case 'u': {
            const int64_t* v = std::get_if<int64_t>(&arg.Value);
            if (!v) FormatError(format);
            int64_t value = *v;
            if (type == 'u' && value < 0 && value >= INT32_MIN) value = static_cast<uint32_t>(value);
            bool negative = value < 0;
            std::string digits = std::to_string(negative ? -static_cast<uint64_t>(value) : static_cast<uint64_t>(value));
            if (prec > static_cast<int>(digits.size())) digits.insert(0, static_cast<size_t>(prec) - digits.size(), '0');
            field = (negative ? "-" : "") + digits;
            break;
        }
        case 'x': {
            const int64_t* v = std::get_if<int64_t>(&arg.Value);
            if (!v) FormatError(format);
            field = IntToHex(*v, prec < 0 ? 0 : prec);
            break;
        }
        case 'p': {
            const int64_t* v = std::get_if<int64_t>(&arg.Value);
            if (!v) FormatError(format);
            field = IntToHex(*v, 8);
            break;
        }
        case 'e':
        case 'f':
        case 'g':
        case 'n':
        case 'm': {
            double value;
            if (const double* d = std::get_if<double>(&arg.Value)) value = *d;
            else if (const int64_t* n = std::get_if<int64_t>(&arg.Value)) value = static_cast<double>(*n);
            else FormatError(format);
            field = FormatFloat(type, value, prec);
            break;
        }
        case 's':
        case 'c': {
            if (const std::string* s = std::get_if<std::string>(&arg.Value)) field = *s;
            else if (const char* c = std::get_if<char>(&arg.Value)) field = std::string(1, *c);
            else FormatError(format);
            if (prec >= 0 && prec < static_cast<int>(field.size())) field.resize(static_cast<size_t>(prec));
            break;
        }
        default:
            FormatError(format);
        }
        out += Pad(field, width, left);
    }
    return out;
}
