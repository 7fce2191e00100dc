// The platform's bitmap structures as the library stores them, without
// <windows.h>, plus the size arithmetic every reader and writer shares.
#pragma once
#include <cstdint>

struct TBitmapInfoHeader {
    uint32_t biSize;
    int32_t biWidth;
    int32_t biHeight;
    uint16_t biPlanes;
    uint16_t biBitCount;
    uint32_t biCompression;
    uint32_t biSizeImage;
    int32_t biXPelsPerMeter;
    int32_t biYPelsPerMeter;
    uint32_t biClrUsed;
    uint32_t biClrImportant;
};
static_assert(sizeof(TBitmapInfoHeader) == 40);

struct TRGBQuad {
    uint8_t Blue, Green, Red, Reserved;
};
static_assert(sizeof(TRGBQuad) == 4);

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitfields = 3;

// Largest image the library makes: width and height up to 65535 and at most
// 256 MiB of pixels; larger requests are refused rather than attempted.
constexpr int64_t kMaxDimension = 65535;
constexpr int64_t kMaxPixelBytes = int64_t(256) << 20;

// Bytes of one row padded to 4 bytes; 0 when the width is out of range.
inline int64_t RowBytes(int64_t width, int64_t bitCount) {
    if (width <= 0 || width > kMaxDimension || bitCount <= 0 || bitCount > 32) return 0;
    return (width * bitCount + 31) / 32 * 4;
}

inline bool IsSupportedBitCount(int64_t bitCount) {
    return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 ||
           bitCount == 32;
}
