#include "unicode/text/utf7.h"

#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "unicode/text/uc_errors.h"

namespace {

const char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

struct TUtf7Tables {
    int8_t Base64Value[128];
    bool MustShiftSafe[128];
    bool MustShiftOptional[128];

    TUtf7Tables() {
        for (int i = 0; i < 128; ++i) {
            Base64Value[i] = -1;
            MustShiftSafe[i] = true;
        }
        for (int i = 0; i < 64; ++i) Base64Value[static_cast<uint8_t>(kBase64[i])] = static_cast<int8_t>(i);
        for (const char* p = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789'(),-./:?\t\r\n "; *p; ++p)
            MustShiftSafe[static_cast<uint8_t>(*p)] = false;
        for (int i = 0; i < 128; ++i) MustShiftOptional[i] = MustShiftSafe[i];
        for (const char* p = "!\"#$%&*;<=>@[]^_`{|}"; *p; ++p) MustShiftOptional[static_cast<uint8_t>(*p)] = false;
    }
};

const TUtf7Tables& Tables() {
    static const TUtf7Tables tables;
    return tables;
}

// Where the coders put what they make: into a buffer that may fill up, or
// only counted, so that a result can be made at its exact size first.
template <typename Unit>
class TBoundedOutput {
public:
    TBoundedOutput(Unit* position, Unit* end) : position_(position), end_(end) {}
    bool Put(unsigned value) {
        if (position_ >= end_) return false;
        *position_++ = static_cast<Unit>(value);
        return true;
    }
    Unit* Position() const { return position_; }

private:
    Unit* position_;
    Unit* end_;
};

class TCountingOutput {
public:
    bool Put(unsigned) {
        ++count_;
        return true;
    }
    void Skip(size_t count) { count_ += count; }
    size_t Count() const { return count_; }

private:
    size_t count_ = 0;
};

// The encoder. The bits of a base64 run gather at the low end of an
// accumulator (only its low `bits` count) and leave six at a time from the
// top of those; a run ends padded with zero bits to a whole base64 letter.
template <typename Output>
int Encode(const wchar_t*& source, const wchar_t* sourceEnd, Output& out, bool verbose, bool optional) {
    const TUtf7Tables& tables = Tables();
    const bool* mustShift = optional ? tables.MustShiftOptional : tables.MustShiftSafe;
    const wchar_t* s = source;
    bool inBase64 = false;
    uint32_t accumulator = 0;
    int bits = 0;
    auto stop = [&](int result) {
        source = s;
        return result;
    };
    for (;;) {
        const bool atEnd = s >= sourceEnd;
        const unsigned c = atEnd ? 0 : static_cast<unsigned>(*s) & 0xFFFF;
        const bool shift = !atEnd && (c > 127 || mustShift[c]);
        if (!inBase64) {
            if (!shift) {
                if (atEnd) break;
                if (!out.Put(c)) return stop(utf7TargetFull);
                ++s;
                continue;
            }
            if (!out.Put('+')) return stop(utf7TargetFull);
            if (c == '+') {
                if (!out.Put('-')) return stop(utf7TargetFull);
                ++s;
                continue;
            }
            inBase64 = true;
        }
        if (shift) {
            accumulator = (accumulator << 16) | c;
            bits += 16;
            if constexpr (std::is_same_v<Output, TCountingOutput>) {
                out.Skip(static_cast<size_t>(bits / 6));
                bits %= 6;
                ++s;
                continue;
            }
            while (bits >= 6) {
                bits -= 6;
                if (!out.Put(static_cast<uint8_t>(kBase64[(accumulator >> bits) & 63]))) return stop(utf7TargetFull);
            }
            ++s;
            continue;
        }
        // The run closes.
        if (bits > 0) {
            if (!out.Put(static_cast<uint8_t>(kBase64[(accumulator << (6 - bits)) & 63]))) return stop(utf7TargetFull);
            bits = 0;
        }
        inBase64 = false;
        if (verbose || (!atEnd && ((c < 128 && tables.Base64Value[c] >= 0) || c == '-')))
            if (!out.Put('-')) return stop(utf7TargetFull);
        if (atEnd) break;
        if (!out.Put(c)) return stop(utf7TargetFull);
        ++s;
    }
    return stop(utf7Done);
}

// The decoder; the bits of a base64 run gather as in the encoder and leave
// sixteen at a time.
template <typename Output>
int Decode(const char*& source, const char* sourceEnd, Output& out) {
    const TUtf7Tables& tables = Tables();
    const char* s = source;
    bool inBase64 = false, first = false, wroteOne = false, invalid = false;
    uint32_t accumulator = 0;
    int bits = 0;
    auto stop = [&](int result) {
        source = s;
        return result;
    };
    for (;;) {
        if (inBase64) {
            const bool atEnd = s >= sourceEnd;
            const unsigned b = atEnd ? 0 : static_cast<uint8_t>(*s);
            if (!atEnd && b < 128 && tables.Base64Value[b] >= 0) {
                accumulator = (accumulator << 6) | static_cast<unsigned>(tables.Base64Value[b]);
                bits += 6;
                first = false;
                ++s;
                if (bits >= 16) {
                    bits -= 16;
                    if (!out.Put((accumulator >> bits) & 0xFFFF)) return stop(utf7TargetFull);
                    wroteOne = true;
                }
                continue;
            }
            // The run ends; a closing "+" or "-" is taken with it.
            inBase64 = false;
            if (!atEnd && (b == '+' || b == '-')) ++s;
            if (first && b == '-' && !atEnd) {
                if (!out.Put('+')) return stop(utf7TargetFull);
            } else if (!wroteOne) {
                invalid = true;
            }
            if (bits > 0 && (accumulator & ((1u << bits) - 1)) != 0) invalid = true;
            bits = 0;
            continue;
        }
        if (s >= sourceEnd) break;
        const unsigned b = static_cast<uint8_t>(*s);
        if (b == '+') {
            inBase64 = true;
            first = true;
            wroteOne = false;
            ++s;
            continue;
        }
        if (!out.Put(b)) return stop(utf7TargetFull);
        if (b > 127) invalid = true;
        ++s;
    }
    return stop(invalid ? utf7Invalid : utf7Done);
}

}  // namespace

int EncodeUtf7Buffer(const wchar_t*& source, const wchar_t* sourceEnd, char*& target, char* targetEnd, bool verbose,
                     bool optional) {
    TBoundedOutput<char> out(target, targetEnd);
    int result = Encode(source, sourceEnd, out, verbose, optional);
    target = out.Position();
    return result;
}

int DecodeUtf7Buffer(const char*& source, const char* sourceEnd, wchar_t*& target, wchar_t* targetEnd) {
    TBoundedOutput<wchar_t> out(target, targetEnd);
    int result = Decode(source, sourceEnd, out);
    target = out.Position();
    return result;
}

// Both wrappers count first and then write straight into a result of the
// exact size.
std::string WideToUtf7(const std::wstring& text) {
    const wchar_t* source = text.data();
    TCountingOutput counted;
    Encode(source, text.data() + text.size(), counted, false, true);
    std::string result(counted.Count(), '\0');
    source = text.data();
    TBoundedOutput<char> out(result.data(), result.data() + result.size());
    if (Encode(source, text.data() + text.size(), out, false, true) != utf7Done)
        throw EUcInternalError("Buffer overflow");
    return result;
}

std::wstring Utf7ToWide(const std::string& text) {
    const char* source = text.data();
    TCountingOutput counted;
    if (Decode(source, text.data() + text.size(), counted) == utf7Invalid) throw EUcGeneralError("Invalid UTF7");
    std::wstring result(counted.Count(), L'\0');
    source = text.data();
    TBoundedOutput<wchar_t> out(result.data(), result.data() + result.size());
    if (Decode(source, text.data() + text.size(), out) != utf7Done) throw EUcInternalError("Buffer overflow");
    return result;
}
