#include "imaging/codecs/color_quantizers.h"

#include <gtest/gtest.h>

#include <cstring>
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

TEST(ColorReduction, TruncationTablesTakeTheLowerLevelOnATie) {
    EXPECT_EQ(NearestLevelIndex(kLevels6, 6, 25), 0);
    EXPECT_EQ(NearestLevelIndex(kLevels6, 6, 26), 1);
    EXPECT_EQ(NearestLevelIndex(kLevels4, 4, 127), 1) << "42 from 85, 43 from 170";
    EXPECT_EQ(NearestLevelIndex(kLevels4, 4, 128), 2) << "43 from 85, 42 from 170";
    // Ties: 64 lies 21 from 43 and from 85; 149 21 from 128 and 170; 18 lies
    // 18 from 0 and 36; 91 18 from 73 and 109.
    EXPECT_EQ(NearestLevelIndex(kLevels7, 7, 64), 1);
    EXPECT_EQ(NearestLevelIndex(kLevels7, 7, 149), 3);
    EXPECT_EQ(NearestLevelIndex(kLevels8, 8, 18), 0);
    EXPECT_EQ(NearestLevelIndex(kLevels8, 8, 91), 2);
    EXPECT_EQ(TruncationTable(7)[64], 1);
    EXPECT_EQ(TruncationTable(8)[91], 2);
    EXPECT_EQ(TruncationTable(7)[128], 3);
    EXPECT_EQ(TruncationTable(8)[128], 4);
    EXPECT_EQ(TruncationTable(4)[128], 2);

    // Through the 7-8-4 palette: red 64 at level 1, green 91 at level 2.
    TImage24 image(1, 1, {{64, 91, 0}});
    uint8_t palette[1024];
    ReduceByTruncation784(image.Pixels(), palette);
    EXPECT_EQ(image.Index(0, 0), 1 * 32 + 2 * 4 + 0);
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

TEST(ColorReduction, HistogramCountsTheStoredRowsBottomFirstSoTheBottomColourWinsATie) {
    // Red above blue, one pixel each: blue is met first.
    TImage24 image(1, 2, {kRed, kBlue});
    uint8_t palette[1024];
    ReduceByHistogram(image.Pixels(), palette, 256);
    EXPECT_EQ(Entry(palette, 0), kBlue);
    EXPECT_EQ(Entry(palette, 1), kRed);
    EXPECT_EQ(image.Index(0, 0), 1);
    EXPECT_EQ(image.Index(0, 1), 0);
}

TEST(ColorReduction, HistogramMapsAColourHalfWayBetweenTwoKeptOnesToTheLowerIndex) {
    // Two colours kept: (100, 0, 0) three times, (0, 100, 0) twice.
    // (50, 50, 0) lies 50² + 50² = 5000 from each.
    const TRgb first{100, 0, 0}, second{0, 100, 0}, between{50, 50, 0};
    TImage24 image(6, 1, {first, first, first, second, second, between});
    uint8_t palette[1024];
    ReduceByHistogram(image.Pixels(), palette, 2);
    EXPECT_EQ(Entry(palette, 0), first);
    EXPECT_EQ(Entry(palette, 1), second);
    EXPECT_EQ(Entry(palette, 2), kGrey);
    EXPECT_EQ(image.Index(3, 0), 1);
    EXPECT_EQ(image.Index(5, 0), 0);

    // However far the nearest kept colour: white lies 225² + 255² + 255² =
    // 180675 from (30, 0, 0), 195075 from black.
    const TRgb dark{30, 0, 0};
    TImage24 far(6, 1, {kBlack, kBlack, kBlack, dark, dark, kWhite});
    ReduceByHistogram(far.Pixels(), palette, 2);
    EXPECT_EQ(Entry(palette, 1), dark);
    EXPECT_EQ(far.Index(5, 0), 1);
}

TEST(ColorReduction, HistogramDropsLowBitsBlueRedGreen) {
    // Every pixel its own colour: the masks of the palette entries show
    // which low bits were dropped.
    struct TBits {
        bool oddRed = false, oddGreen = false, oddBlue = false, blueBit1 = false;
    };
    auto reduce = [](int reds, int greens, int blues) {
        std::vector<TRgb> colors;
        for (int r = 0; r < reds; ++r)
            for (int g = 0; g < greens; ++g)
                for (int b = 0; b < blues; ++b) colors.push_back({uint8_t(r), uint8_t(g), uint8_t(b)});
        TImage24 image(blues, reds * greens, colors);
        uint8_t palette[1024];
        ReduceByHistogram(image.Pixels(), palette, 256);
        TBits bits;
        for (int i = 0; i < 256; ++i) {
            const auto [r, g, b] = Entry(palette, i);
            bits.oddRed |= (r & 1) != 0;
            bits.oddGreen |= (g & 1) != 0;
            bits.oddBlue |= (b & 1) != 0;
            bits.blueBit1 |= (b & 2) != 0;
        }
        return bits;
    };
    // 9 greens by 256 blues: too many; blue's lowest bit goes first, which
    // is enough.
    TBits bits = reduce(1, 9, 256);
    EXPECT_FALSE(bits.oddBlue);
    EXPECT_TRUE(bits.oddGreen) << "green keeps its bits";
    // 32 reds by 256 blues: blue at 7 bits is still too many; red next.
    bits = reduce(32, 1, 256);
    EXPECT_FALSE(bits.oddBlue);
    EXPECT_FALSE(bits.oddRed);
    // 18 reds by 16 greens by 32 blues: blue, red, then green (2304 colours
    // after two steps, 1152 after the third).
    bits = reduce(18, 16, 32);
    EXPECT_FALSE(bits.oddBlue);
    EXPECT_FALSE(bits.oddRed);
    EXPECT_FALSE(bits.oddGreen);
    EXPECT_TRUE(bits.blueBit1) << "blue lost only one bit";
}

namespace {

// The colour of a 12-bit cell: 16 times each 4-bit value.
TRgb Cell(int r, int g, int b) {
    return {uint8_t(16 * r), uint8_t(16 * g), uint8_t(16 * b)};
}

// One row of pixels: each colour as often as asked, in this order.
TImage24 Row(const std::vector<std::pair<TRgb, int>>& runs) {
    std::vector<TRgb> colors;
    for (const auto& [color, count] : runs) colors.insert(colors.end(), size_t(count), color);
    return TImage24(int32_t(colors.size()), 1, colors);
}

}  // namespace

TEST(ColorReduction, MedianCutOfOneColour) {
    uint8_t palette[1024];
    std::memset(palette, 0xAB, sizeof palette);
    TImage24 one(3, 2, std::vector<TRgb>(6, TRgb(200, 100, 50)));
    EXPECT_EQ(ReduceByMedianCut(one.Pixels(), palette, 256), 1);
    // One cell (12, 6, 3): (12 * 16 + 15) / 1 = 207 and so on.
    EXPECT_EQ(Entry(palette, 0), TRgb(207, 111, 63));
    EXPECT_EQ(one.Index(2, 1), 0);
    EXPECT_EQ(Entry(palette, 1), kBlack) << "the entries not made are zero";
}

TEST(ColorReduction, MedianCutGivesEveryPixelTheBoxOfItsOwnColour) {
    // Red above blue. Box 0 holds cells (0, 0, 15) and (15, 0, 0); split by
    // red, blue comes first and stays in box 0, red goes to box 1.
    TImage24 image(1, 2, {kRed, kBlue});
    uint8_t palette[1024];
    EXPECT_EQ(ReduceByMedianCut(image.Pixels(), palette, 2), 2);
    EXPECT_EQ(Entry(palette, 0), TRgb(15, 15, 255));
    EXPECT_EQ(Entry(palette, 1), TRgb(255, 15, 15));
    EXPECT_EQ(image.Index(0, 0), 1);
    EXPECT_EQ(image.Index(0, 1), 0);
}

TEST(ColorReduction, MedianCutKeepsAtMostHalfThePixelsInTheFirstPart) {
    // Cells red 0, 1, 2 (green and blue 8), split by red. Counts 1, 1, 2:
    // half of 4 is 2, and 1 + 1 = 2 may stay together.
    uint8_t palette[1024];
    TImage24 even = Row({{Cell(0, 8, 8), 1}, {Cell(1, 8, 8), 1}, {Cell(2, 8, 8), 2}});
    EXPECT_EQ(ReduceByMedianCut(even.Pixels(), palette, 2), 2);
    EXPECT_EQ(even.Index(1, 0), 0);
    EXPECT_EQ(even.Index(2, 0), 1);
    EXPECT_EQ(Entry(palette, 0), TRgb((1 * 16 + 15) / 2, (16 * 16 + 15) / 2, (16 * 16 + 15) / 2));  // 15, 135, 135
    EXPECT_EQ(Entry(palette, 1), TRgb(47, 143, 143));

    // Counts 2, 1, 2: half of 5 is 2 (rounded down), so 2 + 1 does not fit.
    TImage24 odd = Row({{Cell(0, 8, 8), 2}, {Cell(1, 8, 8), 1}, {Cell(2, 8, 8), 2}});
    EXPECT_EQ(ReduceByMedianCut(odd.Pixels(), palette, 2), 2);
    EXPECT_EQ(odd.Index(1, 0), 0);
    EXPECT_EQ(odd.Index(2, 0), 1);
    EXPECT_EQ(Entry(palette, 0), TRgb(15, 143, 143));
    EXPECT_EQ(Entry(palette, 1), TRgb((3 * 16 + 15) / 2, 135, 135));  // 31
}

TEST(ColorReduction, MedianCutSortsEqualCellsAsItsSortsLeaveThem) {
    // Two cells of the same red, split by red: the insertion sort moves the
    // second in front of the first, so (15, 14, 14) forms box 0.
    uint8_t palette[1024];
    TImage24 two = Row({{Cell(15, 1, 0), 1}, {Cell(15, 14, 14), 1}});
    EXPECT_EQ(ReduceByMedianCut(two.Pixels(), palette, 2), 2);
    EXPECT_EQ(two.Index(0, 0), 1);
    EXPECT_EQ(two.Index(1, 0), 0);
    EXPECT_EQ(Entry(palette, 0), TRgb(255, 239, 239));
    EXPECT_EQ(Entry(palette, 1), TRgb(255, 31, 15));

    // Eight cells of red 8, c0..c7 in cell order (green 0 or 4, blue 0, 4,
    // 8, 12), c7 four times, the others once. The partition swaps
    // c0<->c7, c1<->c6, c2<->c5, c3<->c4 and stops at 4; each half of four is
    // then turned round by the insertion sort: c4 c5 c6 c7 c0 c1 c2 c3. Half
    // of 11 is 5: c4, c5, c6 (3 pixels) fit, c7 (4 more) does not.
    std::vector<std::pair<TRgb, int>> runs;
    for (int g : {0, 4})
        for (int b : {0, 4, 8, 12}) runs.push_back({Cell(8, g, b), g == 4 && b == 12 ? 4 : 1});
    TImage24 eight = Row(runs);
    EXPECT_EQ(ReduceByMedianCut(eight.Pixels(), palette, 2), 2);
    const std::vector<uint8_t> boxes{1, 1, 1, 1, 0, 0, 0, 1};
    for (size_t c = 0; c < 7; ++c) EXPECT_EQ(eight.Index(int32_t(c), 0), boxes[c]) << "c" << c;
    EXPECT_EQ(eight.Index(10, 0), 1) << "c7";
    // Box 0: red 3 * 8, green 3 * 4, blue 0 + 4 + 8, over 3 cells.
    EXPECT_EQ(Entry(palette, 0), TRgb((24 * 16 + 15) / 3, (12 * 16 + 15) / 3, (12 * 16 + 15) / 3));  // 133, 69, 69
    // Box 1: red 5 * 8, green 4, blue 0 + 4 + 8 + 12 + 12, over 5 cells.
    EXPECT_EQ(Entry(palette, 1), TRgb((40 * 16 + 15) / 5, (4 * 16 + 15) / 5, (36 * 16 + 15) / 5));  // 131, 15, 118

    // c0..c3 of red 7, c4..c7 of red 8 (green 0 or 4, blue 0 or 4), c3
    // three times. The pivot is c4's 8 (index 4): swaps c4<->c7, c5<->c6,
    // stop at 6; the first six turn to c3 c2 c1 c0 c6 c7, the last two to
    // c4 c5. Half of 10 is 5: c3, c2, c1 (5 pixels) stay in box 0.
    runs.clear();
    for (int r : {7, 8})
        for (int g : {0, 4})
            for (int b : {0, 4}) runs.push_back({Cell(r, g, b), r == 7 && g == 4 && b == 4 ? 3 : 1});
    TImage24 halves = Row(runs);
    EXPECT_EQ(ReduceByMedianCut(halves.Pixels(), palette, 2), 2);
    const std::vector<uint8_t> halvesBoxes{1, 0, 0, 0, 0, 0, 1, 1, 1, 1};  // by pixel, c3 at 3 to 5
    for (size_t x = 0; x < halvesBoxes.size(); ++x) EXPECT_EQ(halves.Index(int32_t(x), 0), halvesBoxes[x]) << x;
    EXPECT_EQ(Entry(palette, 0), TRgb((21 * 16 + 15) / 3, (8 * 16 + 15) / 3, (8 * 16 + 15) / 3));  // 117, 47, 47
    EXPECT_EQ(Entry(palette, 1), TRgb((39 * 16 + 15) / 5, (8 * 16 + 15) / 5, (8 * 16 + 15) / 5));  // 127, 28, 28
}

TEST(ColorReduction, MedianCutTakesTheFirstOfEqualLargestExtents) {
    // All extents 255: red, the first axis, is cut; (1, 8, 15) has the
    // lower red and stays in box 0.
    uint8_t palette[1024];
    TImage24 image = Row({{Cell(1, 8, 15), 1}, {Cell(15, 8, 1), 1}});
    EXPECT_EQ(ReduceByMedianCut(image.Pixels(), palette, 2), 2);
    EXPECT_EQ(image.Index(0, 0), 0);
    EXPECT_EQ(image.Index(1, 0), 1);
    EXPECT_EQ(Entry(palette, 0), TRgb(31, 143, 255));
}

TEST(ColorReduction, MedianCutCutsTheLargestExtentWithinTheNarrowedBounds) {
    // Cells X (0, 8, 8) 16 times, E (4, 15, 0) 8 times, F (4, 0, 15) 4
    // times, A (4, 0, 0), B (6, 1, 1), C (10, 0, 1), D (12, 1, 0) once.
    // 1. Box 0 by red (all 255): X (16 of 32) stays. Box 1 gets the rest:
    //    red from 64 (16 * 4) with extent 255 - 64 = 191; box 0's red extent 0.
    // 2. Box 1 by green (255 > 191): 8 of 16 pixels go first, all but E;
    //    E forms box 2. Box 1's green extent: 16 (green 1) - 0.
    // 3. Box 1 by blue (255): A, D, B, C (4 of 8) stay, F forms box 3. Box 1's
    //    blue extent 16.
    // 4. Box 1 by red (191 above 16 and 16): A, B stay (2 of 4) with red
    //    extent 96 - 64 = 32; C, D form box 4, red from 160 with extent
    //    64 + 191 - 160 = 95.
    // 5. Box 4 by red (95 above box 1's 32): C stays, D forms box 5.
    uint8_t palette[1024];
    TImage24 image = Row({{Cell(0, 8, 8), 16},
                          {Cell(4, 15, 0), 8},
                          {Cell(4, 0, 15), 4},
                          {Cell(4, 0, 0), 1},
                          {Cell(6, 1, 1), 1},
                          {Cell(10, 0, 1), 1},
                          {Cell(12, 1, 0), 1}});
    EXPECT_EQ(ReduceByMedianCut(image.Pixels(), palette, 6), 6);
    const std::pair<int32_t, uint8_t> pixels[] = {{0, 0}, {16, 2}, {24, 3}, {28, 1}, {29, 1}, {30, 4}, {31, 5}};
    for (const auto& [x, box] : pixels) EXPECT_EQ(image.Index(x, 0), box) << "pixel " << x;
    EXPECT_EQ(Entry(palette, 0), TRgb(15, 143, 143));
    EXPECT_EQ(Entry(palette, 1), TRgb((10 * 16 + 15) / 2, (1 * 16 + 15) / 2, (1 * 16 + 15) / 2));  // 87, 15, 15
    EXPECT_EQ(Entry(palette, 2), TRgb(79, 255, 15));
    EXPECT_EQ(Entry(palette, 3), TRgb(79, 15, 255));
    EXPECT_EQ(Entry(palette, 4), TRgb(175, 15, 31));
    EXPECT_EQ(Entry(palette, 5), TRgb(207, 31, 15));
}

TEST(ColorReduction, MedianCutMakesBlackWhenAllThreeMeansAreAtMost16) {
    uint8_t palette[1024];
    TImage24 dark(2, 1, std::vector<TRgb>(2, TRgb(10, 5, 0)));
    EXPECT_EQ(ReduceByMedianCut(dark.Pixels(), palette, 256), 1);
    EXPECT_EQ(Entry(palette, 0), kBlack) << "(15, 15, 15)";

    // Sixteen cells in one box: the eight of values 0 and 1, and (2, 0, 0),
    // (2, 1, 0), (2, 0, 1), (2, 1, 1), (1, 2, 0), (1, 0, 2), (1, 2, 1),
    // (1, 1, 2). Sums red 16, green 11, blue 11: means (16 * 16 + 15) / 16 =
    // 16 and (11 * 16 + 15) / 16 = 11.
    std::vector<std::pair<TRgb, int>> runs;
    for (int r : {0, 1})
        for (int g : {0, 1})
            for (int b : {0, 1}) runs.push_back({Cell(r, g, b), 1});
    for (const TRgb& c : {Cell(2, 0, 0), Cell(2, 1, 0), Cell(2, 0, 1), Cell(2, 1, 1), Cell(1, 2, 0), Cell(1, 0, 2),
                          Cell(1, 2, 1), Cell(1, 1, 2)})
        runs.push_back({c, 1});
    TImage24 sixteen = Row(runs);
    EXPECT_EQ(ReduceByMedianCut(sixteen.Pixels(), palette, 1), 1);
    EXPECT_EQ(Entry(palette, 0), kBlack) << "(16, 11, 11)";

    // Red alone: green and blue at 15 do not make it black.
    TImage24 red(1, 1, {kRed});
    EXPECT_EQ(ReduceByMedianCut(red.Pixels(), palette, 1), 1);
    EXPECT_EQ(Entry(palette, 0), TRgb(255, 15, 15));
}
