// Checked access to the pixels of an image record.
#pragma once
#include <cstdint>

#include "pixwell/dib_layout.h"
#include "pixwell/pixwell.h"

// A validated look at a record: every row from 0 (bottom) to Height - 1
// lies inside Bits and Colors holds ColorCount entries.
struct TImageView {
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t BitCount = 0;
    int32_t BytesPerLine = 0;
    uint8_t* Bits = nullptr;
    const TRGBQuad* Colors = nullptr;
    uint32_t ColorCount = 0;

    uint8_t* Row(int32_t y) const { return Bits + static_cast<int64_t>(y) * BytesPerLine; }
    bool Contains(int32_t x, int32_t y) const { return x >= 0 && y >= 0 && x < Width && y < Height; }
};

// Colour-table entries a header declares: biClrUsed, or 2^bits for up to
// 8 bits when it is 0; never more than the depth can index.
uint32_t DeclaredColorCount(const TBitmapInfoHeader& header);

// False for records without an image or with an inconsistent header
// (bottom-up, uncompressed, supported depth and a row size that fits).
bool ViewImage(const TDIB& dib, TImageView& view);

// Raw value at (x, y): index, 16-bit word, or 0x00BBGGRR for 24/32 bits.
// (x, y) must lie inside the image.
uint32_t PixelValue(const TImageView& image, int32_t x, int32_t y);
void SetPixelValue(const TImageView& image, int32_t x, int32_t y, uint32_t value);

// The colour shown at (x, y); indices beyond the table are black.
TRGBQuad PixelColor(const TImageView& image, int32_t x, int32_t y);
