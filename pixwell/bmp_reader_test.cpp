// Bitmap files through OpenDib: every depth, both row orders, and files
// that are truncated, corrupt or hostile.
#include <gtest/gtest.h>

#include <climits>

#include "pixwell/test_pictures.h"

using namespace test_pictures;

namespace {

constexpr int kWidth = 13;  // not a multiple of 8: rows carry padding
constexpr int kHeight = 5;

// Differs from row to row and column to column, so a flipped, shifted or
// mis-padded image shows.
uint32_t Pattern(int bitCount, int x, int row) {
    if (bitCount <= 8) return (x * 37 + row * 11) % (1u << bitCount);
    return (x * 19 + 3) | (row * 50 + 1) << 8 | ((x ^ row) * 13 + 7) << 16;
}

std::string PatternBmp(int bitCount, bool topDown, std::vector<uint32_t> colors = {}) {
    if (colors.empty() && bitCount <= 8)
        for (int i = 0; i < 1 << bitCount; ++i) colors.push_back(i * 0x010101u);
    return MakeBmp(kWidth, kHeight, bitCount, topDown, colors,
                   [=](int x, int row) { return Pattern(bitCount, x, row); });
}

// getpixel counts stored rows from the bottom: picture row r is y = H-1-r.
void ExpectPattern(const TLoaded& loaded, int bitCount) {
    ASSERT_EQ(loaded.Result, 1);
    ASSERT_NE(loaded.Dib.Bits, nullptr);
    ASSERT_EQ(InfoWidth(loaded.Dib), kWidth);
    ASSERT_EQ(InfoHeight(loaded.Dib), kHeight);
    EXPECT_EQ(InfoBitCount(loaded.Dib), bitCount == 32 ? 24 : bitCount);
    for (int row = 0; row < kHeight; ++row)
        for (int x = 0; x < kWidth; ++x)
            ASSERT_EQ(getpixel(loaded.Dib, x, kHeight - 1 - row), Pattern(bitCount, x, row)) << x << "," << row;
}

class BmpDepths : public ::testing::TestWithParam<std::tuple<int, bool>> {};

TEST_P(BmpDepths, LoadsEveryPixelInPictureOrder) {
    const auto [bitCount, topDown] = GetParam();
    TTempFile file("pixwell_depth.bmp", PatternBmp(bitCount, topDown));
    ExpectPattern(TLoaded(file.Name()), bitCount);
}

INSTANTIATE_TEST_SUITE_P(AllDepths, BmpDepths,
                         ::testing::Combine(::testing::Values(1, 4, 8, 24, 32), ::testing::Bool()));

TEST(Bmp, IndexedPicturesKeepTheColoursTheyHaveAndGetAPalette) {
    const std::vector<uint32_t> colors = {0x0000FF, 0x00FF00, 0xFF0000, 0x123456};
    TTempFile file("pixwell_colors.bmp", MakeBmp(5, 2, 4, false, colors, [](int x, int) { return x % 4u; }));
    TLoaded loaded(file.Name());
    ASSERT_NE(loaded.Dib.Bits, nullptr);
    ASSERT_EQ(InfoColorsUsed(loaded.Dib), 4u);
    for (uint32_t i = 0; i < 4; ++i) EXPECT_EQ(InfoColor(loaded.Dib, i), colors[i]);
    EXPECT_EQ(loaded.Dib.HasPalette, 1);
    EXPECT_TRUE(IsPaletteObject(loaded.Dib.Palette));

    // Declares 256 colours, but the pixels start after 3 entries.
    std::string bytes = PatternBmp(8, false);
    bytes.erase(54 + 3 * 4, 253 * 4);
    PutU32(bytes, 10, 54 + 3 * 4);
    file.Write(bytes);
    TLoaded shortTable(file.Name());
    ExpectPattern(shortTable, 8);
    EXPECT_EQ(InfoColorsUsed(shortTable.Dib), 3u);

    TTempFile trueColour("pixwell_true.bmp", PatternBmp(24, false));
    EXPECT_EQ(TLoaded(trueColour.Name()).Dib.HasPalette, 0);
}

TEST(Bmp, ThirtyTwoBitFieldsAreReadByTheirMasks) {
    std::string bytes = PatternBmp(32, false);
    PutU32(bytes, 30, 3);  // bit fields; the masks follow a version 3 header
    std::string masks(12, '\0');
    PutU32(masks, 0, 0x000000FF);  // red in the byte plain files keep blue in
    PutU32(masks, 4, 0x0000FF00);
    PutU32(masks, 8, 0x00FF0000);
    bytes.insert(54, masks);
    PutU32(bytes, 10, 54 + 12);
    TTempFile file("pixwell_fields.bmp", bytes);
    TLoaded loaded(file.Name());
    ASSERT_NE(loaded.Dib.Bits, nullptr);
    const uint32_t plain = Pattern(32, 0, kHeight - 1);
    EXPECT_EQ(getpixel(loaded.Dib, 0, 0), (plain & 0xFF00) | (plain & 0xFF) << 16 | plain >> 16);
}

TEST(BmpDamage, EveryTruncationFailsAndOwnsNothing) {
    for (int bitCount : {1, 8, 24}) {
        const std::string whole = PatternBmp(bitCount, bitCount == 8);
        TTempFile file("pixwell_cut.bmp", whole);
        for (size_t length = 0; length < whole.size(); ++length) {
            file.Write(whole.substr(0, length));
            TLoaded loaded(file.Name());
            ASSERT_EQ(loaded.Result, 0) << bitCount << " bits cut at " << length;
            ASSERT_TRUE(IsEmptyRecord(loaded.Dib)) << bitCount << " bits cut at " << length;
        }
    }
}

TEST(BmpDamage, HostileHeadersFail) {
    const struct {
        const char* what;
        size_t at;
        uint32_t value;
        int bytes;
    } cases[] = {
        {"header size 39", 14, 39, 4},          {"absurd header size", 14, 0x7FFFFFF0, 4},
        {"width 0", 18, 0, 4},                  {"negative width", 18, uint32_t(-13), 4},
        {"huge width", 18, 0x40000000, 4},      {"height 0", 22, 0, 4},
        {"most negative height", 22, uint32_t(INT_MIN), 4},
        {"huge height", 22, 0x7FFFFFFF, 4},     {"two planes", 26, 2, 2},
        {"7 bits", 28, 7, 2},                   {"run-length compressed", 30, 1, 4},
        {"257 colours", 46, 257, 4},            {"huge colour count", 46, 0xFFFFFFFF, 4},
        {"pixels beyond the file", 10, 0x7FFFFFFF, 4},
        {"pixels inside the header", 10, 20, 4}, {"not a bitmap", 0, 'B' | 'X' << 8, 2},
    };
    for (const auto& c : cases) {
        std::string bytes = PatternBmp(8, false);
        PutU32(bytes, c.at, c.value, c.bytes);
        TTempFile file("pixwell_hostile.bmp", bytes);
        TLoaded loaded(file.Name());
        EXPECT_EQ(loaded.Result, 0) << c.what;
        EXPECT_TRUE(IsEmptyRecord(loaded.Dib)) << c.what;
    }
}

TEST(BmpDamage, AnyDamagedByteLoadsConsistentlyOrNotAtAll) {
    const std::string whole = PatternBmp(4, false);
    TTempFile file("pixwell_flip.bmp", whole);
    for (size_t at = 0; at < whole.size(); ++at)
        for (uint8_t flip : {0x01, 0x80, 0xFF}) {
            std::string bytes = whole;
            bytes[at] = static_cast<char>(bytes[at] ^ flip);
            file.Write(bytes);
            TLoaded loaded(file.Name());
            if (!loaded.Result) {
                ASSERT_TRUE(IsEmptyRecord(loaded.Dib)) << "byte " << at;
                continue;
            }
            ASSERT_GT(InfoWidth(loaded.Dib), 0);
            ASSERT_GT(InfoHeight(loaded.Dib), 0);
            getpixel(loaded.Dib, InfoWidth(loaded.Dib) - 1, InfoHeight(loaded.Dib) - 1);
        }
}

TEST(BmpDamage, NamesThatLeadNowhereFail) {
    TTempFile empty("pixwell_empty.bmp", "");
    TTempFile text("pixwell_text.bmp", "Just some text, no picture at all.");
    for (const char* name : {"", "pixwell_no_such_file.bmp", ".", empty.Name(), text.Name(), (const char*)nullptr}) {
        TLoaded loaded(name);
        EXPECT_EQ(loaded.Result, 0) << (name ? name : "nullptr");
        EXPECT_TRUE(IsEmptyRecord(loaded.Dib));
    }
    EXPECT_EQ(OpenDib(nullptr, text.Name(), 0, nullptr), 0);
}

}  // namespace
