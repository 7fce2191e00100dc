#include "imaging/animated_cursor_image.h"

#include <gtest/gtest.h>

#include "classlib/core/exceptions.h"
#include "classlib/graphics/bitmap.h"
#include "classlib/graphics/icon.h"
#include "classlib/graphics/picture.h"
#include "classlib/graphics/test_pictures.h"
#include "classlib/testing/gui_testing.h"
#include "imaging/gif_image.h"
#include "imaging/codecs/ani_test_files.h"
#include "imaging/icon_clipboard.h"
#include "imaging/icon_list.h"

using namespace ani_test;

namespace {

const std::vector<uint32_t> kColors = {0xFF0000, 0x00FF00, 0x0000FF};

void Load(TAnimatedCursorImage& image, const std::string& file) {
    TMemoryStream stream;
    SetBytes(stream, Bytes(file));
    image.LoadFromStream(stream);
}

// The colour in the middle of the icon, drawn on white.
uint32_t MiddleOf(TIcon* icon) {
    TMemorySurface surface(icon->Width(), icon->Height(), clWhite);
    surface.Canvas().Draw(0, 0, icon);
    return surface.At(icon->Width() / 2, icon->Height() / 2);
}

}  // namespace

TEST(AnimatedCursor, FramesGetTheirIconsRatesAndHotSpots) {
    TAnimatedCursorImage image;
    Load(image, Riff(Anih(3, 3, 8) + Value("rate", 20) +
                     List("INFO", Chunk("INAM", std::string(300, 'n')) + Chunk("IART", "Artist")) +
                     FrameList(kColors, 4)));
    ASSERT_EQ(image.FrameCount(), 3);
    EXPECT_EQ(image.AniHeader().StepCount, 3u);
    EXPECT_EQ(image.TitleText(), std::string(255, 'n'));
    EXPECT_EQ(image.Creator(), "Artist");
    EXPECT_EQ(image.MaxIconColors(), 16);
    for (int k = 0; k < 3; ++k) {
        TIconFrame* frame = image.FrameAt(k);
        ASSERT_NE(frame->IconImage(), nullptr);
        EXPECT_EQ(frame->IconImage(), image.Icons(k));
        EXPECT_EQ(MiddleOf(image.Icons(k)), kColors[k]) << k;
        EXPECT_TRUE(frame->FromIconResource());
        EXPECT_EQ(frame->HotSpot().x, 16);
        EXPECT_EQ(frame->HotSpot().y, 16);
        EXPECT_EQ(frame->Rate(), k == 0 ? 20 : 8);
        EXPECT_EQ(frame->IconNumber(), k);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(frame->IconChunkHeader().data()), 4), "icon");
    }

    // A cursor's hot spot comes from its directory entry.
    Load(image, Riff(Anih(1, 1, 8) + List("fram", Chunk("icon", IconFile(32, 32, 8, 0x808080, 2, 5, 27)))));
    ASSERT_EQ(image.FrameCount(), 1);
    EXPECT_FALSE(image.FrameAt(0)->FromIconResource());
    EXPECT_EQ(image.FrameAt(0)->HotSpot().x, 5);
    EXPECT_EQ(image.FrameAt(0)->HotSpot().y, 27);
    EXPECT_EQ(MiddleOf(image.Icons(0)), 0x808080u);
    EXPECT_EQ(image.TitleText(), "");  // the earlier animation is gone

    // Frames that show one icon each have a copy of their own.
    Load(image, Riff(Anih(2, 2, 8) + Value("seq ", 0) + Value("seq ", 0) + FrameList({0xFF0000})));
    ASSERT_EQ(image.FrameCount(), 2);
    EXPECT_NE(image.Icons(0), image.Icons(1));
}

TEST(AnimatedCursor, FramesBecomeAnIconAnIconListOrABitmapStrip) {
    TAnimatedCursorImage image;
    Load(image, Animation(kColors));

    TIcon icon;
    icon.Assign(&image);
    EXPECT_EQ(MiddleOf(&icon), kColors[0]);

    TIconList list;
    int changes = 0;
    list.OnChange = [&](TObject*) { ++changes; };
    list.Add(nullptr);
    list.Assign(&image);
    EXPECT_EQ(changes, 2);
    ASSERT_EQ(list.Count(), 3);
    for (int k = 0; k < 3; ++k) {
        EXPECT_NE(list.Icons(k), image.Icons(k));
        EXPECT_EQ(MiddleOf(list.Icons(k)), kColors[k]);
    }

    TBitmap strip;
    strip.Assign(&image);
    ASSERT_EQ(strip.Width(), 96);
    ASSERT_EQ(strip.Height(), 32);
    std::vector<uint32_t> pixels = strip.Pixels32();
    for (int k = 0; k < 3; ++k) EXPECT_EQ(pixels[16 * 96 + 32 * k + 16], kColors[k]) << k;
    // Reduced to the icons' colours, at least 16.
    EXPECT_EQ(strip.PixelFormat(), pf4bit);

    TBitmap column;
    image.AssignToBitmap(&column, clBlack, true, false);
    ASSERT_EQ(column.Width(), 32);
    ASSERT_EQ(column.Height(), 96);
    pixels = column.Pixels32();
    for (int k = 0; k < 3; ++k) EXPECT_EQ(pixels[(32 * k + 16) * 32 + 16], kColors[k]) << k;

    // Other targets are refused.
    TPicture picture;
    EXPECT_THROW(picture.Assign(&image), EConvertError);
}

TEST(AnimatedCursor, AGifPictureGetsEveryFrameWithItsRateAsTheDelay) {
    TAnimatedCursorImage image;
    Load(image, Riff(Anih(3, 3, 10) + Value("rate", 1) + Value("rate", 20) + FrameList(kColors, 8)));
    TGIFImage gif;
    gif.Assign(&image);
    ASSERT_EQ(gif.FrameCount(), 3);
    EXPECT_EQ(gif.BackgroundColor, clWindow);
    // 1/60 s in milliseconds, rounded down.
    EXPECT_EQ(gif.Frames(0)->DelayTime, 16);
    EXPECT_EQ(gif.Frames(1)->DelayTime, 333);
    EXPECT_EQ(gif.Frames(2)->DelayTime, 166);
    EXPECT_EQ(gif.Width(), 32);

    // 8-bit icons: a strip of 256 colours.
    TBitmap strip;
    strip.Assign(&image);
    EXPECT_EQ(strip.PixelFormat(), pf8bit);
    EXPECT_EQ(strip.Pixels32()[16 * 96 + 32 + 16], kColors[1]);
}

TEST(AnimatedCursor, TheBackColourShowsThroughTransparentParts) {
    // Left half transparent in every frame: mask set, colour black.
    std::string file = IconFile(32, 32, 24, 0x00FF00);
    const size_t pixelsAt = 22 + 40, maskAt = file.size() - 4 * 32;
    for (int y = 0; y < 32; ++y) {
        file.replace(pixelsAt + 96 * y, 48, 48, '\0');
        file[maskAt + 4 * y] = file[maskAt + 4 * y + 1] = '\xFF';
    }
    TAnimatedCursorImage image;
    Load(image, Riff(Anih(2, 2, 8) + List("fram", Chunk("icon", file) + Chunk("icon", file))));
    TBitmap strip;
    image.AssignToBitmap(&strip, clRed, false, false);
    const std::vector<uint32_t> pixels = strip.Pixels32();
    EXPECT_EQ(pixels[5 * 64 + 3], 0xFF0000u);
    EXPECT_EQ(pixels[5 * 64 + 32 + 3], 0xFF0000u);
    EXPECT_EQ(pixels[5 * 64 + 32 + 20], 0x00FF00u);
}

TEST(AnimatedCursor, AnEmptyAnimationGivesEmptyPictures) {
    TAnimatedCursorImage image;
    TBitmap bitmap;
    bitmap.SetSize(4, 4);
    bitmap.Assign(&image);
    EXPECT_TRUE(bitmap.Empty());
    image.AssignToBitmap(&bitmap, clRed, false, true);
    EXPECT_TRUE(bitmap.Empty());

    TIcon icon;
    icon.SetHandle(CopyIcon(LoadIconA(nullptr, reinterpret_cast<const char*>(IDI_APPLICATION))));
    icon.Assign(&image);
    EXPECT_TRUE(icon.Empty());
}

TEST(AnimatedCursor, AssignCopiesEveryFrameWithItsOwnIcon) {
    TAnimatedCursorImage source;
    Load(source, Riff(Anih(2, 2, 8) + Value("rate", 30) + List("INFO", Chunk("INAM", "Walk")) + FrameList({1, 2}, 8)));
    TAnimatedCursorImage copy;
    copy.Assign(&source);
    ASSERT_EQ(copy.FrameCount(), 2);
    EXPECT_EQ(copy.TitleText(), "Walk");
    EXPECT_EQ(copy.MaxIconColors(), 256);
    EXPECT_EQ(copy.AniHeader().DefaultRate, 8u);
    EXPECT_EQ(copy.FrameAt(0)->Rate(), 30);
    EXPECT_EQ(copy.FrameAt(1)->IconNumber(), 1);
    EXPECT_NE(copy.Icons(0), source.Icons(0));
    EXPECT_EQ(SavedBytes(*copy.Icons(1)), SavedBytes(*source.Icons(1)));

    copy.Assign(nullptr);
    EXPECT_EQ(copy.FrameCount(), 0);
    EXPECT_EQ(copy.TitleText(), "");
    EXPECT_EQ(copy.MaxIconColors(), 0);
}

TEST(AnimatedCursor, WhatIsNoAnimationRaisesTheReadError) {
    TAnimatedCursorImage image;
    Load(image, Animation(kColors));
    TMemoryStream stream;
    SetBytes(stream, Bytes("RIFF\x04\0\0\0WAVE"));
    EXPECT_THROW(image.LoadFromStream(stream), EReadError);
    EXPECT_EQ(image.FrameCount(), 3);  // not even its signature: left as it was

    try {
        Load(image, Riff(Anih(1, 1, 8, 0) + FrameList({1})));
        ADD_FAILURE() << "no error";
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), "Stream-Read-Fehler");
    }
    EXPECT_EQ(image.FrameCount(), 0);

    // A failing file leaves the animation empty.
    Load(image, Animation(kColors));
    EXPECT_THROW(image.LoadFromFile("no such folder\\none.ani"), EFOpenError);
    EXPECT_EQ(image.FrameCount(), 0);
}

TEST(AnimatedCursor, EveryCutOfAFileIsAShorterAnimationOrTheReadError) {
    const std::string file = Riff(Anih(3, 3, 6) + Value("rate", 2) + List("INFO", Chunk("INAM", "T")) +
                                  FrameList(kColors, 1));
    for (size_t cut = 0; cut <= file.size(); cut += 7) {
        TAnimatedCursorImage image;
        try {
            Load(image, file.substr(0, cut));
        } catch (const EReadError&) {
            EXPECT_EQ(image.FrameCount(), 0);
            continue;
        }
        if (cut < kAniSignatureSize) {
            EXPECT_EQ(image.FrameCount(), 0);  // nothing to read
            continue;
        }
        ASSERT_GE(image.FrameCount(), 1) << cut;
        for (int k = 0; k < image.FrameCount(); ++k) EXPECT_FALSE(image.Icons(k)->Empty()) << cut;
    }
}

namespace {

// The memory the process holds (its working set), in bytes.
size_t ProcessMemory() {
    struct TCounters {
        DWORD cb;
        DWORD PageFaultCount;
        SIZE_T PeakWorkingSetSize, WorkingSetSize, QuotaPeakPagedPoolUsage, QuotaPagedPoolUsage,
            QuotaPeakNonPagedPoolUsage, QuotaNonPagedPoolUsage, PagefileUsage, PeakPagefileUsage;
    } counters{};
    counters.cb = sizeof counters;
    using TGetMemoryInfo = BOOL(WINAPI*)(HANDLE, TCounters*, DWORD);
    auto get = reinterpret_cast<TGetMemoryInfo>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "K32GetProcessMemoryInfo")));
    if (!get || !get(GetCurrentProcess(), &counters, sizeof counters)) return 0;
    return counters.WorkingSetSize;
}

}  // namespace

TEST(AnimatedCursor, FramesShowingOneIconShareItsBytes) {
    // 600 frames all showing one icon of 200 KB: 120 MB if each kept its own bytes.
    const std::string icon = IconFile(256, 256, 24, 0x3366CC);
    ASSERT_GT(icon.size(), 200000u);
    std::string sequence;
    for (int i = 0; i < 600; ++i) sequence += Value("seq ", 0);
    const std::string file = Riff(Anih(600, 600, 5) + sequence + List("fram", Chunk("icon", icon)));
    const size_t before = ProcessMemory();
    ASSERT_GT(before, 0u);
    TAnimatedCursorImage image;
    Load(image, file);
    ASSERT_EQ(image.FrameCount(), 600);
    // Each frame has an icon of its own, all with the one picture.
    EXPECT_NE(image.Icons(0), image.Icons(599));
    EXPECT_EQ(MiddleOf(image.Icons(599)), 0x3366CCu);
    EXPECT_LT(ProcessMemory(), before + (40u << 20));
}

TEST(AnimatedCursor, SavingIsNotOffered) {
    TScriptedInteraction interaction;
    TAnimatedCursorImage image;
    TMemoryStream stream;
    EXPECT_THROW(image.SaveToStream(stream), EAbort);
    ASSERT_EQ(interaction.Boxes.size(), 1u);
    EXPECT_EQ(interaction.Boxes[0].Text, "Function not yet implemented");
    EXPECT_EQ(stream.Size(), 0);
}

TEST(IconClipboard, PicturesPastingAmbitIconMakeAnIcon) {
    StartIconClipboardFormat();
    const UINT format = IconClipboardFormat();
    ASSERT_NE(format, 0u);
    char name[64] = {};
    GetClipboardFormatNameA(format, name, sizeof name);
    EXPECT_STREQ(name, "Ambit Icon");
    EXPECT_TRUE(TPicture::SupportsClipboardFormat(format));
    StartIconClipboardFormat();
    EXPECT_EQ(IconClipboardFormat(), format);
}
