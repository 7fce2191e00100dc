#include "imaging/codecs/color_quantizers.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>
#include <vector>

namespace {

using TRgb = std::tuple<uint8_t, uint8_t, uint8_t>;

// A 24-bit buffer of the colours (top row first), stored bottom row first.
struct TImage24 {
    TImage24(int32_t w, int32_t h, const std::vector<TRgb>& colors) : width(w), height(h) {
        const size_t stride = AlignedRowBytes(size_t(w) * 24);
        bits.assign(stride * size_t(h), 0xEE);
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x) {
                uint8_t* p = &bits[stride * size_t(h - 1 - y) + 3 * size_t(x)];
                const TRgb& c = colors[size_t(y) * size_t(w) + size_t(x)];
                p[0] = std::get<2>(c);
                p[1] = std::get<1>(c);
                p[2] = std::get<0>(c);
            }
    }
    TPixels24 Pixels() { return {bits.data(), width, height}; }
    // The 8-bit index of pixel (x, y) after a reduction.
    uint8_t Index(int32_t x, int32_t y) const {
        return bits[AlignedRowBytes(size_t(width) * 8) * size_t(height - 1 - y) + size_t(x)];
    }
    int32_t width, height;
    std::vector<uint8_t> bits;
};

TRgb Entry(const uint8_t* palette, int i) {
    return {palette[4 * i + 2], palette[4 * i + 1], palette[4 * i]};
}

const TRgb kWhite{255, 255, 255}, kBlack{0, 0, 0}, kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255},
    kGrey{128, 128, 128};

}  // namespace

TEST(ColorReduction, TruncationTables) {
    EXPECT_EQ(NearestLevelIndex(kLevels6, 6, 25), 0);
    EXPECT_EQ(NearestLevelIndex(kLevels6, 6, 26), 1);
    EXPECT_EQ(NearestLevelIndex(kLevels4, 4, 127), 1) << "43 from 85, 43 from 170: the lower";
    EXPECT_EQ(TruncationTable(7)[128], 3);
    EXPECT_EQ(TruncationTable(8)[128], 4);
    EXPECT_EQ(TruncationTable(4)[128], 2);
}

TEST(ColorReduction, FixedPalettes) {
    TImage24 image(6, 1, {kWhite, kBlack, kRed, kGreen, kBlue, kGrey});
    uint8_t palette[1024];
    ReduceByTruncation666(image.Pixels(), palette);
    EXPECT_EQ(image.Index(0, 0), 215);
    EXPECT_EQ(image.Index(1, 0), 0);
    EXPECT_EQ(image.Index(2, 0), 180);
    EXPECT_EQ(image.Index(3, 0), 30);
    EXPECT_EQ(image.Index(4, 0), 5);
    EXPECT_EQ(image.Index(5, 0), 3 * 36 + 3 * 6 + 3) << "128 is nearer 153 than 102";
    for (int i = 216; i < 256; ++i)
        for (int b = 0; b < 4; ++b) ASSERT_EQ(palette[4 * i + b], 128);
    EXPECT_EQ(Entry(palette, 215), kWhite);

    TImage24 other(6, 1, {kWhite, kBlack, kRed, kGreen, kBlue, kGrey});
    ReduceByTruncation784(other.Pixels(), palette);
    EXPECT_EQ(other.Index(0, 0), 223);
    EXPECT_EQ(other.Index(1, 0), 0);
    EXPECT_EQ(other.Index(2, 0), 192);
    EXPECT_EQ(other.Index(3, 0), 28);
    EXPECT_EQ(other.Index(4, 0), 3);
    EXPECT_EQ(other.Index(5, 0), 114);
    EXPECT_EQ(Entry(palette, 114), TRgb(128, 146, 170));
    EXPECT_EQ(palette[4 * 224], 128);
}

TEST(ColorReduction, GreyAndChannelCycle) {
    TImage24 grey(3, 1, {kWhite, {10, 200, 30}, kBlue});
    uint8_t palette[1024];
    ReduceToGrayscale(grey.Pixels(), palette);
    EXPECT_EQ(grey.Index(0, 0), 255);
    EXPECT_EQ(grey.Index(1, 0), (10 * 77 + 200 * 150 + 30 * 29) / 256);
    EXPECT_EQ(grey.Index(2, 0), 29 * 255 / 256);
    EXPECT_EQ(Entry(palette, 77), TRgb(77, 77, 77));

    // Stored row 0 is the bottom row: (x + y) mod 3 picks the channel.
    TImage24 cycle(3, 2, {{200, 100, 40}, {200, 100, 40}, {200, 100, 40}, {200, 100, 40}, {200, 100, 40}, {200, 100, 40}});
    ReduceByChannelCycle(cycle.Pixels(), palette);
    EXPECT_EQ(cycle.Index(0, 1), 50);        // stored row 0, x 0: red
    EXPECT_EQ(cycle.Index(1, 1), 25 + 64);   // green
    EXPECT_EQ(cycle.Index(2, 1), 10 + 128);  // blue
    EXPECT_EQ(cycle.Index(0, 0), 25 + 64);   // stored row 1, x 0: green
    EXPECT_EQ(Entry(palette, 64 + 25), TRgb(0, 100, 0));
    EXPECT_EQ(Entry(palette, 200), kBlack);
}

TEST(ColorReduction, HistogramKeepsFewColoursMostFrequentFirst) {
    std::vector<TRgb> colors;
    for (int i = 0; i < 9; ++i) colors.push_back(kRed);
    for (int i = 0; i < 5; ++i) colors.push_back(kBlue);
    colors.push_back(kGreen);
    colors.push_back({1, 2, 3});
    TImage24 image(4, 4, colors);
    uint8_t palette[1024];
    ReduceByHistogram(image.Pixels(), palette, 256);
    EXPECT_EQ(Entry(palette, 0), kRed);
    EXPECT_EQ(Entry(palette, 1), kBlue);
    EXPECT_EQ(Entry(palette, 2), kGreen) << "ties: the earlier colour";
    EXPECT_EQ(Entry(palette, 3), TRgb(1, 2, 3));
    EXPECT_EQ(Entry(palette, 4), kGrey);
    EXPECT_EQ(image.Index(0, 0), 0);
    EXPECT_EQ(image.Index(1, 2), 1);
    EXPECT_EQ(image.Index(3, 3), 3);

    // Fewer wanted than present: the others go to the nearest one kept.
    TImage24 two(4, 4, colors);
    ReduceByHistogram(two.Pixels(), palette, 2);
    EXPECT_EQ(two.Index(3, 3), 1) << "(1, 2, 3) is nearer blue than red";
}

TEST(ColorReduction, HistogramDropsLowBitsBlueRedGreen) {
    // 9 reds by 256 blues: too many; blue's lowest bit goes first, which is enough.
    std::vector<TRgb> colors;
    for (int r = 0; r < 9; ++r)
        for (int b = 0; b < 256; ++b) colors.push_back({uint8_t(r), 0, uint8_t(b)});
    TImage24 image(256, 9, colors);
    uint8_t palette[1024];
    ReduceByHistogram(image.Pixels(), palette, 256);
    bool oddRed = false;
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(std::get<2>(Entry(palette, i)) & 1, 0) << i;
        oddRed |= (std::get<0>(Entry(palette, i)) & 1) != 0;
    }
    EXPECT_TRUE(oddRed) << "red keeps its bits";

    // With blue at 7 bits still too many, red loses a bit next, then green.
    colors.clear();
    for (int r = 0; r < 32; ++r)
        for (int b = 0; b < 256; ++b) colors.push_back({uint8_t(r), 0, uint8_t(b)});
    TImage24 more(256, 32, colors);
    ReduceByHistogram(more.Pixels(), palette, 256);
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(std::get<0>(Entry(palette, i)) & 1, 0) << i;
        EXPECT_EQ(std::get<2>(Entry(palette, i)) & 1, 0) << i;
    }
}

TEST(ColorReduction, MedianCut) {
    uint8_t palette[1024];
    TImage24 one(3, 2, std::vector<TRgb>(6, TRgb(200, 100, 50)));
    EXPECT_EQ(ReduceByMedianCut(one.Pixels(), palette, 256), 1);
    // One cell (12, 6, 3): (12 * 16 + 15) / 1 = 207 and so on.
    EXPECT_EQ(Entry(palette, 0), TRgb(207, 111, 63));
    EXPECT_EQ(one.Index(2, 1), 0);

    TImage24 dark(2, 1, std::vector<TRgb>(2, TRgb(10, 5, 0)));
    EXPECT_EQ(ReduceByMedianCut(dark.Pixels(), palette, 256), 1);
    EXPECT_EQ(Entry(palette, 0), kBlack) << "all channels at most 16";

    std::vector<TRgb> colors;
    for (int i = 0; i < 64; ++i) colors.push_back({uint8_t(i * 4), uint8_t(255 - i * 4), uint8_t(i * 2)});
    TImage24 ramp(8, 8, colors);
    const int made = ReduceByMedianCut(ramp.Pixels(), palette, 4);
    EXPECT_EQ(made, 4);
    // The first and last pixels are far apart: they land in different boxes.
    EXPECT_NE(ramp.Index(0, 0), ramp.Index(7, 7));
    std::set<uint8_t> used;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) used.insert(ramp.Index(x, y));
    EXPECT_EQ(used.size(), 4u);
}
