// The arithmetic of reducing 24-bit pixels to 8 bits per pixel with a
// palette, by six methods. Rows are stored bottom row first, each padded to
// 4 bytes; the 8-bit rows are written over the start of the 24-bit buffer
// (an output row never overtakes its input). Palettes are 256 entries of
// blue, green, red and a fourth byte.
#pragma once
#include <cstddef>
#include <cstdint>

enum TReductionMethod : uint8_t { rmHistogram, rmQuantize, rmTruncate784, rmTruncate666, rmChannelCycle, rmGrayscale };

// The method used when none is named.
extern TReductionMethod DefaultReductionMethod;

inline size_t AlignedRowBytes(size_t bits) {
    return ((bits + 31) / 32) * 4;
}

// Level lists and the truncation tables (entry v: the index of the nearest
// level, the lower one on a tie).
extern const uint8_t kLevels4[4], kLevels6[6], kLevels7[7], kLevels8[8];
int NearestLevelIndex(const uint8_t* levels, int count, int value);
const uint8_t* TruncationTable(int levels);  // 4, 6, 7 or 8

struct TPixels24 {
    uint8_t* bits;
    int32_t width, height;
};

// The most frequent colours (masked to fit 2049 distinct ones, dropping low
// bits of blue, red, green in turn), the rest mapped to the nearest.
void ReduceByHistogram(const TPixels24& pixels, uint8_t palette[1024], int wanted);
// Median cut over 12-bit colour cells; returns the number of colours made.
// Needs at least one pixel.
int ReduceByMedianCut(const TPixels24& pixels, uint8_t palette[1024], int wanted);
// Fixed palettes: 7 red by 8 green by 4 blue levels (224 colours), and 6 by
// 6 by 6 (216 colours).
void ReduceByTruncation784(const TPixels24& pixels, uint8_t palette[1024]);
void ReduceByTruncation666(const TPixels24& pixels, uint8_t palette[1024]);
// One channel per pixel at 6 bits, cycling red, green, blue along the rows.
void ReduceByChannelCycle(const TPixels24& pixels, uint8_t palette[1024]);
// Grey (77 R + 150 G + 29 B) / 256 with a grey ramp palette.
void ReduceToGrayscale(const TPixels24& pixels, uint8_t palette[1024]);
