#include "unicode/text/utf7.h"

#include <cstdint>
#include <vector>

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

// Bits are appended below those held and taken from the top.
class TBitBuffer {
public:
    void Append(uint32_t value, int n) {
        if (n == 0) return;
        bits_ |= (value & ((1u << n) - 1)) << (32 - count_ - n);
        count_ += n;
    }
    uint32_t Take(int n) {
        uint32_t value = bits_ >> (32 - n);
        bits_ = n == 32 ? 0 : bits_ << n;
        count_ -= n;
        return value;
    }
    int Count() const { return count_; }
    bool RestIsZero() const { return bits_ == 0; }
    void Clear() {
        bits_ = 0;
        count_ = 0;
    }

private:
    uint32_t bits_ = 0;
    int count_ = 0;
};

bool IsBase64Char(unsigned c) {
    return c < 128 && Tables().Base64Value[c] >= 0;
}

}  // namespace

int EncodeUtf7Buffer(const wchar_t*& source, const wchar_t* sourceEnd, char*& target, char* targetEnd, bool verbose,
                     bool optional) {
    const bool* mustShift = optional ? Tables().MustShiftOptional : Tables().MustShiftSafe;
    const wchar_t* s = source;
    char* t = target;
    bool inBase64 = false;
    TBitBuffer buffer;
    auto put = [&](unsigned byte) {
        if (t >= targetEnd) return false;
        *t++ = static_cast<char>(byte);
        return true;
    };
    auto stop = [&](int result) {
        source = s;
        target = t;
        return result;
    };
    for (;;) {
        bool atEnd = s >= sourceEnd;
        unsigned c = atEnd ? 0 : static_cast<unsigned>(*s) & 0xFFFF;
        bool shift = !atEnd && (c > 127 || mustShift[c]);
        if (!inBase64 && shift) {
            if (!put('+')) return stop(utf7TargetFull);
            if (c == '+') {
                if (!put('-')) return stop(utf7TargetFull);
                ++s;
                continue;
            }
            inBase64 = true;
        }
        if (inBase64) {
            if (shift) buffer.Append(c, 16);
            else buffer.Append(0, (6 - buffer.Count() % 6) % 6);
            while (buffer.Count() >= 6) {
                if (t >= targetEnd) return stop(utf7TargetFull);
                *t++ = kBase64[buffer.Take(6)];
            }
            if (!shift) {
                if (verbose || (!atEnd && (IsBase64Char(c) || c == '-')))
                    if (!put('-')) return stop(utf7TargetFull);
                inBase64 = false;
            }
        }
        if (atEnd) break;
        if (!shift && !put(c)) return stop(utf7TargetFull);
        ++s;
    }
    return stop(utf7Done);
}

int DecodeUtf7Buffer(const char*& source, const char* sourceEnd, wchar_t*& target, wchar_t* targetEnd) {
    const TUtf7Tables& tables = Tables();
    const char* s = source;
    wchar_t* t = target;
    bool inBase64 = false, first = false, wroteOne = false, invalid = false;
    TBitBuffer buffer;
    auto stop = [&](int result) {
        source = s;
        target = t;
        return result;
    };
    for (;;) {
        if (inBase64) {
            bool atEnd = s >= sourceEnd;
            unsigned b = atEnd ? 0 : static_cast<uint8_t>(*s);
            bool runEnds = atEnd || b > 127 || tables.Base64Value[b] < 0;
            if (runEnds) {
                inBase64 = false;
                if (!atEnd && (b == '+' || b == '-')) ++s;
                if (first && b == '-' && !atEnd) {
                    if (t >= targetEnd) return stop(utf7TargetFull);
                    *t++ = L'+';
                } else if (!wroteOne) {
                    invalid = true;
                }
            } else {
                buffer.Append(static_cast<uint32_t>(tables.Base64Value[b]), 6);
                first = false;
                ++s;
            }
            while (buffer.Count() >= 16) {
                if (t >= targetEnd) return stop(utf7TargetFull);
                *t++ = static_cast<wchar_t>(buffer.Take(16));
                wroteOne = true;
            }
            if (runEnds) {
                if (!buffer.RestIsZero()) invalid = true;
                buffer.Clear();
            }
            continue;
        }
        if (s >= sourceEnd) break;
        unsigned b = static_cast<uint8_t>(*s);
        if (b == '+') {
            inBase64 = true;
            first = true;
            wroteOne = false;
            ++s;
            continue;
        }
        if (t >= targetEnd) return stop(utf7TargetFull);
        *t++ = static_cast<wchar_t>(b);
        if (b > 127) invalid = true;
        ++s;
    }
    return stop(invalid ? utf7Invalid : utf7Done);
}

std::string WideToUtf7(const std::wstring& text) {
    if (text.empty()) return std::string();
    std::vector<char> buffer(text.size() * 7);
    const wchar_t* source = text.data();
    char* target = buffer.data();
    if (EncodeUtf7Buffer(source, text.data() + text.size(), target, buffer.data() + buffer.size(), false, true) !=
        utf7Done)
        throw EUcInternalError("Buffer overflow");
    return std::string(buffer.data(), target);
}

std::wstring Utf7ToWide(const std::string& text) {
    if (text.empty()) return std::wstring();
    std::vector<wchar_t> buffer(text.size());
    const char* source = text.data();
    wchar_t* target = buffer.data();
    int result = DecodeUtf7Buffer(source, text.data() + text.size(), target, buffer.data() + buffer.size());
    if (result == utf7Invalid) throw EUcGeneralError("Invalid UTF7");
    if (result == utf7TargetFull) throw EUcInternalError("Buffer overflow");
    return std::wstring(buffer.data(), target);
}
