#include "imaging/codecs/gif_samples.h"

#include <algorithm>

#include "classlib/core/byte_fields.h"

std::vector<uint8_t> SampleColorTable(int bits) {
    std::vector<uint8_t> table;
    for (int i = 0; i < (1 << bits); ++i) {
        table.push_back(static_cast<uint8_t>(i));
        table.push_back(static_cast<uint8_t>(255 - i));
        table.push_back(static_cast<uint8_t>(7 * i));
    }
    return table;
}

std::vector<uint8_t> PackDibRows(const std::vector<uint8_t>& indexes, int32_t width, int32_t height, int bitCount) {
    const size_t stride = TDibPixels::StrideOf(width, bitCount);
    std::vector<uint8_t> bits(stride * static_cast<size_t>(height), 0);
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* row = &bits[stride * static_cast<size_t>(height - 1 - y)];
        for (int32_t x = 0; x < width; ++x) {
            const uint8_t v = indexes[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
            if (bitCount == 8) row[x] = v;
            else if (bitCount == 4) row[x / 2] |= static_cast<uint8_t>((x & 1) ? (v & 15) : (v & 15) << 4);
            else row[x / 8] |= static_cast<uint8_t>((v & 1) << (7 - (x & 7)));
        }
    }
    return bits;
}

std::vector<uint8_t> EncodeIndexes(const std::vector<uint8_t>& indexes, int32_t width, int32_t height, int bitCount,
                                   bool interlaced) {
    std::vector<uint8_t> bits = PackDibRows(indexes, width, height, bitCount);
    TDibPixels pixels;
    pixels.bits = bits.data();
    pixels.width = width;
    pixels.height = height;
    pixels.bitCount = bitCount;
    pixels.stride = TDibPixels::StrideOf(width, bitCount);
    std::vector<uint8_t> out;
    EncodeLZW(out, pixels, interlaced);
    return out;
}

TGifBuilder::TGifBuilder(uint16_t screenWidth, uint16_t screenHeight, int globalBits, const char* version) {
    bytes_ = {'G', 'I', 'F'};
    for (int i = 0; i < 3; ++i) bytes_.push_back(static_cast<uint8_t>(version[i]));
    AppendLittleEndian<uint16_t>(bytes_, screenWidth);
    AppendLittleEndian<uint16_t>(bytes_, screenHeight);
    bytes_.push_back(globalBits > 0 ? static_cast<uint8_t>(0x80 | (globalBits - 1) << 4 | (globalBits - 1)) : 0);
    bytes_.push_back(0);  // background index
    bytes_.push_back(0);  // pixel aspect
    if (globalBits > 0) Raw(SampleColorTable(globalBits));
}

TGifBuilder& TGifBuilder::Loop(uint16_t count) {
    Raw({0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1});
    AppendLittleEndian<uint16_t>(bytes_, count);
    bytes_.push_back(0);
    return *this;
}

TGifBuilder& TGifBuilder::Comment(const std::string& text) {
    Raw({0x21, 0xFE});
    for (size_t at = 0; at < text.size(); at += 255) {
        const size_t n = std::min<size_t>(255, text.size() - at);
        bytes_.push_back(static_cast<uint8_t>(n));
        bytes_.insert(bytes_.end(), text.begin() + static_cast<ptrdiff_t>(at), text.begin() + static_cast<ptrdiff_t>(at + n));
    }
    bytes_.push_back(0);
    return *this;
}

TGifBuilder& TGifBuilder::GraphicControl(uint8_t packed, uint16_t delay, uint8_t transparentIndex) {
    Raw({0x21, 0xF9, 4, packed});
    AppendLittleEndian<uint16_t>(bytes_, delay);
    Raw({transparentIndex, 0});
    return *this;
}

TGifBuilder& TGifBuilder::Image(uint16_t left, uint16_t top, uint16_t width, uint16_t height,
                                const std::vector<uint8_t>& indexes, int bitCount, bool interlaced, int localBits) {
    bytes_.push_back(0x2C);
    AppendLittleEndian<uint16_t>(bytes_, left);
    AppendLittleEndian<uint16_t>(bytes_, top);
    AppendLittleEndian<uint16_t>(bytes_, width);
    AppendLittleEndian<uint16_t>(bytes_, height);
    uint8_t packed = interlaced ? 0x40 : 0;
    if (localBits > 0) packed |= static_cast<uint8_t>(0x80 | (localBits - 1));
    bytes_.push_back(packed);
    if (localBits > 0) Raw(SampleColorTable(localBits));
    Raw(EncodeIndexes(indexes, width, height, bitCount, interlaced));
    return *this;
}

TGifBuilder& TGifBuilder::Raw(const std::vector<uint8_t>& bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return *this;
}

std::vector<uint8_t> TGifBuilder::Finish() const {
    std::vector<uint8_t> out = bytes_;
    out.push_back(0x3B);
    return out;
}

std::vector<uint8_t> SampleIndexes(int32_t width, int32_t height, int bitCount, uint32_t seed) {
    std::vector<uint8_t> indexes(static_cast<size_t>(width) * static_cast<size_t>(height));
    const uint32_t mask = (1u << bitCount) - 1;
    uint32_t state = seed * 2654435761u + 1;
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            state = state * 1103515245u + 12345u;
            const uint32_t band = static_cast<uint32_t>((x + 2 * y) / 8);
            const uint32_t noise = (state >> 16) % 4 == 0 ? (state >> 20) & 3 : 0;
            indexes[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] =
                static_cast<uint8_t>((band + noise + seed) & mask);
        }
    return indexes;
}
