#include "classlib/graphics/jpeg.h"

#include <gtest/gtest.h>

#include "classlib/graphics/test_pictures.h"

namespace {

// Four flat quarters: flat areas survive compression nearly unchanged.
TOwned<TBitmap> Quarters(int width, int height) {
    return MakeBitmap(width, height, [=](int x, int y) {
        bool right = x >= width / 2, lower = y >= height / 2;
        return lower ? (right ? clWhite : clBlue) : (right ? clLime : clRed);
    });
}

std::vector<uint8_t> JpegBytes(TBitmap& bitmap, int quality = 90) {
    TJPEGImage jpeg;
    jpeg.SetCompressionQuality(quality);
    jpeg.Assign(&bitmap);
    return SavedBytes(jpeg);
}

void Load(TJPEGImage& jpeg, const std::vector<uint8_t>& bytes) {
    TMemoryStream in;
    SetBytes(in, bytes);
    jpeg.LoadFromStream(in);
}

TEST(Jpeg, WrittenPicturesReadBackWithTheirSizeAndColours) {
    auto bitmap = Quarters(64, 48);
    std::vector<uint8_t> bytes = JpegBytes(*bitmap);
    ASSERT_GT(bytes.size(), 4u);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xD8);

    TJPEGImage jpeg;
    int changes = 0;
    jpeg.OnChange = [&](TObject*) { ++changes; };
    Load(jpeg, bytes);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(jpeg.Width(), 64);
    EXPECT_EQ(jpeg.Height(), 48);
    TMemorySurface surface(64, 48, clBlack);
    surface.Canvas().Draw(0, 0, &jpeg);
    EXPECT_TRUE(Near(surface.At(10, 10), 0xFF0000, 12)) << std::hex << surface.At(10, 10);
    EXPECT_TRUE(Near(surface.At(50, 10), 0x00FF00, 12)) << std::hex << surface.At(50, 10);
    EXPECT_TRUE(Near(surface.At(10, 40), 0x0000FF, 12)) << std::hex << surface.At(10, 40);
    EXPECT_TRUE(Near(surface.At(50, 40), 0xFFFFFF, 12)) << std::hex << surface.At(50, 40);
    // Loaded data is saved as it was read.
    EXPECT_EQ(SavedBytes(jpeg), bytes);

    // As a bitmap, through Assign.
    TBitmap back;
    back.Assign(&jpeg);
    EXPECT_EQ(back.Width(), 64);
    EXPECT_TRUE(Near(back.Pixels32()[10 * 64 + 10], 0xFF0000, 12));
}

TEST(Jpeg, QualityScaleAndEightBitDecoding) {
    auto bitmap = MakeBitmap(64, 64, [](int x, int y) { return static_cast<TColor>((x * 4) | (y * 4) << 8 | 0x400000); });
    std::vector<uint8_t> fine = JpegBytes(*bitmap, 95), coarse = JpegBytes(*bitmap, 10);
    EXPECT_LT(coarse.size(), fine.size());

    TJPEGImage jpeg;
    Load(jpeg, fine);
    jpeg.SetScale(jsHalf);
    EXPECT_EQ(jpeg.Width(), 32);
    EXPECT_EQ(jpeg.Bitmap()->Height(), 32);
    jpeg.SetScale(jsEighth);
    EXPECT_EQ(jpeg.Bitmap()->Width(), 8);
    jpeg.SetScale(jsQuarter);
    EXPECT_EQ(jpeg.Height(), 16);

    jpeg.SetScale(jsFullSize);
    jpeg.SetPixelFormat(jf8Bit);
    TBitmap* quantised = jpeg.Bitmap();
    EXPECT_EQ(quantised->PixelFormat(), pf8bit);
    EXPECT_EQ(quantised->Width(), 64);
    std::vector<uint32_t> original = bitmap->Pixels32(), now = quantised->Pixels32();
    for (size_t i = 0; i < now.size(); i += 97) ASSERT_TRUE(Near(now[i], original[i], 24)) << i;
}

TEST(Jpeg, TruncationAtEveryOffsetFailsAndChangesNothing) {
    auto bitmap = Quarters(16, 16);
    std::vector<uint8_t> bytes = JpegBytes(*bitmap);
    TJPEGImage jpeg;
    Load(jpeg, JpegBytes(*Quarters(8, 8)));
    const std::vector<uint8_t> before = SavedBytes(jpeg);
    int changes = 0;
    jpeg.OnChange = [&](TObject*) { ++changes; };
    for (size_t cut = 0; cut < bytes.size(); ++cut)
        EXPECT_THROW(Load(jpeg, std::vector<uint8_t>(bytes.begin(), bytes.begin() + cut)), EInvalidGraphic) << cut;
    std::vector<uint8_t> garbage(200, 0x5A);
    EXPECT_THROW(Load(jpeg, garbage), EInvalidGraphic);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(SavedBytes(jpeg), before);
    EXPECT_EQ(jpeg.Width(), 8);
}

TEST(Jpeg, TheSizeIsTheImages) {
    TJPEGImage jpeg;
    EXPECT_TRUE(jpeg.Empty());
    EXPECT_THROW(jpeg.SetWidth(10), EInvalidGraphicOperation);
    jpeg.SetCompressionQuality(0);
    EXPECT_EQ(jpeg.CompressionQuality(), 1);
    jpeg.SetCompressionQuality(101);
    EXPECT_EQ(jpeg.CompressionQuality(), 100);
}

}  // namespace
