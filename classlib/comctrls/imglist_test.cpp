#include "classlib/comctrls/imglist.h"

#include <gtest/gtest.h>

#include "classlib/comctrls/comctrls_test_support.h"
#include "classlib/core/exceptions.h"
#include "classlib/core/filer.h"
#include "classlib/comctrls/imagelist_data.h"
#include "classlib/comctrls/imagelist_gdi.h"
#include "classlib/core/streams.h"
#include "classlib/gui/scoped_win32.h"

namespace {

constexpr uint32_t kKey = 0xFF00FF;  // the mask colour of the test pictures (clFuchsia)

// Three 8 x 6 pictures side by side, each with its own pattern and a
// transparent corner.
TGdiObject ThreePictures() {
    return MakeBitmap(24, 6, [](int x, int y) -> uint32_t {
        int image = x / 8, local = x % 8;
        if (local < 2 && y < 2) return kKey;
        static const uint32_t colours[] = {0xC00000, 0x00A000, 0x0000E0};
        return (local + y) % 3 == 0 ? 0x102030 : colours[image];
    });
}

// What the list shows over a background, image by image.
std::vector<uint32_t> Rendered(TCustomImageList& list, uint32_t background) {
    COLORREF bk = RGB(background >> 16, (background >> 8) & 0xFF, background & 0xFF);
    TPixelSurface surface(list.Width() * std::max(list.Count(), 1), list.Height(), bk);
    for (int i = 0; i < list.Count(); ++i) list.Draw(surface.Dc(), i * list.Width(), 0, i);
    std::vector<uint32_t> pixels;
    for (int y = 0; y < surface.Height(); ++y)
        for (int x = 0; x < surface.Width(); ++x) pixels.push_back(surface.At(x, y));
    return pixels;
}

TOwned<TImageList> MakeList() {
    auto list = MakeOwned<TImageList>(nullptr);
    list->SetWidth(8);
    list->SetHeight(6);
    TGdiObject pictures = ThreePictures();
    list->AddMasked(AsBitmap(pictures), clFuchsia);
    return list;
}

TEST(ImageList, AddMaskedMakesTheKeyTransparentAndLeavesTheSourceAlone) {
    auto list = MakeOwned<TImageList>(nullptr);
    EXPECT_FALSE(list->HandleAllocated());
    EXPECT_EQ(list->Count(), 0);
    list->SetWidth(8);
    list->SetHeight(6);
    TGdiObject pictures = ThreePictures();
    TStripPixels before = ReadBitmapPixels(AsBitmap(pictures));
    EXPECT_EQ(list->AddMasked(AsBitmap(pictures), clFuchsia), 0);
    EXPECT_EQ(ReadBitmapPixels(AsBitmap(pictures)).Pixels, before.Pixels);
    EXPECT_EQ(list->Count(), 3);

    std::vector<uint32_t> onWhite = Rendered(*list, 0xFFFFFF);
    EXPECT_EQ(onWhite[0], 0xFFFFFFu);            // transparent corner
    EXPECT_EQ(onWhite[3 * 24 + 12], 0x00A000u);  // image 1 at (4, 3)
    EXPECT_EQ(onWhite[0 * 24 + 16 + 3], 0x102030u);
    EXPECT_EQ(onWhite[4 * 24 + 23], 0x0000E0u);
}

TEST(ImageList, AddIconTakesTheIconsPicture) {
    auto list = MakeOwned<TImageList>(nullptr);
    TGdiObject colour = MakeBitmap(16, 16, [](int, int) { return 0x00C000; });
    TGdiObject mask(CreateBitmap(16, 16, 1, 1, nullptr));  // all opaque
    {
        TMemoryDC dc;
        TSelectedObject selected(dc, mask.Get());
        PatBlt(dc, 0, 0, 16, 16, BLACKNESS);
    }
    ICONINFO info{TRUE, 0, 0, AsBitmap(mask), AsBitmap(colour)};
    TIconHandle icon(CreateIconIndirect(&info));
    ASSERT_TRUE(icon);
    EXPECT_EQ(list->AddIcon(icon.Get()), 0);
    icon.Reset();
    EXPECT_EQ(list->Count(), 1);
    EXPECT_EQ(Rendered(*list, 0xFFFFFF)[8 * 16 + 8], 0x00C000u);
    EXPECT_THROW(list->AddIcon(nullptr), EInvalidOperation);
}

TEST(ImageList, ChangesReachLinksAndOnChange) {
    auto list = MakeList();
    int linked = 0, changed = 0;
    TObject* sender = nullptr;
    {
        TChangeLink link;
        link.OnChange = [&](TObject* s) {
            ++linked;
            sender = s;
        };
        list->RegisterChanges(&link);
        EXPECT_EQ(link.Sender(), list.get());
        list->OnChange = [&](TObject*) { ++changed; };
        list->Delete(1);
        EXPECT_EQ(list->Count(), 2);
        EXPECT_THROW(list->Delete(2), EInvalidOperation);
        EXPECT_THROW(list->Delete(-1), EInvalidOperation);
        list->SetBkColor(clWhite);
        list->Clear();
        EXPECT_EQ(linked, 3);
        EXPECT_EQ(changed, 3);
        EXPECT_EQ(sender, list.get());
    }
    // The destroyed link left the list.
    list->Clear();
    EXPECT_EQ(linked, 3);

    TChangeLink outliving;
    list->RegisterChanges(&outliving);
    list.reset();
    EXPECT_EQ(outliving.Sender(), nullptr);
}

TEST(ImageList, NewSizeClearsMaskSwitchKeepsImages) {
    auto list = MakeList();
    std::vector<uint32_t> masked = Rendered(*list, 0xFFFFFF);
    list->SetMasked(false);
    EXPECT_EQ(list->Count(), 3);
    // Without a mask the transparent corner shows the black kept under it.
    std::vector<uint32_t> opaque = Rendered(*list, 0xFFFFFF);
    EXPECT_EQ(opaque[0], 0x000000u);
    EXPECT_EQ(opaque[3 * 24 + 12], masked[3 * 24 + 12]);

    list->SetHeight(10);
    EXPECT_EQ(list->Count(), 0);
    EXPECT_THROW(list->SetWidth(0), EInvalidOperation);
    EXPECT_EQ(list->Width(), 8);
}

TEST(ImageList, DisabledImagesAreDrawnInTheShadowColours) {
    auto list = MakeOwned<TImageList>(nullptr);
    TGdiObject black = MakeBitmap(16, 16, [](int x, int y) { return x >= 4 && x < 12 && y >= 4 && y < 12 ? 0 : kKey; });
    list->AddMasked(AsBitmap(black), clFuchsia);
    TPixelSurface surface(20, 20, RGB(255, 255, 255));
    list->Draw(surface.Dc(), 0, 0, 0, false);
    auto rgb = [](COLORREF c) { return uint32_t(GetRValue(c)) << 16 | uint32_t(GetGValue(c)) << 8 | GetBValue(c); };
    EXPECT_EQ(surface.At(6, 6), rgb(GetSysColor(COLOR_BTNSHADOW)));
    EXPECT_EQ(surface.At(12, 12), rgb(GetSysColor(COLOR_BTNHIGHLIGHT)));  // the offset copy
    EXPECT_EQ(surface.At(1, 1), 0xFFFFFFu);
}

TEST(ImageList, ImagesTravelThroughALayout) {
    RegisterComControls();
    auto owner = MakeOwned<TForm>(nullptr);
    owner->SetName("Form1");
    auto* list = new TImageList(owner.get());
    list->SetName("Images1");
    list->SetWidth(8);
    list->SetHeight(6);
    TGdiObject pictures = ThreePictures();
    list->AddMasked(AsBitmap(pictures), clFuchsia);
    std::string text = WriteComponentToText(owner.get());
    EXPECT_NE(text.find("Bitmap = {"), std::string::npos);
    EXPECT_NE(text.find("Width = 8"), std::string::npos);

    auto copy = MakeOwned<TForm>(nullptr);
    ReadComponentFromText(copy.get(), text);
    auto* read = dynamic_cast<TImageList*>(copy->FindComponent("Images1"));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->Count(), 3);
    EXPECT_EQ(read->Width(), 8);
    EXPECT_EQ(read->Height(), 6);
    EXPECT_TRUE(read->Masked());
    EXPECT_EQ(Rendered(*read, 0xFFFFFF), Rendered(*list, 0xFFFFFF));
    EXPECT_EQ(Rendered(*read, 0x000000), Rendered(*list, 0x000000));
    // Written again, the same text.
    EXPECT_EQ(WriteComponentToText(copy.get()), text);
}

TEST(ImageList, DamagedDataRaisesAndKeepsTheImages) {
    auto list = MakeList();
    TMemoryStream good;
    list->WriteData(good);
    std::string bytes(reinterpret_cast<const char*>(good.Memory()), static_cast<size_t>(good.Size()));
    std::vector<uint32_t> shown = Rendered(*list, 0xFFFFFF);

    auto readBytes = [&](const std::string& data) {
        TStringStream stream(data);
        list->ReadData(stream);
    };
    for (size_t cut : {size_t(0), size_t(3), size_t(16), size_t(30), size_t(70), bytes.size() - 1})
        EXPECT_THROW(readBytes(bytes.substr(0, cut)), EReadError) << cut;
    std::string wrongCount = bytes;
    wrongCount[8] = 4;  // the strip holds three
    EXPECT_THROW(readBytes(wrongCount), EReadError);
    std::string reserved = bytes;
    reserved[13] = 1;
    EXPECT_THROW(readBytes(reserved), EReadError);
    std::string notBmp = bytes;
    notBmp[16] = 'X';
    EXPECT_THROW(readBytes(notBmp), EReadError);
    EXPECT_THROW(readBytes(bytes + "x"), EReadError);
    EXPECT_EQ(list->Count(), 3);
    EXPECT_EQ(Rendered(*list, 0xFFFFFF), shown);

    readBytes(bytes);
    EXPECT_EQ(Rendered(*list, 0xFFFFFF), shown);
}

TEST(ImageListData, BitmapsRoundTripAndAcceptTopDownRows) {
    TStripPixels image;
    image.Width = 3;
    image.Height = 2;
    image.Pixels = {0x010203, 0x040506, 0x070809, 0x0A0B0C, 0x0D0E0F, 0x101112};
    std::string bmp = EncodeBmp24(image);
    EXPECT_EQ(bmp.size(), 14u + 40u + 2u * 12u);  // rows padded to 4 bytes
    size_t pos = 0;
    EXPECT_EQ(DecodeBmp24(bmp, pos).Pixels, image.Pixels);
    EXPECT_EQ(pos, bmp.size());

    // The same file stored top-down.
    std::string topDown = bmp;
    int32_t negative = -2;
    topDown.replace(22, 4, reinterpret_cast<const char*>(&negative), 4);
    topDown.replace(54, 12, bmp.substr(66, 12));
    topDown.replace(66, 12, bmp.substr(54, 12));
    pos = 0;
    EXPECT_EQ(DecodeBmp24(topDown, pos).Pixels, image.Pixels);

    TStripMask mask;
    mask.Width = 10;
    mask.Height = 2;
    mask.Bits = {1, 0, 0, 1, 1, 0, 0, 0, 1, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 0};
    std::string mono = EncodeBmp1(mask);
    pos = 0;
    EXPECT_EQ(DecodeBmp1(mono, pos).Bits, mask.Bits);
    pos = 0;
    EXPECT_THROW(DecodeBmp24(mono, pos), EReadError);  // wrong depth
}

TEST(ImageListData, DamageAnywhereIsAnError) {
    TImageListData data;
    data.Width = 2;
    data.Height = 2;
    data.Count = 2;
    data.Image.Width = 4;
    data.Image.Height = 2;
    data.Image.Pixels.assign(8, 0x123456);
    data.Mask.Width = 4;
    data.Mask.Height = 2;
    data.Mask.Bits.assign(8, 0);
    std::string bytes = EncodeImageListData(data);
    TImageListData back = DecodeImageListData(bytes);
    EXPECT_EQ(back.Count, 2);
    EXPECT_EQ(back.Image.Pixels, data.Image.Pixels);
    for (size_t cut = 0; cut < bytes.size(); ++cut)
        EXPECT_THROW(DecodeImageListData(bytes.substr(0, cut)), EReadError) << cut;
    // A file size pointing past the data.
    std::string longFile = bytes;
    longFile[16 + 2] = static_cast<char>(0x7F);
    EXPECT_THROW(DecodeImageListData(longFile), EReadError);
    // Counts that would overflow the strip width.
    std::string huge = bytes;
    huge.replace(0, 4, std::string("\xFF\xFF\xFF\x7F", 4));
    EXPECT_THROW(DecodeImageListData(huge), EReadError);
}

}  // namespace
