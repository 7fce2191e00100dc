#include "classlib/core/floattext.h"

#include <charconv>
#include <cmath>

namespace {

template <class F>
std::string Shortest(F value) {
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, result.ptr);
    if (text.find_first_of(".e") == std::string::npos) text += ".0";
    return text;
}

template <class F>
bool Parse(const std::string& text, F& value) {
    // from_chars takes no '+' sign and no leading '.'; layout text has neither.
    const char* first = text.data();
    const char* last = first + text.size();
    auto result = std::from_chars(first, last, value);
    return result.ec == std::errc() && result.ptr == last && std::isfinite(value);
}

}  // namespace

std::string DoubleToLayoutText(double value) {
    return Shortest(value);
}

std::string SingleToLayoutText(float value) {
    return Shortest(value);
}

std::string CurrencyToLayoutText(int64_t scaled) {
    uint64_t magnitude = scaled < 0 ? 0 - static_cast<uint64_t>(scaled) : static_cast<uint64_t>(scaled);
    std::string fraction = std::to_string(magnitude % 10000);
    fraction.insert(0, 4 - fraction.size(), '0');
    while (fraction.size() > 1 && fraction.back() == '0') fraction.pop_back();
    std::string whole = std::to_string(magnitude / 10000);
    return (scaled < 0 ? "-" : "") + whole + "." + fraction;
}

bool LayoutTextToDouble(const std::string& text, double& value) {
    return Parse(text, value);
}

bool LayoutTextToSingle(const std::string& text, float& value) {
    return Parse(text, value);
}

bool LayoutTextToCurrency(const std::string& text, int64_t& scaled) {
    if (text.find_first_of("eE") != std::string::npos) {
        // Rare: goes through double, like the class library's own parsing.
        double d;
        if (!Parse(text, d)) return false;
        d = std::round(d * 10000.0);
        if (!(d >= -9223372036854775808.0 && d < 9223372036854775808.0)) return false;
        scaled = static_cast<int64_t>(d);
        return true;
    }
    // Exact: integer digits, then up to four decimals (a fifth rounds).
    size_t i = 0;
    bool negative = i < text.size() && text[i] == '-';
    if (negative) ++i;
    uint64_t magnitude = 0;
    int fractionDigits = 0, digits = 0;
    bool point = false, roundUp = false;
    for (; i < text.size(); ++i) {
        char ch = text[i];
        if (ch == '.' && !point) {
            point = true;
            continue;
        }
        if (ch < '0' || ch > '9') return false;
        ++digits;
        if (point && fractionDigits >= 4) {
            if (fractionDigits++ == 4) roundUp = ch >= '5';
            continue;
        }
        if (point) ++fractionDigits;
        if (magnitude > (UINT64_MAX - 9) / 10) return false;
        magnitude = magnitude * 10 + static_cast<uint64_t>(ch - '0');
    }
    if (digits == 0) return false;
    for (; fractionDigits < 4; ++fractionDigits) {
        if (magnitude > UINT64_MAX / 10) return false;
        magnitude *= 10;
    }
    if (roundUp) ++magnitude;
    const uint64_t limit = negative ? uint64_t(1) << 63 : (uint64_t(1) << 63) - 1;
    if (magnitude > limit) return false;
    scaled = negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
    return true;
}
