// The exports other than OpenDib: empty images, pixel access, freeing,
// halftoning and the filter text.
#include <gtest/gtest.h>

#include <climits>
#include <set>

#include "pixwell/test_pictures.h"

using namespace test_pictures;

namespace {

// A record made by newdib over garbage, freed at the end of the scope.
struct TNew {
    TDIB Dib;
    int32_t Result;
    TNew(int32_t width, int32_t height, int32_t bitCount, const void* colorSource = nullptr, int32_t colors = 0) {
        std::memset(&Dib, 0xAB, sizeof Dib);
        Result = newdib(&Dib, width, height, bitCount, colorSource, colors);
    }
    ~TNew() { deldib(Dib); }
};

TEST(NewDib, MakesZeroedImagesAndRefusesImpossibleOnes) {
    for (int bitCount : {1, 4, 8, 16, 24, 32}) {
        TNew image(7, 3, bitCount);
        ASSERT_EQ(image.Result, 1) << bitCount;
        EXPECT_EQ(InfoWidth(image.Dib), 7);
        EXPECT_EQ(InfoHeight(image.Dib), 3);
        EXPECT_EQ(InfoBitCount(image.Dib), bitCount);
        EXPECT_EQ(image.Dib.BytesPerLine, (7 * bitCount + 31) / 32 * 4) << bitCount;
        EXPECT_EQ(image.Dib.HasPalette, 0);
        const std::string bits(static_cast<const char*>(image.Dib.Bits), image.Dib.BytesPerLine * 3);
        EXPECT_EQ(bits, std::string(bits.size(), '\0')) << bitCount;
    }
    const int impossible[][4] = {{0, 5, 8, 0},  {5, -1, 8, 0},   {5, 5, 7, 0},     {5, 5, 4, 17},
                                 {5, 5, 8, -1}, {70000, 1, 8, 0}, {1, 70000, 8, 0}, {60000, 60000, 24, 0}};
    for (const auto& c : impossible) {
        TNew image(c[0], c[1], c[2], nullptr, c[3]);
        EXPECT_EQ(image.Result, 0) << c[0] << "x" << c[1] << "x" << c[2] << " " << c[3];
        EXPECT_TRUE(IsEmptyRecord(image.Dib));
    }
}

TEST(NewDib, CopiesTheColourTableItIsGiven) {
    TNew source(2, 2, 4, nullptr, 3);
    ASSERT_EQ(InfoColorsUsed(source.Dib), 3u);
    EXPECT_EQ(InfoColor(source.Dib, 2), 0u);
    const uint8_t colours[12] = {1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 9, 0};
    std::memcpy(static_cast<uint8_t*>(source.Dib.Info) + 40, colours, sizeof colours);
    TNew copy(5, 1, 8, source.Dib.Info, 3);
    ASSERT_EQ(InfoColorsUsed(copy.Dib), 3u);
    EXPECT_EQ(InfoColor(copy.Dib, 0), 0x010203u);
    EXPECT_EQ(InfoColor(copy.Dib, 2), 0x070809u);
}

TEST(Pixels, SetAndGetHitTheRightBitsOfEveryDepth) {
    const uint32_t values[][2] = {{1, 1}, {4, 0xB}, {8, 0xC7}, {16, 0x7A5B}, {24, 0x123456}, {32, 0xABCDEF}};
    for (const auto& [bitCount, value] : values) {
        TNew image(11, 4, bitCount);
        setpixel(image.Dib, 5, 2, value);
        setpixel(image.Dib, 10, 3, value);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 11; ++x) {
                const bool set = (x == 5 && y == 2) || (x == 10 && y == 3);
                ASSERT_EQ(getpixel(image.Dib, x, y), set ? value : 0u) << bitCount << " bits at " << x << "," << y;
            }
        setpixel(image.Dib, 5, 2, 0);
        EXPECT_EQ(getpixel(image.Dib, 5, 2), 0u);
    }
    // The platform's layout: high nibble first, high bit first, blue first.
    TNew four(2, 1, 4), one(9, 1, 1), rgb(1, 1, 24);
    setpixel(four.Dib, 0, 0, 0xA);
    setpixel(one.Dib, 8, 0, 1);
    setpixel(rgb.Dib, 0, 0, RGB(0x11, 0x22, 0x33));
    EXPECT_EQ(static_cast<uint8_t*>(four.Dib.Bits)[0], 0xA0);
    EXPECT_EQ(static_cast<uint8_t*>(one.Dib.Bits)[1], 0x80);
    EXPECT_EQ(static_cast<uint8_t*>(rgb.Dib.Bits)[0], 0x33);
}

TEST(Pixels, OutsideTheImageNothingIsTouched) {
    TNew image(3, 2, 8);
    for (auto [x, y] : {std::pair{-1, 0}, {3, 0}, {0, -1}, {0, 2}, {INT_MIN, 0}, {0, INT_MAX}}) {
        setpixel(image.Dib, x, y, 0xFF);
        EXPECT_EQ(getpixel(image.Dib, x, y), 0u);
    }
    const std::string bits(static_cast<const char*>(image.Dib.Bits), image.Dib.BytesPerLine * 2);
    EXPECT_EQ(bits, std::string(bits.size(), '\0'));
    EXPECT_EQ(getpixel(ZeroRecord(), 0, 0), 0u);
    setpixel(ZeroRecord(), 0, 0, 1);
}

TEST(DelDib, FreesOnceAndIgnoresRecordsItDoesNotOwn) {
    TNew source(4, 4, 24);
    TDIB halftoned = ZeroRecord();
    ASSERT_EQ(DIBHalftoneDIB(&halftoned, source.Dib), 1);
    const auto palette = static_cast<HPALETTE>(halftoned.Palette);
    ASSERT_EQ(GetObjectType(palette), static_cast<DWORD>(OBJ_PAL));
    deldib(halftoned);
    EXPECT_EQ(GetObjectType(palette), 0u);
    deldib(halftoned);  // the caller's copy still names the freed blocks
    TDIB garbage;
    std::memset(&garbage, 0x5C, sizeof garbage);
    deldib(garbage);
}

uint32_t HalftonedColour(const TDIB& dib, int x, int y) { return InfoColor(dib, getpixel(dib, x, y)); }

template <class F>
void Fill(const TDIB& dib, F colour) {
    for (int y = 0; y < InfoHeight(dib); ++y)
        for (int x = 0; x < InfoWidth(dib); ++x) setpixel(dib, x, y, colour(x, y));
}

TEST(Halftone, EightBitCopyWithPaletteDitheringBetweenCubeLevels) {
    TNew source(16, 16, 24);
    // Cube colours on the left come through; the right is between levels.
    Fill(source.Dib, [](int x, int) { return x < 8 ? RGB(255, 0, 102) : RGB(25, 128, 230); });
    TDIB result = ZeroRecord();
    ASSERT_EQ(DIBHalftoneDIB(&result, source.Dib), 1);
    EXPECT_EQ(InfoWidth(result), 16);
    EXPECT_EQ(InfoHeight(result), 16);
    EXPECT_EQ(InfoBitCount(result), 8);
    EXPECT_EQ(result.HasPalette, 1);
    WORD entries = 0;
    ASSERT_EQ(GetObjectA(result.Palette, sizeof entries, &entries), static_cast<int>(sizeof entries));
    EXPECT_EQ(entries, InfoColorsUsed(result));
    std::set<uint32_t> between;
    double red = 0, green = 0, blue = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 8; ++x) ASSERT_EQ(HalftonedColour(result, x, y), RGB(255, 0, 102));
        for (int x = 8; x < 16; ++x) {
            const uint32_t colour = HalftonedColour(result, x, y);
            between.insert(colour);
            red += GetRValue(colour) / 128.0;
            green += GetGValue(colour) / 128.0;
            blue += GetBValue(colour) / 128.0;
        }
    }
    EXPECT_GT(between.size(), 1u);
    EXPECT_NEAR(red, 25, 4);  // on average the dither gives the colour back
    EXPECT_NEAR(green, 128, 4);
    EXPECT_NEAR(blue, 230, 4);
    deldib(result);
}

TEST(Halftone, ScaledCopyAveragesWhatEachPixelCovers) {
    TNew source(40, 20, 24);
    // Left half black and white columns (grey on average), right half blue.
    Fill(source.Dib, [](int x, int) { return x >= 20 ? RGB(0, 0, 255) : x % 2 ? RGB(255, 255, 255) : RGB(0, 0, 0); });
    TDIB result = ZeroRecord();
    ASSERT_EQ(DIBHalftoneDIBXY(&result, source.Dib, 8, 4), 1);
    ASSERT_EQ(InfoWidth(result), 8);
    ASSERT_EQ(InfoHeight(result), 4);
    EXPECT_EQ(result.HasPalette, 1);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x) {
            // Five columns each: two or three of them white.
            const uint32_t expected = x >= 4 ? RGB(0, 0, 255) : x % 2 ? RGB(153, 153, 153) : RGB(102, 102, 102);
            ASSERT_EQ(HalftonedColour(result, x, y), expected) << x << "," << y;
        }
    deldib(result);
}

TEST(Halftone, FailsCleanlyOnBadInput) {
    TNew source(4, 4, 24);
    TDIB result;
    std::memset(&result, 0x77, sizeof result);
    EXPECT_EQ(DIBHalftoneDIB(&result, ZeroRecord()), 0);
    EXPECT_TRUE(IsEmptyRecord(result));
    for (auto [w, h] : {std::pair{0, 4}, {4, -3}, {100000, 2}}) {
        std::memset(&result, 0x77, sizeof result);
        EXPECT_EQ(DIBHalftoneDIBXY(&result, source.Dib, w, h), 0) << w << "x" << h;
        EXPECT_TRUE(IsEmptyRecord(result));
    }
}

TEST(Filter, ListsExactlyTheFormatsOpenDibReads) {
    EXPECT_STREQ(GetDIBOpenFilter(),
                 "All pictures (*.bmp;*.dib;*.jpg;*.jpeg;*.jpe)|*.bmp;*.dib;*.jpg;*.jpeg;*.jpe|"
                 "Windows bitmaps (*.bmp;*.dib)|*.bmp;*.dib|"
                 "JPEG pictures (*.jpg;*.jpeg;*.jpe)|*.jpg;*.jpeg;*.jpe");
}

}  // namespace
