// JPEG files through OpenDib, written here with libjpeg's compressor.
#include <gtest/gtest.h>

#include <cstdlib>

#include <jpeglib.h>

#include "pixwell.h"
#include "test_pictures.h"

using namespace test_pictures;

namespace {

// Compresses `rgb` (rows top to bottom, 3 or 1 bytes per pixel) at full
// quality without chroma subsampling, so flat areas come back exact or
// nearly so.
std::string MakeJpeg(int width, int height, int components, const std::vector<uint8_t>& pixels) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = width;
    info.image_height = height;
    info.input_components = components;
    info.in_color_space = components == 3 ? JCS_RGB : JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    for (int i = 0; i < info.num_components; ++i) info.comp_info[i].h_samp_factor = info.comp_info[i].v_samp_factor = 1;
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(pixels.data() + size_t(info.next_scanline) * width * components);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::string file(reinterpret_cast<char*>(buffer), size);
    std::free(buffer);
    return file;
}

// 16 x 16: top half red, bottom half blue, with a green left quarter.
std::string ColourJpeg() {
    std::vector<uint8_t> rgb;
    for (int row = 0; row < 16; ++row)
        for (int x = 0; x < 16; ++x) {
            if (x < 8 && row >= 8)
                rgb.insert(rgb.end(), {0, 255, 0});
            else if (row < 8)
                rgb.insert(rgb.end(), {255, 0, 0});
            else
                rgb.insert(rgb.end(), {0, 0, 255});
        }
    return MakeJpeg(16, 16, 3, rgb);
}

bool Near(uint32_t colour, uint32_t expected) {
    for (int shift : {0, 8, 16})
        if (std::abs(int(colour >> shift & 0xFF) - int(expected >> shift & 0xFF)) > 4) return false;
    return true;
}

TEST(Jpeg, ColourPictureLoadsAsBottomUp24Bit) {
    TTempFile file("pixwell_colour.jpg", ColourJpeg());
    TLoaded loaded(file.Name());
    ASSERT_EQ(loaded.Result, 1);
    ASSERT_NE(loaded.Dib.Bits, nullptr);
    EXPECT_EQ(InfoWidth(loaded.Dib), 16);
    EXPECT_EQ(InfoHeight(loaded.Dib), 16);
    EXPECT_EQ(InfoBitCount(loaded.Dib), 24);
    EXPECT_EQ(loaded.Dib.BytesPerLine, 48);
    EXPECT_EQ(loaded.Dib.HasPalette, 0);
    // Stored row 0 is the bottom of the picture.
    EXPECT_PRED2(Near, getpixel(loaded.Dib, 2, 2), 0x00FF00u);
    EXPECT_PRED2(Near, getpixel(loaded.Dib, 13, 2), 0xFF0000u);
    EXPECT_PRED2(Near, getpixel(loaded.Dib, 2, 13), 0x0000FFu);
    EXPECT_PRED2(Near, getpixel(loaded.Dib, 13, 13), 0x0000FFu);
}

TEST(Jpeg, GreyPictureLoadsAs24BitGrey) {
    std::vector<uint8_t> grey;
    for (int row = 0; row < 8; ++row)
        for (int x = 0; x < 24; ++x) grey.push_back(x < 8 ? 40 : x < 16 ? 128 : 220);
    TTempFile file("pixwell_grey.jpg", MakeJpeg(24, 8, 1, grey));
    TLoaded loaded(file.Name());
    ASSERT_NE(loaded.Dib.Bits, nullptr);
    EXPECT_EQ(InfoBitCount(loaded.Dib), 24);
    for (int x : {3, 12, 20}) {
        const uint32_t value = grey[x];
        const uint32_t pixel = getpixel(loaded.Dib, x, 4);
        EXPECT_EQ(pixel & 0xFF, pixel >> 8 & 0xFF);
        EXPECT_EQ(pixel & 0xFF, pixel >> 16);
        EXPECT_PRED2(Near, pixel, value | value << 8 | value << 16);
    }
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
    // Frame header: marker, length, precision, height, width.
    bytes[frame + 5] = bytes[frame + 6] = bytes[frame + 7] = bytes[frame + 8] = '\xFF';
    TTempFile file("pixwell_huge.jpg", bytes);
    TLoaded loaded(file.Name());
    EXPECT_EQ(loaded.Result, 0);
    EXPECT_TRUE(IsEmptyRecord(loaded.Dib));
}

TEST(Jpeg, DamagedBytesNeverCrash) {
    const std::string whole = ColourJpeg();
    TTempFile file("pixwell_flip.jpg", whole);
    int failures = 0;
    for (size_t at = 0; at < whole.size(); ++at) {
        std::string bytes = whole;
        bytes[at] = static_cast<char>(bytes[at] ^ 0x5A);
        file.Write(bytes);
        TLoaded loaded(file.Name());
        if (loaded.Result) {
            ASSERT_NE(loaded.Dib.Bits, nullptr);
            ASSERT_EQ(InfoBitCount(loaded.Dib), 24);
        } else {
            ++failures;
            ASSERT_TRUE(IsEmptyRecord(loaded.Dib)) << "byte " << at;
        }
    }
    EXPECT_GT(failures, 0);
}

}  // namespace
