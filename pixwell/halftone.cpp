#include "pixwell/halftone.h"

#include "pixwell/dib_memory.h"

namespace {

constexpr uint8_t kBayer8[8][8] = {
    {0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26},
    {12, 44, 4, 36, 14, 46, 6, 38}, {60, 28, 52, 20, 62, 30, 54, 22},
    {3, 35, 11, 43, 1, 33, 9, 41},  {51, 19, 59, 27, 49, 17, 57, 25},
    {15, 47, 7, 39, 13, 45, 5, 37}, {63, 31, 55, 23, 61, 29, 53, 21},
};

// Cube level 0..5 of an 8-bit channel value: the lower neighbour level, or
// the upper one where the fraction beyond it exceeds the dither threshold.
uint32_t DitherLevel(uint32_t value, uint32_t threshold) {
    const uint32_t scaled = value * 5;
    const uint32_t level = scaled / 255;
    const uint32_t fraction = scaled % 255;
    // fraction / 255 > (threshold + 0.5) / 64
    return fraction * 128 > (2 * threshold + 1) * 255 ? level + 1 : level;
}

// Average colour of source columns [x0, x1) and rows [y0, y1).
TRGBQuad BoxAverage(const TImageView& source, int32_t x0, int32_t x1, int32_t y0, int32_t y1) {
    uint64_t red = 0, green = 0, blue = 0;
    for (int32_t y = y0; y < y1; ++y)
        for (int32_t x = x0; x < x1; ++x) {
            const TRGBQuad c = PixelColor(source, x, y);
            red += c.Red;
            green += c.Green;
            blue += c.Blue;
        }
    const uint64_t count = uint64_t(x1 - x0) * uint64_t(y1 - y0);
    return TRGBQuad{static_cast<uint8_t>((blue + count / 2) / count), static_cast<uint8_t>((green + count / 2) / count),
                    static_cast<uint8_t>((red + count / 2) / count), 0};
}

// Source span [first, last) that target cell `i` of `target` cells covers.
void Span(int32_t i, int32_t target, int32_t source, int32_t& first, int32_t& last) {
    first = static_cast<int32_t>(int64_t(i) * source / target);
    last = static_cast<int32_t>(int64_t(i + 1) * source / target);
    if (last <= first) last = first + 1;
}

}  // namespace

TRGBQuad HalftoneColor(uint32_t index) {
    return TRGBQuad{static_cast<uint8_t>(index % 6 * 51), static_cast<uint8_t>(index / 6 % 6 * 51),
                    static_cast<uint8_t>(index / 36 * 51), 0};
}

bool HalftoneImage(const TImageView& source, int32_t width, int32_t height, TDIB& target) {
    TRGBQuad cube[kHalftoneColorCount];
    for (uint32_t i = 0; i < kHalftoneColorCount; ++i) cube[i] = HalftoneColor(i);
    if (!CreateImage(target, width, height, 8, cube, kHalftoneColorCount)) return false;

    target.LogPalette.Version = 0x300;
    target.LogPalette.Count = kHalftoneColorCount;
    for (uint32_t i = 0; i < kHalftoneColorCount; ++i) {
        target.LogPalette.Entries[i][0] = cube[i].Red;
        target.LogPalette.Entries[i][1] = cube[i].Green;
        target.LogPalette.Entries[i][2] = cube[i].Blue;
    }

    auto* bits = static_cast<uint8_t*>(target.Bits);
    for (int32_t y = 0; y < height; ++y) {
        int32_t y0, y1;
        Span(y, height, source.Height, y0, y1);
        uint8_t* row = bits + int64_t(y) * target.BytesPerLine;
        for (int32_t x = 0; x < width; ++x) {
            int32_t x0, x1;
            Span(x, width, source.Width, x0, x1);
            const TRGBQuad c = BoxAverage(source, x0, x1, y0, y1);
            const uint32_t threshold = kBayer8[y & 7][x & 7];
            row[x] = static_cast<uint8_t>(DitherLevel(c.Red, threshold) * 36 + DitherLevel(c.Green, threshold) * 6 +
                                          DitherLevel(c.Blue, threshold));
        }
    }
    return true;
}
