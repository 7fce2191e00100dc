// JPEG files through OpenDib, written here with libjpeg's compressor.
#include <gtest/gtest.h>

#include <cstdlib>

#include "pixwell/jpeg_test_pictures.h"
#include "pixwell/test_pictures.h"

using namespace test_pictures;

namespace {

// 16 x 16: top half red; bottom half green on the left, blue on the right.
std::string ColourJpeg() {
    std::vector<uint8_t> rgb;
    for (int row = 0; row < 16; ++row)
        for (int x = 0; x < 16; ++x)
            rgb.insert(rgb.end(), row < 8 ? std::initializer_list<uint8_t>{255, 0, 0}
                                  : x < 8 ? std::initializer_list<uint8_t>{0, 255, 0}
                                          : std::initializer_list<uint8_t>{0, 0, 255});
    return MakeJpeg(16, 16, 3, rgb);
}

bool Near(uint32_t colour, uint32_t expected) {
    for (int shift : {0, 8, 16})
        if (std::abs(int(colour >> shift & 0xFF) - int(expected >> shift & 0xFF)) > 4) return false;
    return true;
}

TEST(Jpeg, ColourAndGreyPicturesLoadAsBottomUp24Bit) {
    TTempFile file("pixwell_colour.jpg", ColourJpeg());
    TLoaded colour(file.Name());
    ASSERT_EQ(colour.Result, 1);
    ASSERT_NE(colour.Dib.Bits, nullptr);
    EXPECT_EQ(InfoWidth(colour.Dib), 16);
    EXPECT_EQ(InfoHeight(colour.Dib), 16);
    EXPECT_EQ(InfoBitCount(colour.Dib), 24);
    EXPECT_EQ(colour.Dib.BytesPerLine, 48);
    EXPECT_PRED2(Near, getpixel(colour.Dib, 2, 2), 0x00FF00u);  // stored row 0 is the bottom
    EXPECT_PRED2(Near, getpixel(colour.Dib, 13, 2), 0xFF0000u);
    EXPECT_PRED2(Near, getpixel(colour.Dib, 8, 13), 0x0000FFu);

    std::vector<uint8_t> grey;
    for (int i = 0; i < 24 * 8; ++i) grey.push_back(i % 24 < 8 ? 40 : 220);
    file.Write(MakeJpeg(24, 8, 1, grey));
    TLoaded loaded(file.Name());
    ASSERT_NE(loaded.Dib.Bits, nullptr);
    EXPECT_EQ(InfoBitCount(loaded.Dib), 24);
    const uint32_t dark = getpixel(loaded.Dib, 3, 4);
    EXPECT_EQ(dark, (dark & 0xFF) * 0x010101u);  // grey: red, green and blue alike
    EXPECT_PRED2(Near, dark, 40 * 0x010101u);
    EXPECT_PRED2(Near, getpixel(loaded.Dib, 20, 4), 220 * 0x010101u);
}

TEST(Jpeg, EveryTruncationFailsAndOwnsNothing) {
    const std::string whole = ColourJpeg();
    TTempFile file("pixwell_cut.jpg", whole);
    for (size_t length = 0; length < whole.size(); ++length) {
        file.Write(whole.substr(0, length));
        TLoaded loaded(file.Name());
        ASSERT_EQ(loaded.Result, 0) << "cut at " << length;
        ASSERT_TRUE(IsEmptyRecord(loaded.Dib)) << "cut at " << length;
    }
}

TEST(Jpeg, AbsurdDimensionsFailBeforeDecoding) {
    std::string bytes = ColourJpeg();
    const size_t frame = bytes.find("\xFF\xC0");
    ASSERT_NE(frame, std::string::npos);
    bytes.replace(frame + 5, 4, 4, '\xFF');  // after marker, length and precision: 65535 x 65535
    TTempFile file("pixwell_huge.jpg", bytes);
    TLoaded loaded(file.Name());
    EXPECT_EQ(loaded.Result, 0);
    EXPECT_TRUE(IsEmptyRecord(loaded.Dib));
}

}  // namespace
