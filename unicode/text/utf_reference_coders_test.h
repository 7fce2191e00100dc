// The UTF-8 and UTF-7 coders written plainly, one step at a time, as the
// yardstick the layer's coders are compared with (tests and fuzz targets).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "unicode/text/uc_errors.h"
#include "unicode/text/utf7.h"

namespace utf_reference {

inline int EncodedLength(unsigned c) {
    return c < 0x80 ? 1 : c < 0x800 ? 2 : 3;
}

inline bool IsContinuation(uint8_t b) {
    return (b & 0xC0) == 0x80;
}

// Decodes one character at source[i]; gives the number of code units it
// makes (1 or 2, written to units) or 0 when malformed, and moves i past it.
inline int DecodeOne(const uint8_t* source, int count, int& i, unsigned units[2]) {
    uint8_t lead = source[i];
    if (lead < 0x80) {
        units[0] = lead;
        ++i;
        return 1;
    }
    // A continuation byte or a lead beyond F4 cannot start a character.
    if (lead < 0xC0 || lead > 0xF4) return 0;
    int trail = lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
    if (count - i - 1 < trail) return 0;
    unsigned value = lead & (0x3F >> trail);
    for (int k = 1; k <= trail; ++k) {
        uint8_t b = source[i + k];
        if (!IsContinuation(b)) return 0;
        value = (value << 6) | (b & 0x3F);
    }
    i += trail + 1;
    if (value < 0x10000) {
        units[0] = value;
        return 1;
    }
    if (value > 0x10FFFF) return 0;
    value -= 0x10000;
    units[0] = 0xD800 | (value >> 10);
    units[1] = 0xDC00 | (value & 0x3FF);
    return 2;
}


inline int EncodeUtf8Buffer(char* dest, int destSize, const wchar_t* source, int sourceCount) {
    if (!source) return 0;
    if (!dest) {
        int needed = 0;
        for (int i = 0; i < sourceCount; ++i) needed += EncodedLength(static_cast<unsigned>(source[i]) & 0xFFFF);
        return needed + 1;
    }
    if (destSize < 1) return 0;
    // Room is kept for the terminator, so the last character is whole.
    int limit = destSize - 1;
    int count = 0;
    auto* out = reinterpret_cast<uint8_t*>(dest);
    for (int i = 0; i < sourceCount; ++i) {
        unsigned c = static_cast<unsigned>(source[i]) & 0xFFFF;
        int length = EncodedLength(c);
        if (count + length > limit) break;
        if (length == 1) {
            out[count++] = static_cast<uint8_t>(c);
        } else if (length == 2) {
            out[count++] = static_cast<uint8_t>(0xC0 | (c >> 6));
            out[count++] = static_cast<uint8_t>(0x80 | (c & 0x3F));
        } else {
            out[count++] = static_cast<uint8_t>(0xE0 | (c >> 12));
            out[count++] = static_cast<uint8_t>(0x80 | ((c >> 6) & 0x3F));
            out[count++] = static_cast<uint8_t>(0x80 | (c & 0x3F));
        }
    }
    out[count] = 0;
    return count + 1;
}

inline int DecodeUtf8Buffer(wchar_t* dest, int destSize, const char* source, int sourceCount) {
    if (!source) return 0;
    const auto* in = reinterpret_cast<const uint8_t*>(source);
    int written = 0;
    int limit = dest ? destSize - 1 : 0;
    if (dest && limit < 0) return 0;
    int i = 0;
    while (i < sourceCount) {
        if (dest && written >= limit) break;
        unsigned units[2];
        int n = DecodeOne(in, sourceCount, i, units);
        if (n == 0) return -1;
        if (dest) {
            if (written + n > limit) break;
            for (int k = 0; k < n; ++k) dest[written + k] = static_cast<wchar_t>(units[k]);
        }
        written += n;
    }
    if (dest) dest[written] = 0;
    return written + 1;
}

inline std::string WideToUtf8(const std::wstring& text) {
    if (text.empty()) return std::string();
    int size = static_cast<int>(text.size()) * 3 + 1;
    std::vector<char> buffer(static_cast<size_t>(size));
    int result = EncodeUtf8Buffer(buffer.data(), size, text.data(), static_cast<int>(text.size()));
    if (result < 1) return std::string();
    return std::string(buffer.data(), static_cast<size_t>(result - 1));
}

inline std::wstring Utf8ToWide(const std::string& text) {
    if (text.empty()) return std::wstring();
    int size = static_cast<int>(text.size()) + 1;
    std::vector<wchar_t> buffer(static_cast<size_t>(size));
    int result = DecodeUtf8Buffer(buffer.data(), size, text.data(), static_cast<int>(text.size()));
    if (result < 1) return std::wstring();
    return std::wstring(buffer.data(), static_cast<size_t>(result - 1));
}

inline const char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

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

inline const TUtf7Tables& Tables() {
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

inline bool IsBase64Char(unsigned c) {
    return c < 128 && Tables().Base64Value[c] >= 0;
}


inline int EncodeUtf7Buffer(const wchar_t*& source, const wchar_t* sourceEnd, char*& target, char* targetEnd,
                            bool verbose, bool optional) {
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

inline int DecodeUtf7Buffer(const char*& source, const char* sourceEnd, wchar_t*& target, wchar_t* targetEnd) {
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

inline std::string WideToUtf7(const std::wstring& text) {
    if (text.empty()) return std::string();
    std::vector<char> buffer(text.size() * 7);
    const wchar_t* source = text.data();
    char* target = buffer.data();
    if (EncodeUtf7Buffer(source, text.data() + text.size(), target, buffer.data() + buffer.size(), false, true) !=
        utf7Done)
        throw EUcInternalError("Buffer overflow");
    return std::string(buffer.data(), target);
}

inline std::wstring Utf7ToWide(const std::string& text) {
    if (text.empty()) return std::wstring();
    std::vector<wchar_t> buffer(text.size());
    const char* source = text.data();
    wchar_t* target = buffer.data();
    int result = DecodeUtf7Buffer(source, text.data() + text.size(), target, buffer.data() + buffer.size());
    if (result == utf7Invalid) throw EUcGeneralError("Invalid UTF7");
    if (result == utf7TargetFull) throw EUcInternalError("Buffer overflow");
    return std::wstring(buffer.data(), target);
}

// The outcome of a UTF-7 decoding: the text, or the error class and text.
inline std::wstring Utf7Outcome(std::wstring (*decode)(const std::string&), const std::string& bytes) {
    try {
        return L"ok:" + decode(bytes);
    } catch (const EUcGeneralError& e) {
        return L"general:" + std::wstring(e.Message().begin(), e.Message().end());
    } catch (const EUcInternalError& e) {
        return L"internal:" + std::wstring(e.Message().begin(), e.Message().end());
    }
}

}  // namespace utf_reference
