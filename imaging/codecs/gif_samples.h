// GIF pictures made from pixels, for the tests, the fuzz seeds and the
// benchmark: a small builder that writes the blocks in the order asked.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "imaging/codecs/gif_lzw.h"

// A colour table of 2^bits distinct colours: entry i is (i, 255 - i, 7 i).
std::vector<uint8_t> SampleColorTable(int bits);

// Pixels (one index per byte, top row first) packed into a bottom-up DIB
// of the bit count.
std::vector<uint8_t> PackDibRows(const std::vector<uint8_t>& indexes, int32_t width, int32_t height, int bitCount);
// The LZW data (code size byte, sub-blocks, terminator) of the pixels.
std::vector<uint8_t> EncodeIndexes(const std::vector<uint8_t>& indexes, int32_t width, int32_t height, int bitCount,
                                   bool interlaced);

class TGifBuilder {
public:
    // globalBits 0: no global colour table.
    TGifBuilder(uint16_t screenWidth, uint16_t screenHeight, int globalBits, const char* version = "89a");
    TGifBuilder& Loop(uint16_t count);
    TGifBuilder& Comment(const std::string& text);
    TGifBuilder& GraphicControl(uint8_t packed, uint16_t delay, uint8_t transparentIndex);
    // An image descriptor, an optional local table (localBits > 0) and the
    // LZW data of the pixels at the bit count (1, 4 or 8).
    TGifBuilder& Image(uint16_t left, uint16_t top, uint16_t width, uint16_t height,
                       const std::vector<uint8_t>& indexes, int bitCount, bool interlaced = false, int localBits = 0);
    TGifBuilder& Raw(const std::vector<uint8_t>& bytes);
    // The bytes with the trailer.
    std::vector<uint8_t> Finish() const;
    // The bytes so far (no trailer).
    const std::vector<uint8_t>& Bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
};

// A picture of smooth colour bands with some noise, as indexes.
std::vector<uint8_t> SampleIndexes(int32_t width, int32_t height, int bitCount, uint32_t seed);
