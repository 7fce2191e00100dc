#include "unicode/text/utf8.h"

#include <cstdint>
#include <vector>

namespace {

int EncodedLength(unsigned c) {
    return c < 0x80 ? 1 : c < 0x800 ? 2 : 3;
}

bool IsContinuation(uint8_t b) {
    return (b & 0xC0) == 0x80;
}

// Decodes one character at source[i]; gives the number of code units it
// makes (1 or 2, written to units) or 0 when malformed, and moves i past it.
int DecodeOne(const uint8_t* source, int count, int& i, unsigned units[2]) {
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

}  // namespace

int EncodeUtf8Buffer(char* dest, int destSize, const wchar_t* source, int sourceCount) {
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

int DecodeUtf8Buffer(wchar_t* dest, int destSize, const char* source, int sourceCount) {
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

std::string WideToUtf8(const std::wstring& text) {
    if (text.empty()) return std::string();
    int size = static_cast<int>(text.size()) * 3 + 1;
    std::vector<char> buffer(static_cast<size_t>(size));
    int result = EncodeUtf8Buffer(buffer.data(), size, text.data(), static_cast<int>(text.size()));
    if (result < 1) return std::string();
    return std::string(buffer.data(), static_cast<size_t>(result - 1));
}

std::wstring Utf8ToWide(const std::string& text) {
    if (text.empty()) return std::wstring();
    int size = static_cast<int>(text.size()) + 1;
    std::vector<wchar_t> buffer(static_cast<size_t>(size));
    int result = DecodeUtf8Buffer(buffer.data(), size, text.data(), static_cast<int>(text.size()));
    if (result < 1) return std::wstring();
    return std::wstring(buffer.data(), static_cast<size_t>(result - 1));
}
