#include "imaging/gif_image.h"

#include <gtest/gtest.h>

#include <optional>

#include "classlib/core/exceptions.h"
#include "classlib/core/filer.h"
#include "classlib/graphics/bmp_codec.h"
#include "classlib/graphics/image.h"
#include "classlib/graphics/picture.h"
#include "classlib/graphics/register_graphics.h"
#include "classlib/graphics/test_pictures.h"
#include "classlib/gui/forms.h"
#include "classlib/testing/gui_testing.h"
#include "imaging/codecs/gif_samples.h"
#include "classlib/gui/scoped_win32.h"

namespace {

// The sample table's colour i as 0x00RRGGBB.
uint32_t SampleRgb(int i) {
    return uint32_t(i & 255) << 16 | uint32_t(255 - (i & 255)) << 8 | uint32_t((7 * i) & 255);
}
TColor SampleColor(int i) {
    return static_cast<TColor>(Rgb(static_cast<TColor>(SampleRgb(i))));
}

void Load(TGIFImage& gif, const std::vector<uint8_t>& bytes) {
    TMemoryStream stream;
    SetBytes(stream, bytes);
    gif.LoadFromStream(stream);
}

std::vector<uint8_t> Saved(TGIFImage& gif) {
    TMemoryStream stream;
    gif.SaveToStream(stream);
    return stream.Bytes();
}

std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Exception& e) {
        return e.Message();
    }
    return "";
}

// Two frames of different sizes on a 16-colour table.
std::vector<uint8_t> TwoFrames() {
    return TGifBuilder(6, 4, 4)
        .Loop(2)
        .GraphicControl(0x01, 10, 5)
        .Image(0, 0, 6, 4, SampleIndexes(6, 4, 4, 1), 4)
        .GraphicControl(0x00, 20, 0)
        .Image(1, 1, 3, 2, {1, 2, 3, 4, 5, 6}, 4)
        .Finish();
}

// The bytes of "Picture.Data = {...}" in a layout text.
std::vector<uint8_t> PictureData(const std::string& text) {
    const size_t start = text.find("Picture.Data = {");
    if (start == std::string::npos) return {};
    const size_t end = text.find('}', start);
    std::string hex;
    for (size_t i = start + 16; i < end; ++i)
        if (isxdigit(static_cast<unsigned char>(text[i]))) hex += text[i];
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

std::vector<uint32_t> ExpectedRgb(const std::vector<uint8_t>& indexes) {
    std::vector<uint32_t> rgb;
    for (uint8_t i : indexes) rgb.push_back(SampleRgb(i));
    return rgb;
}

}  // namespace

TEST(GIFImage, AnEmptyPicture) {
    TGIFImage gif;
    EXPECT_TRUE(gif.Empty());
    EXPECT_EQ(gif.Width(), 0);
    EXPECT_EQ(gif.Height(), 0);
    EXPECT_EQ(gif.Palette(), nullptr);
    EXPECT_TRUE(gif.TGraphic::Transparent()) << "transparent after creation";
    EXPECT_EQ(gif.CurrentFrame(), -1);
    EXPECT_EQ(ErrorOf([&] { gif.SetWidth(5); }), "Cannot change the Size of a GIF image");
    EXPECT_THROW(gif.SetHeight(5), EInvalidGraphicOperation);
    EXPECT_EQ(ErrorOf([&] { Saved(gif); }), "No GIF Data to write");
    TMemorySurface surface(8, 8, clYellow);
    gif.Draw(&surface.Canvas(), Rect(0, 0, 8, 8));
    EXPECT_EQ(surface.At(3, 3), 0xFFFF00u);

    gif.CurrentBitmap();
    EXPECT_EQ(gif.FrameCount(), 1) << "asking for the bitmap makes one empty frame";
    EXPECT_TRUE(gif.Empty());
}

TEST(GIFImage, LoadsFramesDecodingTheFirstOnly) {
    TGIFImage gif;
    int changes = 0;
    gif.OnChange = [&](TObject*) { ++changes; };
    Load(gif, TwoFrames());
    EXPECT_EQ(changes, 1);
    ASSERT_EQ(gif.FrameCount(), 2);
    EXPECT_EQ(gif.CurrentFrame(), 0);
    EXPECT_NE(gif.Frames(0)->DecodedBitmap(), nullptr);
    EXPECT_EQ(gif.Frames(1)->DecodedBitmap(), nullptr);
    EXPECT_TRUE(gif.LoopEnabled);
    EXPECT_EQ(gif.LoopCount, 2);
    EXPECT_EQ(gif.Frames(0)->DelayTime, 100);
    EXPECT_EQ(gif.Frames(0)->TransparentColor, SampleColor(5));
    EXPECT_EQ(gif.Frames(1)->TransparentColor, clNone);
    EXPECT_TRUE(gif.Transparent());
    EXPECT_EQ(gif.Width(), 6);
    EXPECT_EQ(gif.Frames(0)->GetBitmap()->Pixels32(), ExpectedRgb(SampleIndexes(6, 4, 4, 1)));

    gif.SetCurrentFrame(1);
    EXPECT_EQ(gif.Width(), 3) << "the current frame's size, not the screen's";
    EXPECT_EQ(gif.Height(), 2);
    EXPECT_EQ(gif.Frames(1)->GetBitmap()->Pixels32(), ExpectedRgb({1, 2, 3, 4, 5, 6}));
}

TEST(GIFImage, ReadPicturesAreWrittenBackUnchanged) {
    const auto bytes = TwoFrames();
    TGIFImage gif;
    Load(gif, bytes);
    EXPECT_EQ(Saved(gif), bytes);

    // Layouts and the clipboard carry a 32-bit size first.
    TMemoryStream data;
    gif.WriteData(data);
    ASSERT_EQ(data.Size(), int64_t(bytes.size() + 4));
    EXPECT_EQ(*reinterpret_cast<const int32_t*>(data.Memory()), int32_t(bytes.size()));
    TGIFImage copy;
    data.SetPosition(0);
    copy.ReadData(data);
    EXPECT_EQ(copy.FrameCount(), 2);
    EXPECT_EQ(Saved(copy), bytes);
}

TEST(GIFImage, SizePrefixesAreCheckedBeforeReading) {
    const auto bytes = TwoFrames();
    for (int32_t size : {int32_t(bytes.size() + 1), int32_t(-1), INT32_MAX}) {
        TMemoryStream data;
        data.WriteBuffer(&size, 4);
        data.WriteBuffer(bytes.data(), int32_t(bytes.size()));
        data.SetPosition(0);
        TGIFImage gif;
        EXPECT_EQ(ErrorOf([&] { gif.ReadData(data); }), "Stream-Read-Fehler") << size;
        EXPECT_EQ(gif.FrameCount(), 0);
    }
    TMemoryStream shortPrefix;
    shortPrefix.WriteBuffer("\x01\x00", 2);
    shortPrefix.SetPosition(0);
    TGIFImage gif;
    EXPECT_THROW(gif.ReadData(shortPrefix), EReadError);
}

TEST(GIFImage, EveryTruncationEndsInTheLayersErrorOrAPicture) {
    const auto bytes = TwoFrames();
    for (size_t size = 0; size < bytes.size(); ++size) {
        TGIFImage gif;
        try {
            Load(gif, std::vector<uint8_t>(bytes.begin(), bytes.begin() + long(size)));
        } catch (const EInvalidGraphicOperation&) {
        } catch (const EReadError&) {
        }
        for (int i = 0; i < gif.FrameCount(); ++i) {
            try {
                gif.Frames(i)->GetBitmap();
            } catch (const EInvalidGraphicOperation&) {
            }
        }
    }
}

TEST(GIFImage, AFirstFrameThatCannotBeDecodedIsDropped) {
    // No colour table anywhere for the first frame; the second has its own.
    const auto bytes = TGifBuilder(2, 1, 0).Image(0, 0, 2, 1, {0, 1}, 1).Image(0, 0, 2, 1, {1, 0}, 1, false, 1).Finish();
    TGIFImage gif;
    EXPECT_EQ(ErrorOf([&] { Load(gif, bytes); }), "Wrong number of colors; must be a power of 2");
    EXPECT_EQ(gif.FrameCount(), 1);
    EXPECT_EQ(gif.Frames(0)->GetBitmap()->Pixels32(), ExpectedRgb({1, 0}));
}

TEST(GIFImage, CopiesShareTheirData) {
    const auto bytes = TwoFrames();
    TGIFImage a, b, c;
    Load(a, bytes);
    b.Assign(&a);
    EXPECT_EQ(a.Data, b.Data);
    EXPECT_EQ(a.Frames(1)->Item, b.Frames(1)->Item);
    EXPECT_EQ(b.FrameCount(), 2);
    EXPECT_EQ(Saved(b), bytes);
    Load(c, bytes);
    EXPECT_NE(a.Data, c.Data) << "loaded twice: not the same picture";

    // A frame of the picture itself, and a frame of another one.
    a.Assign(a.Frames(1));
    EXPECT_EQ(a.FrameCount(), 1);
    EXPECT_EQ(a.Frames(0)->GetBitmap()->Pixels32(), ExpectedRgb({1, 2, 3, 4, 5, 6}));
    TGIFImage d;
    d.Assign(c.Frames(0));
    EXPECT_EQ(d.FrameCount(), 1);
    EXPECT_EQ(d.Data->GlobalColorTable.Count, 16);
    EXPECT_TRUE(d.Frames(0)->HasLocalColors);

    // To a bitmap: the current frame with its transparent colour.
    TBitmap bitmap;
    c.AssignTo(&bitmap);
    EXPECT_EQ(bitmap.Width(), 6);
    EXPECT_EQ(bitmap.TransparentColor(), SampleColor(5));
    EXPECT_TRUE(bitmap.Transparent());
}

TEST(GIFImage, DrawsTheCurrentFrameLeavingOutItsTransparentColour) {
    // Index 5 is transparent in frame 0.
    std::vector<uint8_t> pixels(16, 2);
    pixels[5] = 5;
    const auto bytes = TGifBuilder(4, 4, 4).GraphicControl(0x01, 0, 5).Image(0, 0, 4, 4, pixels, 4).Finish();
    TGIFImage gif;
    Load(gif, bytes);
    TMemorySurface surface(8, 8, clYellow);
    gif.Draw(&surface.Canvas(), Rect(0, 0, 8, 8));
    EXPECT_EQ(surface.At(2, 2), 0xFFFF00u) << "stretched twice: pixel (1, 1) covers (2..3, 2..3)";
    EXPECT_EQ(surface.At(0, 0), SampleRgb(2));
    EXPECT_EQ(surface.At(7, 7), SampleRgb(2));

    gif.SetTransparent(false);
    TMemorySurface opaque(8, 8, clYellow);
    gif.Draw(&opaque.Canvas(), Rect(0, 0, 8, 8));
    EXPECT_EQ(opaque.At(2, 2), SampleRgb(5));
}

TEST(GIFImage, TwoColourFramesKeepTheirTransparentColour) {
    // 1 bit per pixel: red 0, then the sample's colour 1; 0 is transparent.
    auto bytes = TGifBuilder(4, 1, 1).GraphicControl(0x01, 0, 0).Image(0, 0, 4, 1, {0, 1, 1, 0}, 1).Finish();
    TGIFImage gif;
    Load(gif, bytes);
    ASSERT_TRUE(gif.Frames(0)->GetBitmap()->Monochrome());
    TMemorySurface surface(4, 1, clYellow);
    gif.Draw(&surface.Canvas(), Rect(0, 0, 4, 1));
    EXPECT_EQ(surface.At(0, 0), 0xFFFF00u) << "not forced to white: the colour of index 0 is left out";
    EXPECT_EQ(surface.At(1, 0), SampleRgb(1));
    EXPECT_EQ(surface.At(3, 0), 0xFFFF00u);

    TBitmap bitmap;
    gif.AssignTo(&bitmap);
    EXPECT_EQ(bitmap.TransparentColor(), SampleColor(0)) << "the colour itself, not the nearest of black and white";
}

TEST(GIFImage, PicturesFromBitmapsAreEncodedWhenWritten) {
    auto bitmap = MakeBitmap(20, 10, [](int x, int y) { return x < 10 ? (y < 5 ? clRed : clBlue) : clLime; });
    TGIFImage gif;
    gif.Assign(bitmap.get());
    EXPECT_EQ(gif.FormatVersion, gv87a);
    EXPECT_EQ(gif.FrameCount(), 1);
    EXPECT_TRUE(gif.Frames(0)->Item->EncodedData.empty());
    const auto bytes = Saved(gif);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 6), "GIF87a");
    EXPECT_EQ(bytes[10], 0xF7) << "the first frame gives the global table of 256 colours";
    EXPECT_EQ(gif.ScreenWidth, 20);
    EXPECT_FALSE(gif.Frames(0)->HasLocalColors);

    TGIFImage read;
    Load(read, bytes);
    EXPECT_EQ(read.Frames(0)->GetBitmap()->Pixels32(), bitmap->Pixels32());

    // A second frame has its own table; two frames make "89a".
    auto second = MakeBitmap(5, 30, [](int x, int) { return x ? clWhite : clBlack; });
    EXPECT_EQ(gif.AddFrame(second.get()), 1);
    gif.LoopEnabled = true;
    const auto two = Saved(gif);
    EXPECT_EQ(std::string(two.begin(), two.begin() + 6), "GIF89a");
    EXPECT_TRUE(gif.Frames(1)->HasLocalColors);
    EXPECT_EQ(gif.ScreenHeight, 30);
    TGIFImage again;
    Load(again, two);
    ASSERT_EQ(again.FrameCount(), 2);
    EXPECT_TRUE(again.LoopEnabled);
    EXPECT_EQ(again.Frames(1)->GetBitmap()->Pixels32(), second->Pixels32());
}

TEST(GIFImage, PaletteBitmapsAreEncodedWithTheColoursTheyUse) {
    // An 8-bit bitmap whose file image has a short colour table.
    TDibImage dib;
    dib.width = 6;
    dib.height = 2;
    dib.bitCount = 8;
    dib.colors = {0xFF0000, 0x00FF00, 0x0000FF};
    dib.bits.assign(dib.Stride() * 2, 0);
    for (int x = 0; x < 6; ++x) dib.bits[size_t(x)] = uint8_t(x % 3), dib.bits[dib.Stride() + size_t(x)] = 2;
    TMemoryStream bmp;
    WriteBmpFile(bmp, dib);
    bmp.SetPosition(0);
    TBitmap bitmap;
    bitmap.SetHandleType(bmDIB);
    bitmap.LoadFromStream(bmp);
    ASSERT_EQ(bitmap.PixelFormat(), pf8bit);
    TGIFImage gif;
    gif.Assign(&bitmap);
    TGIFImage read;
    Load(read, Saved(gif));
    EXPECT_EQ(read.Frames(0)->GetBitmap()->Pixels32(), bitmap.Pixels32());
    EXPECT_EQ(read.Data->GlobalColorTable.Count, 256);
    EXPECT_EQ(read.Data->GlobalColorTable.Entries[3][0], 0) << "entries past the bitmap's table are black";
}

TEST(GIFImage, AnimationsTakeTheirRatesAsDelays) {
    auto a = MakeBitmap(4, 4, [](int, int) { return clRed; });
    auto b = MakeBitmap(4, 4, [](int, int) { return clBlue; });
    TGIFImage gif;
    gif.AssignAnimation({{a.get(), 10}, {b.get(), 6}, {a.get(), 60}, {b.get(), 100000}});
    ASSERT_EQ(gif.FrameCount(), 4);
    EXPECT_EQ(gif.Frames(0)->DelayTime, 166);
    EXPECT_EQ(gif.Frames(1)->DelayTime, 100);
    EXPECT_EQ(gif.Frames(2)->DelayTime, 1000);
    EXPECT_EQ(gif.Frames(3)->DelayTime, 65535) << "kept in range";
    EXPECT_EQ(gif.BackgroundColor, clWindow);
    EXPECT_EQ(gif.FormatVersion, gv89a);
}

TEST(GIFImage, FormatRegistrationAndLayouts) {
    StartGIFImageUnit();
    StartGIFImageUnit();
    EXPECT_NE(GIFClipboardFormat(), 0u);
    EXPECT_TRUE(TPicture::SupportsClipboardFormat(GIFClipboardFormat()));
    EXPECT_NE(TPicture::GraphicFilter(TGraphic::StaticClass()).find("CompuServe GIF Image (*.gif)|*.gif"),
              std::string::npos);
    RegisterGraphicClasses();

    std::vector<uint8_t> pixels(16, 2);
    pixels[0] = 5;
    const auto bytes = TGifBuilder(4, 4, 4).GraphicControl(0x01, 0, 5).Image(0, 0, 4, 4, pixels, 4).Finish();
    TGIFImage gif;
    Load(gif, bytes);
    auto form = MakeOwned<TForm>(nullptr);
    form->SetName("GifForm");
    form->SetBounds(100, 100, 120, 90);
    form->SetColor(clYellow);
    auto* image = new TImage(form.get());
    image->SetName("Picture1");
    image->SetParent(form.get());
    image->SetBounds(10, 10, 4, 4);
    image->SetTransparent(true);
    image->Picture()->SetGraphic(&gif);
    const std::string text = WriteComponentToText(form.get());
    // The class name as a short string, the byte count, the GIF.
    std::vector<uint8_t> expected{9, 'T', 'G', 'I', 'F', 'I', 'm', 'a', 'g', 'e'};
    const uint32_t size = uint32_t(bytes.size());
    for (int i = 0; i < 4; ++i) expected.push_back(uint8_t(size >> (8 * i)));
    expected.insert(expected.end(), bytes.begin(), bytes.end());
    EXPECT_EQ(PictureData(text), expected) << text;

    auto copy = MakeOwned<TForm>(nullptr);
    ReadComponentFromText(copy.get(), text);
    auto* read = dynamic_cast<TImage*>(copy->FindComponent("Picture1"));
    ASSERT_NE(read, nullptr);
    auto* loaded = dynamic_cast<TGIFImage*>(read->Picture()->Graphic());
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(Saved(*loaded), bytes);
    copy->Show();
    DrainMessages();
    TWindowPixels shown(copy->Handle());
    EXPECT_EQ(shown.At(10, 10), RGB(255, 255, 0)) << "the transparent pixel shows the form";
    EXPECT_EQ(shown.At(12, 12), RGB(SampleRgb(2) >> 16, SampleRgb(2) >> 8 & 255, SampleRgb(2) & 255));

    StopGIFImageUnit();
    EXPECT_TRUE(TPicture::SupportsClipboardFormat(GIFClipboardFormat())) << "started twice, stopped once";
    StopGIFImageUnit();
    EXPECT_FALSE(TPicture::SupportsClipboardFormat(GIFClipboardFormat()));
}

TEST(GIFImage, Clipboard) {
    StartGIFImageUnit();
    const auto bytes = TwoFrames();
    // Read without decoding (as from the clipboard): saving decodes frame 0.
    TGIFImage gif;
    {
        TMemoryStream stream;
        SetBytes(stream, bytes);
        gif.ReadGIFStream(int64_t(bytes.size()), stream, false);
    }
    ASSERT_EQ(gif.Frames(0)->DecodedBitmap(), nullptr);
    // The clipboard takes data only from a window that opened it.
    TOwnedWindow owner(CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr));
    std::optional<TOpenClipboard> clipboard(std::in_place, owner.Get());
    ASSERT_TRUE(clipboard->Opened());
    EmptyClipboard();
    UINT format = 0;
    HANDLE data = nullptr;
    HPALETTE palette = nullptr;
    gif.SaveToClipboardFormat(format, data, palette);
    EXPECT_EQ(format, UINT(CF_BITMAP));
    ASSERT_NE(data, nullptr);
    SetClipboardData(format, data);
    EXPECT_TRUE(IsClipboardFormatAvailable(GIFClipboardFormat()));
    HANDLE block = GetClipboardData(GIFClipboardFormat());
    ASSERT_NE(block, nullptr);
    {
        TGlobalLock<const uint8_t> locked(block);
        const uint8_t* p = locked.Get();
        EXPECT_EQ(*reinterpret_cast<const int32_t*>(p), int32_t(bytes.size()));
        EXPECT_EQ(std::vector<uint8_t>(p + 4, p + 4 + bytes.size()), bytes);
    }
    TGIFImage pasted;
    pasted.LoadFromClipboardFormat(CF_BITMAP, GetClipboardData(CF_BITMAP), nullptr);
    EXPECT_EQ(pasted.FrameCount(), 2);
    EXPECT_EQ(pasted.CurrentFrame(), 0);
    EXPECT_EQ(pasted.Frames(0)->GetBitmap()->Width(), 6);

    // Frames made from bitmaps: only the bitmap goes.
    EmptyClipboard();
    TGIFImage fromBitmap;
    fromBitmap.Assign(MakeBitmap(3, 3, [](int, int) { return clRed; }).get());
    fromBitmap.SaveToClipboardFormat(format, data, palette);
    SetClipboardData(format, data);
    EXPECT_FALSE(IsClipboardFormatAvailable(GIFClipboardFormat()));
    clipboard.reset();
    owner.Reset();

    // A size prefix beyond the block.
    TGlobalMemory bad(GlobalAlloc(GMEM_MOVEABLE, 8));
    {
        TGlobalLock<int32_t> p(bad.Get());
        p.Get()[0] = 1000;
        p.Get()[1] = 0;
    }
    TGIFImage refused;
    EXPECT_EQ(ErrorOf([&] { refused.LoadFromClipboardFormat(GIFClipboardFormat(), bad.Get(), nullptr); }),
              "Stream-Read-Fehler");
    StopGIFImageUnit();
}
