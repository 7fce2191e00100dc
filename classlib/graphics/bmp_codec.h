// BMP files and packed DIBs (resources, clipboard) in memory: reading every
// common variant into one uncompressed bottom-up form, and writing it back
// compactly. Free of the platform; TBitmap turns the result into a DIB.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

class TStream;

constexpr uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3;

struct TDibImage {
    int32_t width = 0, height = 0;   // both > 0
    uint16_t bitCount = 0;           // 1, 4, 8, 16, 24 or 32
    uint32_t compression = kBiRgb;   // kBiRgb or kBiBitfields (16 and 32 bits only)
    uint32_t masks[3] = {0, 0, 0};   // red, green, blue with kBiBitfields
    int32_t xPelsPerMeter = 0, yPelsPerMeter = 0;
    std::vector<uint32_t> colors;    // colour table as RGBQUADs (0x00RRGGBB), at most 2^bitCount
    std::vector<uint8_t> bits;       // bottom-up rows of Stride() bytes

    size_t Stride() const { return StrideOf(width, bitCount); }
    static size_t StrideOf(int32_t width, int bitCount) {
        return ((static_cast<size_t>(width) * bitCount + 31) / 32) * 4;
    }
};

// Reads a BMP file (from "BM" on) and leaves the stream just behind the
// pixel data. Raises EInvalidGraphic for truncated, corrupt or unsupported
// data; the stream position is then unspecified.
TDibImage ReadBmpFile(TStream& stream);
// Reads a packed DIB: info header, colour table and pixels in one block.
TDibImage ReadPackedDib(const uint8_t* data, size_t size);
// Writes a BMP file: file header, 40-byte info header, masks or the colour
// table as far as used, bottom-up pixel rows.
void WriteBmpFile(TStream& stream, const TDibImage& image);

// The largest pixel block we accept; bigger claims are treated as corrupt.
constexpr uint64_t kMaxDibBytes = 256u * 1024 * 1024;
