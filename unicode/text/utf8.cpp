#include "unicode/text/utf8.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "unicode/text/one_pass_result.h"

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
        unsigned c = CodeUnit(*source);
        // Eight at once where an ASCII unit may start a run of them.
        if (c < 0x80 && end - source >= 8 && EightAscii(source)) {
            for (int k = 0; k < 8; ++k) out[k] = static_cast<uint8_t>(source[k]);
            out += 8;
            source += 8;
            continue;
        }
        ++source;
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

// Decodes a piece at a time (see one_pass_result.h); stops at the first
// malformed character.
class TUtf8Decoder {
public:
    static constexpr size_t kMaxStep = 8;
    TUtf8Decoder(const uint8_t* source, size_t count) : source_(source), count_(count) {}
    bool Done() const { return i_ == count_ || malformed_; }
    bool Malformed() const { return malformed_; }

    wchar_t* Fill(wchar_t* out, wchar_t* limit) {
        const uint8_t* in = source_;
        size_t i = i_;
        while (i < count_ && out < limit) {
            const unsigned lead = in[i];
            if (lead < 0x80) {
                // Eight at once where an ASCII byte may start a run of them.
                if (count_ - i >= 8) {
                    uint64_t eight;
                    std::memcpy(&eight, in + i, 8);
                    if ((eight & 0x8080808080808080u) == 0) {
                        for (int k = 0; k < 8; ++k) out[k] = static_cast<wchar_t>(in[i + k]);
                        out += 8;
                        i += 8;
                        continue;
                    }
                }
                *out++ = static_cast<wchar_t>(lead);
                ++i;
                continue;
            }
            // The two- and three-byte forms of the Basic Multilingual Plane
            // straight away; anything else one character at a time.
            if (lead >= 0xC0 && lead < 0xE0 && count_ - i >= 2 && IsContinuation(in[i + 1])) {
                *out++ = static_cast<wchar_t>(((lead & 0x1F) << 6) | (in[i + 1] & 0x3F));
                i += 2;
                continue;
            }
            if (lead >= 0xE0 && lead < 0xF0 && count_ - i >= 3 && IsContinuation(in[i + 1]) &&
                IsContinuation(in[i + 2])) {
                *out++ = static_cast<wchar_t>(((lead & 0x0F) << 12) | ((in[i + 1] & 0x3F) << 6) | (in[i + 2] & 0x3F));
                i += 3;
                continue;
            }
            unsigned units[2];
            int n = DecodeOne(in, count_, i, units);
            if (n == 0) {
                malformed_ = true;
                break;
            }
            out[0] = static_cast<wchar_t>(units[0]);
            if (n == 2) out[1] = static_cast<wchar_t>(units[1]);
            out += n;
        }
        i_ = i;
        return out;
    }

private:
    const uint8_t* source_;
    size_t count_;
    size_t i_ = 0;
    bool malformed_ = false;
};

// Encodes a piece at a time (see one_pass_result.h).
class TUtf8Encoder {
public:
    static constexpr size_t kMaxStep = 3;
    TUtf8Encoder(const wchar_t* source, const wchar_t* end) : source_(source), end_(end) {}
    bool Done() const { return source_ == end_; }

    char* Fill(char* out, char* limit) {
        auto* o = reinterpret_cast<uint8_t*>(out);
        const auto* stop = reinterpret_cast<const uint8_t*>(limit);
        while (source_ < end_ && o < stop) {
            // As many units as surely fit (three bytes each), at least one.
            size_t units = static_cast<size_t>(stop - o) / 3;
            if (units == 0) units = 1;
            if (units > static_cast<size_t>(end_ - source_)) units = static_cast<size_t>(end_ - source_);
            o = EncodeUnits(o, source_, source_ + units);
            source_ += units;
        }
        return reinterpret_cast<char*>(o);
    }

private:
    const wchar_t* source_;
    const wchar_t* end_;
};

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

// Each byte makes at most one code unit, a code unit at most three bytes.
std::string WideToUtf8(const std::wstring& text) {
    TUtf8Encoder encoder(text.data(), text.data() + text.size());
    return one_pass::Collect<char>(encoder, one_pass::SaturatedProduct(text.size(), 3));
}

std::wstring Utf8ToWide(const std::string& text) {
    TUtf8Decoder decoder(reinterpret_cast<const uint8_t*>(text.data()), text.size());
    std::wstring result = one_pass::Collect<wchar_t>(decoder, text.size());
    if (decoder.Malformed()) return std::wstring();
    return result;
}
