// The LZW coding of GIF image data: code size byte, data sub-blocks and
// terminator on one side, the pixels of a bottom-up DIB (1, 4 or 8 bits per
// pixel) on the other.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

enum class TGifProgressStage { Starting, Running, Ending };
// Progress of one frame's coding: stage, percent done, and at the end of a
// failed run the failure's message.
using TGifProgress = std::function<void(TGifProgressStage stage, uint8_t percent, const std::string& message)>;

// The rows of a bottom-up DIB: row 0 of the image is the last stored one.
struct TDibPixels {
    uint8_t* bits = nullptr;
    int32_t width = 0, height = 0;
    int bitCount = 8;  // 1, 4 or 8
    size_t stride = 0;

    static size_t StrideOf(int32_t width, int bitCount) {
        return ((static_cast<size_t>(width) * bitCount + 31) / 32) * 4;
    }
    uint8_t* Row(int32_t imageRow) const { return bits + stride * static_cast<size_t>(height - 1 - imageRow); }
};

// The row after `row` in the interlaced order 0, 8, ...; 4, 12, ...; 2, 6,
// ...; 1, 3, ...; a row at or beyond the height ends the image.
int32_t NextInterlaceRow(int32_t row, int32_t height, int& pass);

// Decodes encoded (code size byte, sub-blocks) into target, whose bits are
// zero-filled. Pixel values are masked to colorBits bits. Damaged data
// (bad code size, codes outside the table, too little data) either ends
// decoding with the result true (tolerant; the pixels decoded so far stay)
// or raises EInvalidGraphicOperation. Returns whether the data was damaged.
bool DecodeLZW(const uint8_t* encoded, size_t size, const TDibPixels& target, bool interlaced, int colorBits,
               bool tolerant, const TGifProgress& progress = nullptr);

// Appends the code size byte (2, 4 or 8 for 1, 4 or 8 bits per pixel), the
// sub-blocks and the terminator coding the pixels of source.
void EncodeLZW(std::vector<uint8_t>& out, const TDibPixels& source, bool interlaced,
               const TGifProgress& progress = nullptr);
