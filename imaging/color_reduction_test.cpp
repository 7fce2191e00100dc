#include "imaging/color_reduction.h"

#include <gtest/gtest.h>

#include <cstring>

#include "classlib/core/exceptions.h"
#include "classlib/graphics/bmp_codec.h"
#include "classlib/graphics/test_pictures.h"

namespace {

struct TFileImage {
    BITMAPFILEHEADER file;
    BITMAPINFOHEADER info;
    std::vector<uint8_t> bytes;
};

TFileImage Convert(TBitmap& bitmap, TPixelFormat format, TReductionMethod method) {
    TOwned<TMemoryStream> stream(ConvertBitmapPixelFormat(&bitmap, format, method));
    EXPECT_EQ(stream->Position(), 0);
    TFileImage image{};
    image.bytes = stream->Bytes();
    if (stream->Size() < 54) {
        ADD_FAILURE() << "no bitmap file image";
        return image;
    }
    std::memcpy(&image.file, stream->Memory(), sizeof image.file);
    std::memcpy(&image.info, stream->Memory() + 14, sizeof image.info);
    return image;
}

TOwned<TBitmap> Colourful() {
    return MakeBitmap(21, 7, [](int x, int y) {
        const TColor plain[] = {clRed, clLime, clBlue, clWhite, clBlack, clGray, clYellow};
        return plain[(x + y) % 7];
    });
}

}  // namespace

TEST(ColorReductionOfBitmaps, EightBitsByEachMethod) {
    auto bitmap = Colourful();
    const std::pair<TReductionMethod, DWORD> methods[] = {{rmHistogram, 0},   {rmQuantize, 7},
                                                          {rmTruncate784, 224}, {rmTruncate666, 216},
                                                          {rmChannelCycle, 0}, {rmGrayscale, 0}};
    for (const auto& [method, important] : methods) {
        const TFileImage image = Convert(*bitmap, pf8bit, method);
        EXPECT_EQ(image.file.bfType, 0x4D42);
        EXPECT_EQ(image.info.biBitCount, 8);
        EXPECT_EQ(image.info.biClrImportant, important) << int(method);
        EXPECT_EQ(image.file.bfOffBits, 14u + 40 + 1024);
        EXPECT_EQ(image.info.biSizeImage, 24u * 7);
        EXPECT_EQ(image.file.bfSize, image.bytes.size());
        EXPECT_EQ(image.bytes.size(), 14u + 40 + 1024 + 24 * 7);
    }
    // Seven colours kept exactly by the histogram: the picture reads back the same.
    TOwned<TMemoryStream> stream(ConvertBitmapPixelFormat(bitmap.get(), pf8bit, rmHistogram));
    TBitmap read;
    read.LoadFromStream(*stream);
    EXPECT_EQ(read.Pixels32(), bitmap->Pixels32());
}

TEST(ColorReductionOfBitmaps, OtherDepthsAndTheBitmapsOwnImage) {
    auto bitmap = Colourful();
    const TFileImage four = Convert(*bitmap, pf4bit, rmHistogram);
    EXPECT_EQ(four.info.biBitCount, 4);
    EXPECT_EQ(four.file.bfOffBits, 14u + 40 + 64);
    TOwned<TMemoryStream> sixteen(ReduceBitmapToColorCount(bitmap.get(), 16));
    EXPECT_EQ(sixteen->Bytes(), four.bytes);
    TOwned<TMemoryStream> two(ReduceBitmapToColorCount(bitmap.get(), 2));
    EXPECT_EQ(two->Bytes()[28], 1);

    // Already 24 bits: its own file image, unless greys are asked for.
    TMemoryStream own;
    bitmap->SaveToStream(own);
    EXPECT_EQ(Convert(*bitmap, pf24bit, rmHistogram).bytes, own.Bytes());
    EXPECT_EQ(Convert(*bitmap, pf24bit, rmGrayscale).info.biBitCount, 24);

    TBitmap empty;
    EXPECT_EQ([&] {
        try {
            Convert(empty, pf8bit, rmHistogram);
        } catch (const EInvalidGraphic& e) {
            return e.Message();
        }
        return std::string();
    }(), "Bitmap ist ung\xFCltig");
}

TEST(ColorReductionOfBitmaps, EightBitSourcesGetAHeaderOfTheirNewImage) {
    // An 8-bit DIB of 16 used colours, made grey: the result's header
    // describes the full grey palette and the 8-bit rows, not the source's.
    TDibImage dib;
    dib.width = 5;
    dib.height = 3;
    dib.bitCount = 8;
    for (int i = 0; i < 16; ++i) dib.colors.push_back(uint32_t(i * 16) << 16);
    dib.bits.assign(dib.Stride() * 3, 15);
    TMemoryStream bmp;
    WriteBmpFile(bmp, dib);
    bmp.SetPosition(0);
    TBitmap bitmap;
    bitmap.SetHandleType(bmDIB);
    bitmap.LoadFromStream(bmp);
    ASSERT_EQ(bitmap.PixelFormat(), pf8bit);
    const TFileImage grey = Convert(bitmap, pf8bit, rmGrayscale);
    EXPECT_EQ(grey.info.biClrUsed, 0u);
    EXPECT_EQ(grey.info.biSizeImage, 8u * 3);
    EXPECT_EQ(grey.file.bfSize, grey.bytes.size());
    EXPECT_EQ(grey.bytes[grey.file.bfOffBits], (240 * 77) / 256) << "red 240 in grey";
}
