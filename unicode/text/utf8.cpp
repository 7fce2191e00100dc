#include "unicode/text/utf8.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

unsigned CodeUnit(wchar_t c) {
    return static_cast<unsigned>(c) & 0xFFFF;
}

int EncodedLength(unsigned c) {
    return c < 0x80 ? 1 : c < 0x800 ? 2 : 3;
}

// The exact number of bytes the code units make.
size_t EncodedSize(const wchar_t* source, size_t count) {
    size_t size = count;
    for (size_t i = 0; i < count; ++i) {
        unsigned c = CodeUnit(source[i]);
        size += (c >= 0x80) + (c >= 0x800);
    }
    return size;
}

bool EightAscii(const wchar_t* source) {
    unsigned any = 0;
    for (int k = 0; k < 8; ++k) any |= static_cast<unsigned>(source[k]);
    return (any & 0xFF80) == 0;
}

// Encodes all of source .. end into out, which has room for it; gives the
// end of the bytes written.
uint8_t* EncodeUnits(uint8_t* out, const wchar_t* source, const wchar_t* end) {
    while (source < end) {
        if (end - source >= 8 && EightAscii(source)) {
            for (int k = 0; k < 8; ++k) out[k] = static_cast<uint8_t>(source[k]);
            out += 8;
            source += 8;
            continue;
        }
        unsigned c = CodeUnit(*source++);
        if (c < 0x80) {
            *out++ = static_cast<uint8_t>(c);
        } else if (c < 0x800) {
            out[0] = static_cast<uint8_t>(0xC0 | (c >> 6));
            out[1] = static_cast<uint8_t>(0x80 | (c & 0x3F));
            out += 2;
        } else {
            out[0] = static_cast<uint8_t>(0xE0 | (c >> 12));
            out[1] = static_cast<uint8_t>(0x80 | ((c >> 6) & 0x3F));
            out[2] = static_cast<uint8_t>(0x80 | (c & 0x3F));
            out += 3;
        }
    }
    return out;
}

bool IsContinuation(uint8_t b) {
    return (b & 0xC0) == 0x80;
}

// Decodes one character at source[i]; gives the number of code units it
// makes (1 or 2, written to units) or 0 when malformed, and moves i past it.
int DecodeOne(const uint8_t* source, size_t count, size_t& i, unsigned units[2]) {
    uint8_t lead = source[i];
    if (lead < 0x80) {
        units[0] = lead;
        ++i;
        return 1;
    }
    // A continuation byte or a lead beyond F4 cannot start a character.
    if (lead < 0xC0 || lead > 0xF4) return 0;
    size_t trail = lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
    if (count - i - 1 < trail) return 0;
    unsigned value = lead & (0x3F >> trail);
    for (size_t k = 1; k <= trail; ++k) {
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

// At least as many code units as well-formed bytes decode to: one per byte
// that is no continuation byte, two for a four-byte lead.
size_t DecodedSizeBound(const uint8_t* source, size_t count) {
    size_t bound = 0;
    for (size_t i = 0; i < count; ++i) bound += !IsContinuation(source[i]) + (source[i] >= 0xF0);
    return bound;
}

// Decodes all of source into dest, which has room for DecodedSizeBound
// code units (written only for well-formed characters, so never beyond);
// gives the code units written or -1 when malformed.
ptrdiff_t DecodeAll(wchar_t* dest, const uint8_t* source, size_t count) {
    wchar_t* out = dest;
    size_t i = 0;
    while (i < count) {
        if (count - i >= 8) {
            uint64_t eight;
            std::memcpy(&eight, source + i, 8);
            if ((eight & 0x8080808080808080u) == 0) {
                for (int k = 0; k < 8; ++k) out[k] = static_cast<wchar_t>(source[i + k]);
                out += 8;
                i += 8;
                continue;
            }
        }
        if (source[i] < 0x80) {
            *out++ = static_cast<wchar_t>(source[i++]);
            continue;
        }
        unsigned units[2];
        int n = DecodeOne(source, count, i, units);
        if (n == 0) return -1;
        out[0] = static_cast<wchar_t>(units[0]);
        if (n == 2) out[1] = static_cast<wchar_t>(units[1]);
        out += n;
    }
    return out - dest;
}

}  // namespace

int EncodeUtf8Buffer(char* dest, int destSize, const wchar_t* source, int sourceCount) {
    if (!source) return 0;
    if (!dest) return static_cast<int>(EncodedSize(source, sourceCount > 0 ? static_cast<size_t>(sourceCount) : 0)) + 1;
    if (destSize < 1) return 0;
    // Room is kept for the terminator, so the last character is whole.
    int limit = destSize - 1;
    int count = 0;
    auto* out = reinterpret_cast<uint8_t*>(dest);
    int i = 0;
    while (i < sourceCount) {
        // As many code units as surely fit go at once, then one at a time.
        int sure = (limit - count) / 3;
        if (sure > sourceCount - i) sure = sourceCount - i;
        if (sure > 0) {
            count = static_cast<int>(EncodeUnits(out + count, source + i, source + i + sure) - out);
            i += sure;
            continue;
        }
        unsigned c = CodeUnit(source[i]);
        if (count + EncodedLength(c) > limit) break;
        count = static_cast<int>(EncodeUnits(out + count, source + i, source + i + 1) - out);
        ++i;
    }
    out[count] = 0;
    return count + 1;
}

int DecodeUtf8Buffer(wchar_t* dest, int destSize, const char* source, int sourceCount) {
    if (!source) return 0;
    const auto* in = reinterpret_cast<const uint8_t*>(source);
    const size_t count = sourceCount > 0 ? static_cast<size_t>(sourceCount) : 0;
    int written = 0;
    int limit = dest ? destSize - 1 : 0;
    if (dest && limit < 0) return 0;
    size_t i = 0;
    while (i < count) {
        if (dest && written >= limit) break;
        unsigned units[2];
        int n = DecodeOne(in, count, i, units);
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

std::string WideToUtf8(const std::wstring& text) {
    // Counted first and written straight into the result.
    std::string result(EncodedSize(text.data(), text.size()), '\0');
    EncodeUnits(reinterpret_cast<uint8_t*>(result.data()), text.data(), text.data() + text.size());
    return result;
}

std::wstring Utf8ToWide(const std::string& text) {
    const auto* in = reinterpret_cast<const uint8_t*>(text.data());
    std::wstring result(DecodedSizeBound(in, text.size()), L'\0');
    ptrdiff_t written = DecodeAll(result.data(), in, text.size());
    if (written < 0) return std::wstring();
    result.resize(static_cast<size_t>(written));
    return result;
}
