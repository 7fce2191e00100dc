#include "classlib/graphics/picture.h"

#include <gtest/gtest.h>

#include "classlib/core/class_builder.h"
#include "classlib/graphics/bitmap.h"
#include "classlib/graphics/icon.h"
#include "classlib/graphics/jpeg.h"
#include "classlib/core/scratch_folder_test.h"
#include "classlib/graphics/test_pictures.h"
#include "classlib/gui/scoped_win32.h"

namespace {

class TTestBitmap : public TBitmap {
    DECLARE_CLASS(TTestBitmap, TBitmap)
};

const TClassInfo& TTestBitmap::StaticClass() {
    static const TClassInfo info =
        DefineClass<TTestBitmap>("TTestBitmap", &TBitmap::StaticClass(), [](auto& c) { c.Creatable(); });
    return info;
}

void WriteFile(const std::string& name, const std::vector<uint8_t>& bytes) {
    TMemoryStream stream;
    SetBytes(stream, bytes);
    stream.SaveToFile(name);
}

TEST(Pictures, FilesAreLoadedByTheirExtension) {
    RegisterJpegFormat();
    TScratchFolder folder;
    auto bitmap = MakeBitmap(4, 3, [](int x, int) { return x % 2 ? clRed : clNavy; });
    bitmap->SaveToFile(folder.Path("plain.bmp"));
    TJPEGImage jpeg;
    jpeg.Assign(bitmap.get());
    jpeg.SaveToFile(folder.Path("photo.JPG"));

    TPicture picture;
    int changes = 0;
    picture.OnChange = [&](TObject*) { ++changes; };
    picture.LoadFromFile(folder.Path("plain.bmp"));
    EXPECT_EQ(changes, 1);
    ASSERT_NE(dynamic_cast<TBitmap*>(picture.Graphic()), nullptr);
    EXPECT_EQ(picture.Bitmap()->Pixels32(), bitmap->Pixels32());
    EXPECT_EQ(picture.Width(), 4);
    EXPECT_EQ(picture.Height(), 3);

    picture.LoadFromFile(folder.Path("photo.JPG"));
    EXPECT_NE(dynamic_cast<TJPEGImage*>(picture.Graphic()), nullptr);
    EXPECT_EQ(picture.Width(), 4);

    // Unknown extensions and broken files leave the picture as it was.
    TGraphic* before = picture.Graphic();
    WriteFile(folder.Path("notes.xyz"), {1, 2, 3});
    WriteFile(folder.Path("broken.bmp"), {'B', 'M', 1, 2, 3});
    changes = 0;
    try {
        picture.LoadFromFile(folder.Path("notes.xyz"));
        FAIL() << "no exception";
    } catch (const EInvalidGraphic& e) {
        EXPECT_EQ(e.Message(), "Unbekannte Grafikdateierweiterung (.xyz)");
    }
    EXPECT_THROW(picture.LoadFromFile(folder.Path("broken.bmp")), EInvalidGraphic);
    EXPECT_THROW(picture.LoadFromFile(folder.Path("missing.bmp")), EFOpenError);
    EXPECT_EQ(picture.Graphic(), before);
    EXPECT_EQ(changes, 0);

    picture.SaveToFile(folder.Path("again.jpg"));
    TPicture again;
    again.LoadFromFile(folder.Path("again.jpg"));
    EXPECT_EQ(again.Width(), 4);
}

TEST(Pictures, FiltersAndExtensionsFollowTheRegistry) {
    RegisterJpegFormat();
    EXPECT_EQ(TPicture::GraphicFilter(TGraphic::StaticClass()),
              "Alle (*.jpg;*.jpeg;*.bmp;*.ico)|*.jpg;*.jpeg;*.bmp;*.ico|"
              "JPEG-Bilddatei (*.jpg)|*.jpg|JPEG-Bilddatei (*.jpeg)|*.jpeg|"
              "Bitmaps (*.bmp)|*.bmp|Symbole (*.ico)|*.ico");
    EXPECT_EQ(TPicture::GraphicFilter(TBitmap::StaticClass()), "Bitmaps (*.bmp)|*.bmp");
    EXPECT_EQ(TPicture::GraphicExtension(TJPEGImage::StaticClass()), "jpg");
    EXPECT_EQ(TPicture::GraphicExtension(TIcon::StaticClass()), "ico");
    EXPECT_EQ(TPicture::GraphicExtension(TGraphic::StaticClass()), "");

    // A descendant's format shows under its ancestor until unregistered.
    TPicture::RegisterFileFormat(".TBM", "Testbilder", TTestBitmap::StaticClass());
    EXPECT_EQ(TPicture::GraphicFilter(TBitmap::StaticClass()),
              "Alle (*.tbm;*.bmp)|*.tbm;*.bmp|Testbilder (*.tbm)|*.tbm|Bitmaps (*.bmp)|*.bmp");
    TPicture::UnregisterGraphicClass(TTestBitmap::StaticClass());
    EXPECT_EQ(TPicture::GraphicFilter(TBitmap::StaticClass()), "Bitmaps (*.bmp)|*.bmp");

    // Unregistering a class takes its descendants' formats too.
    TPicture::RegisterFileFormat("tbm", "Testbilder", TTestBitmap::StaticClass());
    TPicture::UnregisterGraphicClass(TBitmap::StaticClass());
    EXPECT_EQ(TPicture::GraphicExtension(TTestBitmap::StaticClass()), "");
    EXPECT_FALSE(TPicture::SupportsClipboardFormat(CF_BITMAP));
    // Registered again in reverse, each at the front: the start-up order.
    TPicture::RegisterFileFormat("ico", "Symbole", TIcon::StaticClass());
    TPicture::RegisterFileFormat("bmp", "Bitmaps", TBitmap::StaticClass());
    TPicture::RegisterClipboardFormat(CF_BITMAP, TBitmap::StaticClass());
    RegisterJpegFormat();
    EXPECT_EQ(TPicture::GraphicFilter(TGraphic::StaticClass()),
              "Alle (*.jpg;*.jpeg;*.bmp;*.ico)|*.jpg;*.jpeg;*.bmp;*.ico|"
              "JPEG-Bilddatei (*.jpg)|*.jpg|JPEG-Bilddatei (*.jpeg)|*.jpeg|"
              "Bitmaps (*.bmp)|*.bmp|Symbole (*.ico)|*.ico");
}

TEST(Pictures, ClipboardFormatsAreLookedUpInTheRegistry) {
    EXPECT_TRUE(TPicture::SupportsClipboardFormat(CF_BITMAP));
    EXPECT_FALSE(TPicture::SupportsClipboardFormat(CF_TEXT));
    auto bitmap = MakeBitmap(2, 2, [](int, int y) { return y ? clTeal : clOlive; });
    TPicture source, target;
    source.SetGraphic(bitmap.get());
    UINT format;
    HANDLE data;
    HPALETTE palette;
    source.SaveToClipboardFormat(format, data, palette);
    TGdiObject ownedData(data);
    target.LoadFromClipboardFormat(format, data, palette);
    EXPECT_EQ(target.Bitmap()->Pixels32(), bitmap->Pixels32());
    TGraphic* before = target.Graphic();
    EXPECT_THROW(target.LoadFromClipboardFormat(CF_TEXT, nullptr, nullptr), EInvalidGraphic);
    EXPECT_EQ(target.Graphic(), before);
}

TEST(Pictures, GraphicsAreOwnedCopiesAndReportChanges) {
    auto bitmap = MakeBitmap(2, 2, [](int, int) { return clRed; });
    TPicture picture;
    int changes = 0;
    picture.OnChange = [&](TObject*) { ++changes; };
    picture.SetGraphic(bitmap.get());
    EXPECT_EQ(changes, 1);
    ASSERT_NE(picture.Graphic(), bitmap.get());
    bitmap->Canvas()->SetPixel(0, 0, clBlue);
    EXPECT_EQ(picture.Bitmap()->Pixels32()[0], 0xFF0000u);
    EXPECT_EQ(changes, 1);
    picture.Bitmap()->Canvas()->SetPixel(1, 1, clLime);
    EXPECT_GT(changes, 1);

    // Asking for another kind replaces the graphic with an empty one.
    TIcon* icon = picture.Icon();
    EXPECT_TRUE(icon->Empty());
    EXPECT_EQ(picture.Graphic(), icon);
    TPicture copy;
    copy.Assign(&picture);
    EXPECT_NE(dynamic_cast<TIcon*>(copy.Graphic()), nullptr);
    copy.Assign(nullptr);
    EXPECT_EQ(copy.Graphic(), nullptr);
    EXPECT_EQ(copy.Width(), 0);

    // A bitmap takes a picture's graphic.
    picture.SetGraphic(bitmap.get());
    TBitmap target;
    target.Assign(&picture);
    EXPECT_EQ(target.Pixels32(), bitmap->Pixels32());
}

}  // namespace
