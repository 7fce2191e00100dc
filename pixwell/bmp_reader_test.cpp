// Bitmap files through OpenDib: every depth, both row orders, and files
// that are truncated, corrupt or hostile.
#include <gtest/gtest.h>

#include <climits>

#include "pixwell.h"
#include "test_pictures.h"

using namespace test_pictures;

namespace {

// A picture whose pixels differ from row to row and column to column, so a
// flipped, shifted or mis-padded image shows.
uint32_t Pattern(int bitCount, int x, int row) {
    switch (bitCount) {
    case 1: return (x * 3 + row) % 5 % 2;
    case 4: return (x * 7 + row * 3) % 16;
    case 8: return (x * 37 + row * 11) % 256;
    default: return (x * 19 + 3) | (row * 50 + 1) << 8 | ((x ^ row) * 13 + 7) << 16;
    }
}

std::vector<uint32_t> GreyTable(int count) {
    std::vector<uint32_t> table;
    for (int i = 0; i < count; ++i) {
        const uint32_t v = static_cast<uint32_t>(i * 255 / (count > 1 ? count - 1 : 1));
        table.push_back(v | v << 8 | v << 16);
    }
    return table;
}

TBmpSpec PatternSpec(int bitCount, bool topDown) {
    TBmpSpec spec;
    spec.Width = 13;  // odd, and not a multiple of 8: rows carry padding
    spec.Height = 5;
    spec.BitCount = bitCount;
    spec.TopDown = topDown;
    if (bitCount <= 8) spec.Colors = GreyTable(1 << bitCount);
    spec.Pixel = [bitCount](int x, int row) { return Pattern(bitCount, x, row); };
    return spec;
}

// Reads the picture back through getpixel: y counts stored rows from the
// bottom, so picture row r sits at y = Height - 1 - r.
void ExpectPattern(const TDIB& dib, const TBmpSpec& spec) {
    ASSERT_NE(dib.Bits, nullptr);
    ASSERT_EQ(InfoWidth(dib), spec.Width);
    ASSERT_EQ(InfoHeight(dib), spec.Height);
    const int loadedBits = spec.BitCount == 32 ? 24 : spec.BitCount;
    EXPECT_EQ(InfoBitCount(dib), loadedBits);
    EXPECT_EQ(dib.BytesPerLine % 4, 0);
    EXPECT_GE(dib.BytesPerLine, (spec.Width * loadedBits + 7) / 8);
    for (int row = 0; row < spec.Height; ++row)
        for (int x = 0; x < spec.Width; ++x)
            ASSERT_EQ(getpixel(dib, x, spec.Height - 1 - row), spec.Pixel(x, row))
                << "x " << x << " row " << row;
}

class BmpDepths : public ::testing::TestWithParam<std::tuple<int, bool>> {};

TEST_P(BmpDepths, LoadsEveryPixelInPictureOrder) {
    const auto [bitCount, topDown] = GetParam();
    const TBmpSpec spec = PatternSpec(bitCount, topDown);
    TTempFile file("pixwell_depth.bmp", MakeBmp(spec));
    TLoaded loaded(file.Name());
    EXPECT_EQ(loaded.Result, 1);
    ExpectPattern(loaded.Dib, spec);
}

INSTANTIATE_TEST_SUITE_P(AllDepths, BmpDepths,
                         ::testing::Combine(::testing::Values(1, 4, 8, 24, 32), ::testing::Bool()));

TEST(BmpColors, IndexedPicturesKeepTheirTableAndGetAPalette) {
    TBmpSpec spec = PatternSpec(4, false);
    spec.Colors = {0x0000FF, 0x00FF00, 0xFF0000, 0x123456};  // fewer than 16 entries
    spec.Pixel = [](int x, int row) { return uint32_t((x + row) % 4); };
    TTempFile file("pixwell_colors.bmp", MakeBmp(spec));
    TLoaded loaded(file.Name());
    ExpectPattern(loaded.Dib, spec);
    ASSERT_EQ(InfoColorsUsed(loaded.Dib), 4u);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(InfoColor(loaded.Dib, i), spec.Colors[i]);
    EXPECT_EQ(loaded.Dib.HasPalette, 1);
    EXPECT_NE(loaded.Dib.Palette, nullptr);
}

TEST(BmpColors, TrueColourPicturesHaveNoPalette) {
    TTempFile file("pixwell_true.bmp", MakeBmp(PatternSpec(24, false)));
    TLoaded loaded(file.Name());
    ASSERT_NE(loaded.Dib.Bits, nullptr);
    EXPECT_EQ(loaded.Dib.HasPalette, 0);
    EXPECT_EQ(loaded.Dib.Palette, nullptr);
}

TEST(BmpColors, TableCutShortByThePixelOffsetKeepsTheEntriesPresent) {
    TBmpSpec spec = PatternSpec(8, false);
    spec.Colors = GreyTable(256);
    std::string bytes = MakeBmp(spec);
    // Declares 256 colours but lets the pixels start after 3 entries.
    const uint32_t pixelOffset = 14 + 40 + 3 * 4;
    bytes.erase(pixelOffset, 253 * 4);
    PutU32(bytes, 10, pixelOffset);
    PutU32(bytes, 46, 0);
    TTempFile file("pixwell_short.bmp", bytes);
    TLoaded loaded(file.Name());
    ExpectPattern(loaded.Dib, spec);
    EXPECT_EQ(InfoColorsUsed(loaded.Dib), 3u);
}

TEST(BmpHeaders, CoreHeaderFilesLoad) {
    TBmpSpec spec = PatternSpec(8, false);
    spec.CoreHeader = true;
    TTempFile file("pixwell_core.bmp", MakeBmp(spec));
    TLoaded loaded(file.Name());
    ExpectPattern(loaded.Dib, spec);
    EXPECT_EQ(InfoColor(loaded.Dib, 255), 0xFFFFFFu);
}

TEST(BmpHeaders, ThirtyTwoBitFieldsAreReadByTheirMasks) {
    // Version 3 header with bit fields: red in the low byte, blue in the third.
    TBmpSpec spec = PatternSpec(32, false);
    std::string bytes = MakeBmp(spec);
    PutU32(bytes, 30, 3);
    std::string masks(12, '\0');
    PutU32(masks, 0, 0x00FF0000);  // the usual masks first
    PutU32(masks, 4, 0x0000FF00);
    PutU32(masks, 8, 0x000000FF);
    bytes.insert(54, masks);
    PutU32(bytes, 10, GetU32(bytes, 10) + 12);
    TTempFile file("pixwell_fields.bmp", bytes);
    TLoaded loaded(file.Name());
    ASSERT_NE(loaded.Dib.Bits, nullptr);
    // The masks name the same bytes as plain BGRA does.
    ExpectPattern(loaded.Dib, spec);

    PutU32(bytes, 54, 0x000000FF);  // red mask now on the blue byte
    PutU32(bytes, 62, 0x00FF0000);
    file.Write(bytes);
    TLoaded swapped(file.Name());
    ASSERT_NE(swapped.Dib.Bits, nullptr);
    const uint32_t original = spec.Pixel(0, spec.Height - 1);
    const uint32_t exchanged = (original & 0x00FF00) | (original & 0xFF) << 16 | (original >> 16 & 0xFF);
    EXPECT_EQ(getpixel(swapped.Dib, 0, 0), exchanged);
}

TEST(BmpDamage, EveryTruncationFailsAndOwnsNothing) {
    for (int bitCount : {1, 8, 24}) {
        const std::string whole = MakeBmp(PatternSpec(bitCount, bitCount == 8));
        TTempFile file("pixwell_cut.bmp", whole);
        for (size_t length = 0; length < whole.size(); ++length) {
            file.Write(whole.substr(0, length));
            TLoaded loaded(file.Name());
            ASSERT_EQ(loaded.Result, 0) << bitCount << " bits cut at " << length;
            ASSERT_TRUE(IsEmptyRecord(loaded.Dib)) << bitCount << " bits cut at " << length;
        }
    }
}

// A valid 8-bit file with one header field overwritten.
std::string Hostile(size_t at, uint32_t value, bool wide = true) {
    std::string bytes = MakeBmp(PatternSpec(8, false));
    if (wide)
        PutU32(bytes, at, value);
    else
        PutU16(bytes, at, value);
    return bytes;
}

TEST(BmpDamage, HostileHeadersFail) {
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"header size 0", Hostile(14, 0)},
        {"header size 39", Hostile(14, 39)},
        {"absurd header size", Hostile(14, 0x7FFFFFF0)},
        {"width 0", Hostile(18, 0)},
        {"negative width", Hostile(18, uint32_t(-13))},
        {"huge width", Hostile(18, 0x40000000)},
        {"height 0", Hostile(22, 0)},
        {"most negative height", Hostile(22, uint32_t(INT_MIN))},
        {"huge height", Hostile(22, 0x7FFFFFFF)},
        {"two planes", Hostile(26, 2, false)},
        {"7 bits", Hostile(28, 7, false)},
        {"run-length compressed", Hostile(30, 1)},
        {"more colours than 8 bits index", Hostile(46, 257)},
        {"huge colour count", Hostile(46, 0xFFFFFFFF)},
        {"pixels beyond the file", Hostile(10, 0x7FFFFFFF)},
        {"pixels inside the header", Hostile(10, 20)},
        {"not a bitmap", std::string("BX") + MakeBmp(PatternSpec(8, false)).substr(2)},
        {"text", std::string("Just some text, no picture at all.")},
    };
    for (const auto& c : cases) {
        TTempFile file("pixwell_hostile.bmp", c.bytes);
        TLoaded loaded(file.Name());
        EXPECT_EQ(loaded.Result, 0) << c.what;
        EXPECT_TRUE(IsEmptyRecord(loaded.Dib)) << c.what;
    }
}

TEST(BmpDamage, AnyDamagedByteLoadsConsistentlyOrNotAtAll) {
    const std::string whole = MakeBmp(PatternSpec(4, false));
    TTempFile file("pixwell_flip.bmp", whole);
    for (size_t at = 0; at < whole.size(); ++at) {
        for (uint8_t flip : {0x01, 0x80, 0xFF}) {
            std::string bytes = whole;
            bytes[at] = static_cast<char>(bytes[at] ^ flip);
            file.Write(bytes);
            TLoaded loaded(file.Name());
            if (loaded.Result) {
                ASSERT_NE(loaded.Dib.Bits, nullptr);
                ASSERT_GT(InfoWidth(loaded.Dib), 0);
                ASSERT_GT(InfoHeight(loaded.Dib), 0);
                // Touch the corners: they must lie inside the image.
                getpixel(loaded.Dib, 0, 0);
                getpixel(loaded.Dib, InfoWidth(loaded.Dib) - 1, InfoHeight(loaded.Dib) - 1);
            } else {
                ASSERT_TRUE(IsEmptyRecord(loaded.Dib)) << "byte " << at;
            }
        }
    }
}

TEST(BmpDamage, NamesThatLeadNowhereFail) {
    TTempFile empty("pixwell_empty.bmp", "");
    for (const char* name : {"", "pixwell_no_such_file.bmp", ".", empty.Name()}) {
        TLoaded loaded(name);
        EXPECT_EQ(loaded.Result, 0) << name;
        EXPECT_TRUE(IsEmptyRecord(loaded.Dib)) << name;
    }
    TLoaded unnamed(nullptr);
    EXPECT_TRUE(IsEmptyRecord(unnamed.Dib));
    EXPECT_EQ(OpenDib(nullptr, empty.Name(), 0, nullptr), 0);
}

}  // namespace
