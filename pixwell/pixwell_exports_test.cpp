// The exports other than OpenDib: empty images, pixel access, freeing,
// halftoning and the filter text.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>

#include "pixwell.h"
#include "test_pictures.h"

using namespace test_pictures;

namespace {

// A record made by newdib, freed at the end of the scope.
struct TNew {
    TDIB Dib;
    int32_t Result;
    TNew(int32_t width, int32_t height, int32_t bitCount, const void* colorSource = nullptr, int32_t colors = 0) {
        std::memset(&Dib, 0xAB, sizeof Dib);
        Result = newdib(&Dib, width, height, bitCount, colorSource, colors);
    }
    ~TNew() { deldib(Dib); }
};

// A record freed at the end of the scope.
struct TOwnedDib {
    TDIB Dib = ZeroRecord();
    ~TOwnedDib() { deldib(Dib); }
};

TEST(NewDib, MakesZeroedImagesOfEveryDepth) {
    for (int bitCount : {1, 4, 8, 16, 24, 32}) {
        TNew image(7, 3, bitCount);
        ASSERT_EQ(image.Result, 1) << bitCount;
        const TDIB& dib = image.Dib;
        ASSERT_NE(dib.Bits, nullptr);
        EXPECT_EQ(InfoWidth(dib), 7);
        EXPECT_EQ(InfoHeight(dib), 3);
        EXPECT_EQ(InfoBitCount(dib), bitCount);
        EXPECT_EQ(dib.BytesPerLine, (7 * bitCount + 31) / 32 * 4) << bitCount;
        EXPECT_EQ(dib.HasPalette, 0);
        EXPECT_EQ(dib.Palette, nullptr);
        const auto* bits = static_cast<const uint8_t*>(dib.Bits);
        for (int i = 0; i < dib.BytesPerLine * 3; ++i) ASSERT_EQ(bits[i], 0) << bitCount << " byte " << i;
    }
}

TEST(NewDib, CopiesTheColourTableItIsGiven) {
    TNew source(2, 2, 4);
    ASSERT_EQ(source.Result, 1);
    TNew withColours(2, 2, 4, nullptr, 3);
    ASSERT_EQ(withColours.Result, 1);
    EXPECT_EQ(InfoColorsUsed(withColours.Dib), 3u);
    EXPECT_EQ(InfoColor(withColours.Dib, 2), 0u);  // no source: zeroed

    auto* entries = static_cast<uint8_t*>(withColours.Dib.Info) + 40;
    const uint8_t colours[12] = {1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 9, 0};
    std::memcpy(entries, colours, sizeof colours);
    TNew copy(5, 1, 8, withColours.Dib.Info, 3);
    ASSERT_EQ(copy.Result, 1);
    EXPECT_EQ(InfoColorsUsed(copy.Dib), 3u);
    EXPECT_EQ(InfoColor(copy.Dib, 0), 0x010203u);
    EXPECT_EQ(InfoColor(copy.Dib, 2), 0x070809u);
}

TEST(NewDib, RefusesImpossibleImages) {
    const struct {
        int width, height, bitCount, colors;
    } cases[] = {
        {0, 5, 8, 0},     {5, 0, 8, 0},      {-1, 5, 8, 0},    {5, -1, 8, 0}, {5, 5, 7, 0},
        {5, 5, 0, 0},     {5, 5, 4, 17},     {5, 5, 8, 257},   {5, 5, 8, -1}, {70000, 1, 8, 0},
        {1, 70000, 8, 0}, {60000, 60000, 24, 0},
    };
    for (const auto& c : cases) {
        TNew image(c.width, c.height, c.bitCount, nullptr, c.colors);
        EXPECT_EQ(image.Result, 0) << c.width << "x" << c.height << "x" << c.bitCount << " " << c.colors;
        EXPECT_TRUE(IsEmptyRecord(image.Dib));
    }
    EXPECT_EQ(newdib(nullptr, 1, 1, 8, nullptr, 0), 0);
}

TEST(Pixels, SetAndGetHitTheRightBitsOfEveryDepth) {
    const struct {
        int bitCount;
        uint32_t value;
    } cases[] = {{1, 1}, {4, 0xB}, {8, 0xC7}, {16, 0x7A5B}, {24, 0x123456}, {32, 0xABCDEF}};
    for (const auto& c : cases) {
        TNew image(11, 4, c.bitCount);
        ASSERT_EQ(image.Result, 1);
        setpixel(image.Dib, 5, 2, c.value);
        setpixel(image.Dib, 10, 3, c.value);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 11; ++x) {
                const bool set = (x == 5 && y == 2) || (x == 10 && y == 3);
                ASSERT_EQ(getpixel(image.Dib, x, y), set ? c.value : 0u) << c.bitCount << " bits at " << x << "," << y;
            }
        setpixel(image.Dib, 5, 2, 0);
        EXPECT_EQ(getpixel(image.Dib, 5, 2), 0u);
        EXPECT_EQ(getpixel(image.Dib, 10, 3), c.value);
    }
}

TEST(Pixels, StorageFollowsThePlatformLayout) {
    TNew four(4, 1, 4);
    setpixel(four.Dib, 0, 0, 0xA);
    setpixel(four.Dib, 1, 0, 0x5);
    EXPECT_EQ(static_cast<uint8_t*>(four.Dib.Bits)[0], 0xA5);  // even x in the high nibble

    TNew one(9, 1, 1);
    setpixel(one.Dib, 0, 0, 1);
    setpixel(one.Dib, 8, 0, 1);
    EXPECT_EQ(static_cast<uint8_t*>(one.Dib.Bits)[0], 0x80);
    EXPECT_EQ(static_cast<uint8_t*>(one.Dib.Bits)[1], 0x80);

    TNew rgb(1, 2, 24);
    setpixel(rgb.Dib, 0, 1, RGB(0x11, 0x22, 0x33));
    const uint8_t* row1 = static_cast<uint8_t*>(rgb.Dib.Bits) + rgb.Dib.BytesPerLine;
    EXPECT_EQ(row1[0], 0x33);  // blue, green, red
    EXPECT_EQ(row1[1], 0x22);
    EXPECT_EQ(row1[2], 0x11);
}

TEST(Pixels, OutsideTheImageNothingIsTouched) {
    TNew image(3, 2, 8);
    for (auto [x, y] : {std::pair{-1, 0}, {3, 0}, {0, -1}, {0, 2}, {INT_MIN, 0}, {0, INT_MAX}}) {
        setpixel(image.Dib, x, y, 0xFF);
        EXPECT_EQ(getpixel(image.Dib, x, y), 0u);
    }
    const auto* bits = static_cast<const uint8_t*>(image.Dib.Bits);
    for (int i = 0; i < image.Dib.BytesPerLine * 2; ++i) EXPECT_EQ(bits[i], 0);
    EXPECT_EQ(getpixel(ZeroRecord(), 0, 0), 0u);
    setpixel(ZeroRecord(), 0, 0, 1);
}

TEST(DelDib, FreesOnceAndIgnoresRecordsItDoesNotOwn) {
    TDIB dib = ZeroRecord();
    ASSERT_EQ(newdib(&dib, 4, 4, 8, nullptr, 0), 1);
    deldib(dib);
    deldib(dib);  // the caller's copy still names the freed blocks
    deldib(ZeroRecord());
    TDIB garbage;
    std::memset(&garbage, 0x5C, sizeof garbage);
    deldib(garbage);
}

TEST(DelDib, ReleasesThePalette) {
    TNew source(4, 4, 24);
    TDIB halftoned = ZeroRecord();
    ASSERT_EQ(DIBHalftoneDIB(&halftoned, source.Dib), 1);
    auto palette = static_cast<HPALETTE>(halftoned.Palette);
    ASSERT_EQ(GetObjectType(palette), static_cast<DWORD>(OBJ_PAL));
    deldib(halftoned);
    EXPECT_EQ(GetObjectType(palette), 0u);
}

// A 24-bit image filled by colour(x, y).
template <class F>
void Fill(const TDIB& dib, F colour) {
    for (int y = 0; y < InfoHeight(dib); ++y)
        for (int x = 0; x < InfoWidth(dib); ++x) setpixel(dib, x, y, colour(x, y));
}

bool OnTheCube(uint32_t colour) {
    for (int shift : {0, 8, 16})
        if ((colour >> shift & 0xFF) % 51 != 0) return false;
    return true;
}

TEST(Halftone, MakesAnEightBitCopyWithItsPalette) {
    TNew source(10, 6, 24);
    Fill(source.Dib, [](int x, int y) { return x < 5 ? RGB(255, 0, 0) : RGB(0, 102, 204); });
    TOwnedDib result;
    ASSERT_EQ(DIBHalftoneDIB(&result.Dib, source.Dib), 1);
    const TDIB& dib = result.Dib;
    ASSERT_NE(dib.Bits, nullptr);
    EXPECT_EQ(InfoWidth(dib), 10);
    EXPECT_EQ(InfoHeight(dib), 6);
    EXPECT_EQ(InfoBitCount(dib), 8);
    EXPECT_EQ(dib.HasPalette, 1);
    ASSERT_NE(dib.Palette, nullptr);
    WORD entries = 0;
    ASSERT_EQ(GetObjectA(dib.Palette, sizeof entries, &entries), static_cast<int>(sizeof entries));
    EXPECT_EQ(entries, InfoColorsUsed(dib));
    // Colours on the cube come through undithered.
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(InfoColor(dib, getpixel(dib, x, y)), x < 5 ? RGB(255, 0, 0) : RGB(0, 102, 204));
}

TEST(Halftone, DithersColoursBetweenTheCubeLevels) {
    TNew source(16, 16, 24);
    const COLORREF between = RGB(25, 128, 230);
    Fill(source.Dib, [&](int, int) { return between; });
    TOwnedDib result;
    ASSERT_EQ(DIBHalftoneDIB(&result.Dib, source.Dib), 1);
    std::set<uint32_t> used;
    long red = 0, green = 0, blue = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const uint32_t colour = InfoColor(result.Dib, getpixel(result.Dib, x, y));
            ASSERT_TRUE(OnTheCube(colour));
            used.insert(colour);
            red += GetRValue(colour);
            green += GetGValue(colour);
            blue += GetBValue(colour);
        }
    EXPECT_GT(used.size(), 1u);
    // On average the dither reproduces the colour.
    EXPECT_NEAR(red / 256.0, 25, 4);
    EXPECT_NEAR(green / 256.0, 128, 4);
    EXPECT_NEAR(blue / 256.0, 230, 4);
}

TEST(Halftone, ScaledCopyAveragesWhatEachPixelCovers) {
    TNew source(40, 20, 24);
    // Left half black and white columns (grey on average), right half blue.
    Fill(source.Dib, [](int x, int) { return x >= 20 ? RGB(0, 0, 255) : x % 2 ? RGB(255, 255, 255) : RGB(0, 0, 0); });
    TOwnedDib result;
    ASSERT_EQ(DIBHalftoneDIBXY(&result.Dib, source.Dib, 8, 4), 1);
    ASSERT_EQ(InfoWidth(result.Dib), 8);
    ASSERT_EQ(InfoHeight(result.Dib), 4);
    EXPECT_EQ(InfoBitCount(result.Dib), 8);
    EXPECT_EQ(result.Dib.HasPalette, 1);
    for (int y = 0; y < 4; ++y) {
        for (int x = 4; x < 8; ++x) EXPECT_EQ(InfoColor(result.Dib, getpixel(result.Dib, x, y)), RGB(0, 0, 255));
        for (int x = 0; x < 4; ++x) {
            const uint32_t colour = InfoColor(result.Dib, getpixel(result.Dib, x, y));
            EXPECT_EQ(GetRValue(colour), GetGValue(colour));  // grey, not a stray column
            EXPECT_TRUE(GetRValue(colour) == 102 || GetRValue(colour) == 153) << GetRValue(colour);
        }
    }
}

TEST(Halftone, IndexedSourcesShowTheirTableColours) {
    TNew source(4, 4, 8, nullptr, 2);
    auto* entries = static_cast<uint8_t*>(source.Dib.Info) + 40;
    entries[4 + 1] = 255;  // colour 1: green
    setpixel(source.Dib, 1, 1, 1);
    TOwnedDib result;
    ASSERT_EQ(DIBHalftoneDIB(&result.Dib, source.Dib), 1);
    EXPECT_EQ(InfoColor(result.Dib, getpixel(result.Dib, 1, 1)), RGB(0, 255, 0));
    EXPECT_EQ(InfoColor(result.Dib, getpixel(result.Dib, 0, 0)), RGB(0, 0, 0));
}

TEST(Halftone, FailsCleanlyOnBadInput) {
    TNew source(4, 4, 24);
    TDIB result;
    std::memset(&result, 0x77, sizeof result);
    EXPECT_EQ(DIBHalftoneDIB(&result, ZeroRecord()), 0);
    EXPECT_TRUE(IsEmptyRecord(result));
    for (auto [w, h] : {std::pair{0, 4}, {4, 0}, {-3, 4}, {100000, 2}}) {
        std::memset(&result, 0x77, sizeof result);
        EXPECT_EQ(DIBHalftoneDIBXY(&result, source.Dib, w, h), 0) << w << "x" << h;
        EXPECT_TRUE(IsEmptyRecord(result));
    }
    EXPECT_EQ(DIBHalftoneDIB(nullptr, source.Dib), 0);
}

TEST(Filter, ListsExactlyTheFormatsOpenDibReads) {
    EXPECT_STREQ(GetDIBOpenFilter(),
                 "All pictures (*.bmp;*.dib;*.jpg;*.jpeg;*.jpe)|*.bmp;*.dib;*.jpg;*.jpeg;*.jpe|"
                 "Windows bitmaps (*.bmp;*.dib)|*.bmp;*.dib|"
                 "JPEG pictures (*.jpg;*.jpeg;*.jpe)|*.jpg;*.jpeg;*.jpe");
}

}  // namespace
