#include "classlib/graphics/bitmap.h"

#include <gtest/gtest.h>

#include "classlib/graphics/test_pictures.h"
#include "classlib/gui/scoped_win32.h"

namespace {

// A picture of `bpp` bits whose raw bits count up, so every pixel differs
// from its neighbours; palette images get a table of distinct colours.
TDibImage CountingDib(int width, int height, int bpp, uint32_t compression = kBiRgb) {
    TDibImage image;
    image.width = width;
    image.height = height;
    image.bitCount = static_cast<uint16_t>(bpp);
    image.compression = compression;
    if (compression == kBiBitfields) {
        image.masks[0] = 0xF800;
        image.masks[1] = 0x07E0;
        image.masks[2] = 0x001F;
    }
    if (bpp <= 8)
        for (uint32_t i = 0; i < (1u << bpp); ++i) image.colors.push_back((i * 0x3B5A27u) & 0xFFFFFF);
    image.bits.resize(image.Stride() * height);
    for (size_t i = 0; i < image.bits.size(); ++i) image.bits[i] = static_cast<uint8_t>(i * 37 + 11);
    // Padding bytes are not part of the picture: keep them zero.
    size_t used = (size_t(width) * bpp + 7) / 8;
    for (int y = 0; y < height; ++y)
        for (size_t i = used; i < image.Stride(); ++i) image.bits[y * image.Stride() + i] = 0;
    if (bpp == 32)
        for (size_t i = 3; i < image.bits.size(); i += 4) image.bits[i] = 0;
    return image;
}

TPixelFormat FormatOf(int bpp, uint32_t compression) {
    switch (bpp) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 16: return compression == kBiBitfields ? pf16bit : pf15bit;
    case 24: return pf24bit;
    default: return pf32bit;
    }
}

// The colour of pixel (x, y) of a bottom-up DIB as the file defines it.
uint32_t DibPixel(const TDibImage& image, int x, int y) {
    const uint8_t* row = image.bits.data() + image.Stride() * (image.height - 1 - y);
    switch (image.bitCount) {
    case 1: return image.colors[(row[x / 8] >> (7 - x % 8)) & 1];
    case 4: return image.colors[x % 2 ? row[x / 2] & 15 : row[x / 2] >> 4];
    case 8: return image.colors[row[x]];
    case 24: return row[3 * x] | row[3 * x + 1] << 8 | row[3 * x + 2] << 16;
    case 32: return (row[4 * x] | row[4 * x + 1] << 8 | row[4 * x + 2] << 16) & 0xFFFFFF;
    default: {
        uint16_t v = static_cast<uint16_t>(row[2 * x] | row[2 * x + 1] << 8);
        auto expand = [](uint32_t value, int bits) {
            return bits == 5 ? (value << 3 | value >> 2) : (value << 2 | value >> 4);
        };
        if (image.compression == kBiBitfields)
            return expand(v >> 11, 5) << 16 | expand(v >> 5 & 63, 6) << 8 | expand(v & 31, 5);
        return expand(v >> 10 & 31, 5) << 16 | expand(v >> 5 & 31, 5) << 8 | expand(v & 31, 5);
    }
    }
}

TEST(BitmapFiles, EveryDepthRoundTripsByteForByte) {
    struct Case { int bpp; uint32_t compression; };
    for (Case c : {Case{1, kBiRgb}, Case{4, kBiRgb}, Case{8, kBiRgb}, Case{16, kBiRgb}, Case{16, kBiBitfields},
                   Case{24, kBiRgb}, Case{32, kBiRgb}}) {
        SCOPED_TRACE(c.bpp * 10 + c.compression);
        TDibImage dib = CountingDib(13, 5, c.bpp, c.compression);
        std::vector<uint8_t> file = BmpBytes(dib);
        TMemoryStream in;
        SetBytes(in, file);
        TBitmap bitmap;
        bitmap.LoadFromStream(in);
        EXPECT_EQ(in.Position(), in.Size());
        EXPECT_EQ(bitmap.Width(), 13);
        EXPECT_EQ(bitmap.Height(), 5);
        EXPECT_EQ(bitmap.PixelFormat(), FormatOf(c.bpp, c.compression));
        EXPECT_EQ(bitmap.HandleType(), bmDIB);
        EXPECT_EQ(SavedBytes(bitmap), file);

        std::vector<uint32_t> pixels = bitmap.Pixels32();
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 13; ++x) ASSERT_EQ(pixels[y * 13 + x], DibPixel(dib, x, y)) << x << "," << y;
    }
}

TEST(BitmapFiles, TopDownFilesReadAsTheSamePicture) {
    TDibImage dib = CountingDib(6, 4, 24);
    std::vector<uint8_t> bottomUp = BmpBytes(dib);
    // The same picture stored top-down: negative height, rows reversed.
    std::vector<uint8_t> topDown = bottomUp;
    int32_t negative = -4;
    memcpy(&topDown[22], &negative, 4);
    size_t stride = dib.Stride(), start = 54;
    for (int y = 0; y < 4; ++y)
        memcpy(&topDown[start + stride * y], &bottomUp[start + stride * (3 - y)], stride);

    TBitmap a, b;
    TMemoryStream sa, sb;
    SetBytes(sa, bottomUp);
    SetBytes(sb, topDown);
    a.LoadFromStream(sa);
    b.LoadFromStream(sb);
    EXPECT_EQ(a.Pixels32(), b.Pixels32());
    EXPECT_EQ(SavedBytes(b), bottomUp);
}

TEST(BitmapFiles, OldCoreHeadersAndShortColourTables) {
    // 2x1, 1 bit, 12-byte header with RGB triples.
    std::vector<uint8_t> file = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 32, 0, 0, 0,
                                 12, 0, 0, 0, 2, 0, 1, 0, 1, 0, 1, 0,
                                 0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00,  // red, green (B, G, R)
                                 0x40, 0, 0, 0};
    TMemoryStream in;
    SetBytes(in, file);
    TBitmap bitmap;
    bitmap.LoadFromStream(in);
    EXPECT_EQ(bitmap.Pixels32(), (std::vector<uint32_t>{0xFF0000, 0x00FF00}));

    // An 8-bit file with two colours in use (biClrUsed = 2).
    TDibImage dib;
    dib.width = 3;
    dib.height = 1;
    dib.bitCount = 8;
    dib.colors = {0x123456, 0xABCDEF};
    dib.bits = {1, 0, 1, 0};
    std::vector<uint8_t> small = BmpBytes(dib);
    EXPECT_EQ(small.size(), 14u + 40 + 2 * 4 + 4);  // only the used colours are written
    SetBytes(in, small);
    bitmap.LoadFromStream(in);
    EXPECT_EQ(bitmap.Pixels32(), (std::vector<uint32_t>{0xABCDEF, 0x123456, 0xABCDEF}));
    EXPECT_EQ(SavedBytes(bitmap).size(), 14u + 40 + 256 * 4 + 4);  // a DIB section has a full table
}

std::vector<uint8_t> RleFile(int bpp, const std::vector<uint8_t>& data, int width, int height) {
    std::vector<uint8_t> file = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0};
    uint32_t offset = 14 + 40 + 4 * 4;
    auto put32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) file.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    put32(offset);
    put32(40);
    put32(width);
    put32(height);
    file.push_back(1);
    file.push_back(0);
    file.push_back(static_cast<uint8_t>(bpp));
    file.push_back(0);
    put32(bpp == 8 ? kBiRle8 : kBiRle4);
    put32(static_cast<uint32_t>(data.size()));
    put32(0);
    put32(0);
    put32(4);
    put32(0);
    for (uint32_t c : {0x000000u, 0xFF0000u, 0x00FF00u, 0x0000FFu}) put32(c);
    file.insert(file.end(), data.begin(), data.end());
    return file;
}

TEST(BitmapFiles, RunLengthEncodedFilesAreDecoded) {
    const uint32_t K = 0x000000, R = 0xFF0000, G = 0x00FF00, B = 0x0000FF;
    // Bottom row: 3 red, 1 blue; top row: absolute green, blue, red, then a
    // delta that leaves the last pixel at index 0.
    std::vector<uint8_t> rle8 = {3, 1, 1, 3, 0, 0, 0, 3, 2, 3, 1, 0, 0, 1};
    TMemoryStream in;
    SetBytes(in, RleFile(8, rle8, 4, 2));
    TBitmap bitmap;
    bitmap.LoadFromStream(in);
    EXPECT_EQ(bitmap.PixelFormat(), pf8bit);
    EXPECT_EQ(bitmap.Pixels32(), (std::vector<uint32_t>{G, B, R, K, R, R, R, B}));

    // RLE4: runs alternate the two nibbles.
    std::vector<uint8_t> rle4 = {4, 0x12, 0, 0, 0, 4, 0x33, 0x21, 0, 1};
    SetBytes(in, RleFile(4, rle4, 4, 2));
    bitmap.LoadFromStream(in);
    EXPECT_EQ(bitmap.PixelFormat(), pf4bit);
    EXPECT_EQ(bitmap.Pixels32(), (std::vector<uint32_t>{B, B, G, R, R, G, R, G}));

    // Runs past the right edge are clipped, data without an end is cut off.
    SetBytes(in, RleFile(8, {9, 2, 0, 1}, 4, 1));
    bitmap.LoadFromStream(in);
    EXPECT_EQ(bitmap.Pixels32(), (std::vector<uint32_t>{G, G, G, G}));
    SetBytes(in, RleFile(8, {2, 2, 2}, 4, 1));
    EXPECT_THROW(bitmap.LoadFromStream(in), EInvalidGraphic);
}

TEST(BitmapFiles, TruncationAtEveryOffsetFailsAndChangesNothing) {
    std::vector<uint8_t> file = BmpBytes(CountingDib(3, 2, 8));
    auto original = MakeBitmap(2, 2, [](int x, int) { return x ? clRed : clBlue; });
    std::vector<uint8_t> before = SavedBytes(*original);
    int changes = 0;
    original->OnChange = [&](TObject*) { ++changes; };
    for (size_t cut = 0; cut < file.size(); ++cut) {
        TMemoryStream in;
        SetBytes(in, std::vector<uint8_t>(file.begin(), file.begin() + cut));
        EXPECT_THROW(original->LoadFromStream(in), EInvalidGraphic) << cut;
    }
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(SavedBytes(*original), before);
}

TEST(BitmapFiles, CorruptHeadersAreRejected) {
    std::vector<uint8_t> good = BmpBytes(CountingDib(4, 4, 16, kBiBitfields));
    auto corrupt = [&](size_t offset, uint32_t value, int size = 4) {
        std::vector<uint8_t> bad = good;
        memcpy(&bad[offset], &value, size);
        TMemoryStream in;
        SetBytes(in, bad);
        TBitmap bitmap;
        EXPECT_THROW(bitmap.LoadFromStream(in), EInvalidGraphic) << offset << " = " << value;
    };
    corrupt(0, 'X', 1);                 // signature
    corrupt(10, 0);                     // pixel offset
    corrupt(10, 20);                    // pixel offset inside the header
    corrupt(14, 20);                    // info header size
    corrupt(18, 0);                     // width
    corrupt(18, 0x7FFFFFFF);            // absurd width
    corrupt(22, 0);                     // height
    corrupt(22, 0x80000000u);           // most negative height
    corrupt(28, 7, 2);                  // bit count
    corrupt(30, 4);                     // JPEG inside BMP
    corrupt(54, 0x07E0);                // overlapping masks
    corrupt(54, 0x0F0F);                // broken mask
    corrupt(54, 0x10000);               // mask beyond 16 bits
    std::vector<uint8_t> eight = BmpBytes(CountingDib(2, 2, 8));
    memcpy(&eight[46], "\x01\x01\x00\x00", 4);  // 257 colours for 8 bits
    TMemoryStream in;
    SetBytes(in, eight);
    TBitmap bitmap;
    EXPECT_THROW(bitmap.LoadFromStream(in), EInvalidGraphic);
}

TEST(BitmapImage, SizeChangesKeepThePictureAtTheTopLeft) {
    auto bitmap = MakeBitmap(2, 2, [](int x, int y) { return x == 0 && y == 0 ? clRed : clBlue; });
    int changes = 0;
    bitmap->OnChange = [&](TObject*) { ++changes; };
    bitmap->SetSize(3, 3);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(bitmap->Pixels32(), (std::vector<uint32_t>{0xFF0000, 0x0000FF, 0xFFFFFF, 0x0000FF, 0x0000FF, 0xFFFFFF,
                                                         0xFFFFFF, 0xFFFFFF, 0xFFFFFF}));
    bitmap->SetWidth(1);
    EXPECT_EQ(bitmap->Pixels32(), (std::vector<uint32_t>{0xFF0000, 0x0000FF, 0xFFFFFF}));
    EXPECT_EQ(bitmap->PixelFormat(), pf24bit);

    // A zero side empties the bitmap; the other side is remembered.
    bitmap->SetHeight(0);
    EXPECT_TRUE(bitmap->Empty());
    EXPECT_EQ(bitmap->Width(), 1);
    bitmap->SetHeight(2);
    EXPECT_FALSE(bitmap->Empty());
    EXPECT_EQ(bitmap->Width(), 1);

    TBitmap fresh;
    fresh.SetWidth(16);
    EXPECT_TRUE(fresh.Empty());
    fresh.SetHeight(8);
    EXPECT_EQ(fresh.HandleType(), bmDDB);
    EXPECT_EQ(fresh.PixelFormat(), pfDevice);
    EXPECT_EQ(fresh.Pixels32(), std::vector<uint32_t>(16 * 8, 0xFFFFFF));
}

TEST(BitmapImage, ConvertingThePixelFormatKeepsThePicture) {
    const TColor colours[] = {clBlack, clMaroon, clGreen, clNavy, clTeal, clSilver, clRed, clLime, clBlue, clWhite};
    auto bitmap = MakeBitmap(10, 3, [&](int x, int) { return colours[x]; });
    const std::vector<uint32_t> original = bitmap->Pixels32();
    for (TPixelFormat pf : {pf32bit, pf8bit, pf4bit, pfDevice, pf24bit, pf16bit, pf15bit}) {
        SCOPED_TRACE(pf);
        bitmap->SetPixelFormat(pf);
        EXPECT_EQ(bitmap->PixelFormat(), pf);
        EXPECT_EQ(bitmap->HandleType(), pf == pfDevice ? bmDDB : bmDIB);
        std::vector<uint32_t> now = bitmap->Pixels32();
        for (size_t i = 0; i < now.size(); ++i)
            ASSERT_TRUE(Near(now[i], original[i], pf == pf15bit || pf == pf16bit ? 8 : 0))
                << i << ": " << std::hex << now[i] << " for " << original[i];
    }
    bitmap->SetMonochrome(true);
    EXPECT_TRUE(bitmap->Monochrome());
    EXPECT_EQ(bitmap->PixelFormat(), pf1bit);
    std::vector<uint32_t> mono = bitmap->Pixels32();
    EXPECT_EQ(mono[0], 0x000000u);
    EXPECT_EQ(mono[9], 0xFFFFFFu);
    EXPECT_THROW(bitmap->SetPixelFormat(pfCustom), EInvalidGraphic);
}

TEST(BitmapImage, ScanLinesCountFromTheTop) {
    auto bitmap = MakeBitmap(2, 3, [](int, int y) { return y == 0 ? clRed : y == 2 ? clBlue : clWhite; });
    auto* top = static_cast<uint8_t*>(bitmap->ScanLine(0));
    auto* bottom = static_cast<uint8_t*>(bitmap->ScanLine(2));
    EXPECT_EQ(top[2], 0xFF);   // B, G, R
    EXPECT_EQ(top[0], 0x00);
    EXPECT_EQ(bottom[0], 0xFF);
    EXPECT_THROW(bitmap->ScanLine(3), EInvalidGraphic);
    EXPECT_THROW(bitmap->ScanLine(-1), EInvalidGraphic);

    // A device bitmap becomes a DIB for its scan lines.
    bitmap->SetPixelFormat(pfDevice);
    EXPECT_NE(bitmap->ScanLine(1), nullptr);
    EXPECT_EQ(bitmap->HandleType(), bmDIB);
}

TEST(BitmapImage, CanvasDrawsIntoTheBitmapAndReportsChanges) {
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(4, 4);
    int changes = 0;
    bitmap.OnChange = [&](TObject*) { ++changes; };
    bitmap.Canvas()->Brush().SetColor(clRed);
    bitmap.Canvas()->FillRect(Rect(0, 0, 2, 4));
    EXPECT_GT(changes, 0);
    EXPECT_EQ(bitmap.Canvas()->Pixel(1, 1), clRed);
    // Reading the pixels frees the canvas's device context; drawing again
    // gets a new one.
    EXPECT_EQ(bitmap.Pixels32()[0], 0xFF0000u);
    bitmap.Canvas()->SetPixel(3, 3, clLime);
    EXPECT_EQ(bitmap.Pixels32()[15], 0x00FF00u);
    bitmap.Dormant();
    EXPECT_EQ(bitmap.Canvas()->Pixel(3, 3), clLime);
}

TEST(BitmapImage, AssignCopiesIndependently) {
    auto source = MakeBitmap(3, 2, [](int x, int) { return x ? clGreen : clYellow; });
    source->SetTransparentColor(clGreen);
    source->SetTransparent(true);
    TBitmap copy;
    copy.Assign(source.get());
    EXPECT_EQ(copy.Pixels32(), source->Pixels32());
    EXPECT_EQ(copy.PixelFormat(), pf24bit);
    EXPECT_TRUE(copy.Transparent());
    EXPECT_EQ(copy.TransparentMode(), tmFixed);
    copy.Canvas()->SetPixel(0, 0, clBlack);
    EXPECT_EQ(source->Pixels32()[0], 0xFFFF00u);
    copy.Assign(nullptr);
    EXPECT_TRUE(copy.Empty());
    EXPECT_EQ(copy.Width(), 0);
}

TEST(BitmapImage, HandlesAreAdoptedAndReleased) {
    HBITMAP device = CreateCompatibleBitmap(TWindowDC(nullptr), 5, 7);
    TBitmap bitmap;
    int changes = 0;
    bitmap.OnChange = [&](TObject*) { ++changes; };
    bitmap.SetHandle(device);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(bitmap.Handle(), device);
    EXPECT_EQ(bitmap.HandleType(), bmDDB);
    EXPECT_EQ(bitmap.Width(), 5);
    EXPECT_EQ(bitmap.Height(), 7);
    bitmap.Canvas()->Pixel(0, 0);  // selected into the canvas's DC
    EXPECT_EQ(bitmap.ReleaseHandle(), device);
    EXPECT_TRUE(bitmap.Empty());
    BITMAP info{};
    EXPECT_TRUE(GetObjectA(device, sizeof info, &info));  // still alive, now ours
    TGdiObject ours(device);

    // A palette DIB brings its palette.
    TMemoryStream in;
    SetBytes(in, BmpBytes(CountingDib(2, 2, 4)));
    bitmap.LoadFromStream(in);
    ASSERT_NE(bitmap.Palette(), nullptr);
    PALETTEENTRY entry{};
    GetPaletteEntries(bitmap.Palette(), 1, 1, &entry);
    EXPECT_EQ(uint32_t(entry.peRed) << 16 | entry.peGreen << 8 | entry.peBlue, 0x3B5A27u);
}

TEST(BitmapTransparency, TheBottomLeftPixelIsTransparentByDefault) {
    auto bitmap = MakeBitmap(3, 3, [](int x, int y) { return x == 0 && y == 2 ? clFuchsia : clRed; });
    EXPECT_EQ(bitmap->TransparentMode(), tmAuto);
    EXPECT_EQ(bitmap->TransparentColor(), clFuchsia);
    bitmap->SetTransparentColor(clRed);
    EXPECT_EQ(bitmap->TransparentMode(), tmFixed);
    EXPECT_EQ(bitmap->TransparentColor(), clRed);
    bitmap->SetTransparentMode(tmAuto);
    EXPECT_EQ(bitmap->TransparentColor(), clFuchsia);
    bitmap->SetTransparentMode(tmFixed);  // keeps the colour it had
    EXPECT_EQ(bitmap->TransparentColor(), clFuchsia);
    TBitmap empty;
    EXPECT_EQ(empty.TransparentColor(), clDefault);
}

TEST(BitmapTransparency, DrawingLeavesTheBackgroundWhereTheColourIs) {
    // A red square with a fuchsia border and a fuchsia corner pixel.
    auto bitmap = MakeBitmap(4, 4, [](int x, int y) {
        return x == 0 || y == 3 || (x == 3 && y == 0) ? clFuchsia : clRed;
    });
    bitmap->SetTransparent(true);
    TMemorySurface surface(12, 12, clGreen);
    surface.Canvas().Draw(1, 1, bitmap.get());
    const uint32_t green = 0x008000, red = 0xFF0000;
    EXPECT_EQ(surface.At(0, 0), green);     // outside
    EXPECT_EQ(surface.At(1, 1), green);     // transparent column
    EXPECT_EQ(surface.At(2, 1), red);
    EXPECT_EQ(surface.At(4, 1), green);     // transparent corner
    EXPECT_EQ(surface.At(3, 3), red);
    EXPECT_EQ(surface.At(2, 4), green);     // transparent bottom row

    // The mask is white exactly where the transparent colour is.
    HBITMAP mask = bitmap->MaskHandle();
    ASSERT_NE(mask, nullptr);
    {
        TMemoryDC dc;
        TSelectedObject selected(dc, mask);
        EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 255, 255));
        EXPECT_EQ(GetPixel(dc, 1, 1), RGB(0, 0, 0));
    }

    // Stretched to twice the size, and opaque when not transparent.
    TMemorySurface big(8, 8, clGreen);
    big.Canvas().StretchDraw(Rect(0, 0, 8, 8), bitmap.get());
    EXPECT_EQ(big.At(1, 3), green);
    EXPECT_EQ(big.At(3, 3), red);
    EXPECT_EQ(big.At(5, 5), red);
    EXPECT_EQ(big.At(6, 0), green);
    bitmap->SetTransparent(false);
    TMemorySurface opaque(4, 4, clGreen);
    opaque.Canvas().Draw(0, 0, bitmap.get());
    EXPECT_EQ(opaque.At(0, 0), 0xFF00FFu);
}

TEST(BitmapResources, BitmapResourcesAreLoadedByNameAndNumber) {
    // The common controls carry their toolbar bitmaps as resource 120.
    HINSTANCE comctl = GetModuleHandleA("comctl32.dll");
    ASSERT_NE(comctl, nullptr);
    TBitmap byId, byName;
    byId.LoadFromResourceID(comctl, 120);
    byName.LoadFromResourceName(comctl, "#120");
    EXPECT_FALSE(byId.Empty());
    EXPECT_EQ(byId.Pixels32(), byName.Pixels32());
    EXPECT_THROW(byName.LoadFromResourceName(comctl, "NO_SUCH_BITMAP"), EResNotFound);
    EXPECT_FALSE(byName.Empty());
}

TEST(BitmapClipboard, ClipboardBitmapsAreCopied) {
    auto source = MakeBitmap(3, 2, [](int x, int) { return x == 1 ? clBlue : clYellow; });
    UINT format = 0;
    HANDLE data = nullptr;
    HPALETTE palette = nullptr;
    source->SaveToClipboardFormat(format, data, palette);
    EXPECT_EQ(format, static_cast<UINT>(CF_BITMAP));
    ASSERT_NE(data, nullptr);
    TGdiObject ownedData(data);
    TBitmap copy;
    copy.LoadFromClipboardFormat(format, data, palette);
    EXPECT_EQ(copy.Pixels32(), source->Pixels32());
    EXPECT_NE(copy.Handle(), data);
    EXPECT_THROW(copy.LoadFromClipboardFormat(CF_TEXT, data, nullptr), EInvalidGraphic);
}

}  // namespace
