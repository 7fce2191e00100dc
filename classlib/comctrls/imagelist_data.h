// The layout form of an image list's pictures (its "Bitmap" property):
//
//   int32 Width, int32 Height, int32 Count, int32 Flags (bit 0: masked)
//   when Count > 0: a BMP file of the images side by side (24 bits per
//   pixel, Width * Count by Height), and when masked a BMP file of their
//   masks (1 bit per pixel, white = transparent).
//
// Integers are little-endian. Free of the platform: pixels are plain values.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// A picture with 0x00RRGGBB pixels, rows top-down.
struct TStripPixels {
    int32_t Width = 0, Height = 0;
    std::vector<uint32_t> Pixels;
};

// A mask with one byte per pixel (1: transparent), rows top-down.
struct TStripMask {
    int32_t Width = 0, Height = 0;
    std::vector<uint8_t> Bits;
};

struct TImageListData {
    int32_t Width = 16, Height = 16, Count = 0;
    bool Masked = true;
    TStripPixels Image;  // Width * Count by Height when Count > 0
    TStripMask Mask;     // the same size when Masked and Count > 0
};

std::string EncodeBmp24(const TStripPixels& image);
std::string EncodeBmp1(const TStripMask& mask);
// Decode one BMP file starting at data[pos]; pos moves past it. Damaged or
// truncated files and other pixel formats raise EReadError.
TStripPixels DecodeBmp24(const std::string& data, size_t& pos);
TStripMask DecodeBmp1(const std::string& data, size_t& pos);

std::string EncodeImageListData(const TImageListData& list);
// Checks everything before returning; bad data raises EReadError.
TImageListData DecodeImageListData(const std::string& data);
