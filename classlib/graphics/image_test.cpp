#include "classlib/graphics/image.h"

#include <gtest/gtest.h>

#include "classlib/graphics/bitmap.h"
#include "classlib/core/filer.h"
#include "classlib/gui/forms.h"
#include "classlib/testing/gui_testing.h"
#include "classlib/graphics/icon.h"
#include "classlib/graphics/jpeg.h"
#include "classlib/graphics/register_graphics.h"
#include "classlib/graphics/test_pictures.h"

namespace {

TOwned<TForm> MakeForm() {
    RegisterGraphicClasses();
    RegisterJpegFormat();
    auto form = MakeOwned<TForm>(nullptr);
    form->SetName("PictureForm");
    form->SetBounds(120, 120, 240, 180);
    form->SetCaption("Pictures");
    form->SetColor(clYellow);
    return form;
}

// The bytes of "Picture.Data = {...}" in a layout text.
std::vector<uint8_t> PictureData(const std::string& text) {
    size_t start = text.find("Picture.Data = {");
    if (start == std::string::npos) return {};
    size_t end = text.find('}', start);
    std::string hex;
    for (size_t i = start + 16; i < end; ++i)
        if (isxdigit(static_cast<unsigned char>(text[i]))) hex += text[i];
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) bytes.push_back(static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

TEST(Images, APictureInALayoutIsWrittenCompactlyAndReadBack) {
    auto bitmap = MakeBitmap(20, 10, [](int x, int y) { return x < 10 ? (y < 5 ? clRed : clBlue) : clLime; });
    auto form = MakeForm();
    auto* image = new TImage(form.get());
    image->SetName("Image1");
    image->SetParent(form.get());
    image->SetBounds(10, 12, 20, 10);
    image->Picture()->SetGraphic(bitmap.get());
    std::string text = WriteComponentToText(form.get());
    EXPECT_NE(text.find("object Image1: TImage"), std::string::npos) << text;

    // The class name as a short string, then exactly the BMP file.
    std::vector<uint8_t> expected = {7, 'T', 'B', 'i', 't', 'm', 'a', 'p'};
    std::vector<uint8_t> bmp = SavedBytes(*bitmap);
    expected.insert(expected.end(), bmp.begin(), bmp.end());
    EXPECT_EQ(bmp.size(), 54u + 60 * 10);
    EXPECT_EQ(PictureData(text), expected);

    auto copy = MakeOwned<TForm>(nullptr);
    ReadComponentFromText(copy.get(), text);
    auto* read = dynamic_cast<TImage*>(copy->FindComponent("Image1"));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->BoundsRect(), Rect(10, 12, 30, 22));
    ASSERT_NE(dynamic_cast<TBitmap*>(read->Picture()->Graphic()), nullptr);
    EXPECT_EQ(read->Picture()->Bitmap()->Pixels32(), bitmap->Pixels32());
    EXPECT_EQ(WriteComponentToText(copy.get()), text);

    copy->Show();
    DrainMessages();
    TWindowPixels pixels(copy->Handle());
    pixels.SavePng(ScreenshotFolder() + "image_layout.png");
    EXPECT_EQ(pixels.At(11, 13), RGB(255, 0, 0));
    EXPECT_EQ(pixels.At(11, 20), RGB(0, 0, 255));
    EXPECT_EQ(pixels.At(25, 15), RGB(0, 255, 0));
    EXPECT_EQ(pixels.At(35, 15), RGB(255, 255, 0));  // the form around it
}

TEST(Images, LayoutsCarryOtherPictureKindsAndRejectUnknownOnes) {
    auto form = MakeForm();
    auto* image = new TImage(form.get());
    image->SetName("Photo");
    image->SetParent(form.get());
    TJPEGImage jpeg;
    jpeg.Assign(MakeBitmap(16, 8, [](int, int) { return clBlue; }).get());
    image->Picture()->SetGraphic(&jpeg);
    std::string text = WriteComponentToText(form.get());
    std::vector<uint8_t> data = PictureData(text);
    ASSERT_GT(data.size(), 13u);
    EXPECT_EQ(std::string(data.begin() + 1, data.begin() + 11), "TJPEGImage");
    EXPECT_EQ(data[11], 0xFF);
    EXPECT_EQ(data[12], 0xD8);

    auto copy = MakeOwned<TForm>(nullptr);
    ReadComponentFromText(copy.get(), text);
    auto* read = dynamic_cast<TImage*>(copy->FindComponent("Photo"));
    ASSERT_NE(read, nullptr);
    EXPECT_NE(dynamic_cast<TJPEGImage*>(read->Picture()->Graphic()), nullptr);
    EXPECT_EQ(read->Picture()->Width(), 16);

    // A class nobody registered, and a picture cut short.
    std::string unknown = text;
    size_t name = text.find("0A544A504547496D616765");
    ASSERT_NE(name, std::string::npos);
    unknown.replace(name, 22, "0A544E6F53756368496D67");
    auto broken = MakeOwned<TForm>(nullptr);
    EXPECT_THROW(ReadComponentFromText(broken.get(), unknown), Exception);
    std::string cut = text;
    size_t open = cut.find("Picture.Data = {") + 16;
    cut.erase(open + 60, cut.find('}', open) - open - 60);
    auto truncated = MakeOwned<TForm>(nullptr);
    EXPECT_THROW(ReadComponentFromText(truncated.get(), cut), Exception);
}

TEST(Images, ThePictureIsPlacedByStretchCenterAndProportional) {
    auto form = MakeForm();
    auto* image = new TImage(form.get());
    image->SetParent(form.get());
    image->SetBounds(0, 0, 100, 100);
    image->Picture()->Bitmap()->SetSize(40, 20);
    EXPECT_EQ(image->DestRect(), Rect(0, 0, 40, 20));
    image->SetCenter(true);
    EXPECT_EQ(image->DestRect(), Rect(30, 40, 70, 60));
    image->SetProportional(true);  // small pictures are not enlarged
    EXPECT_EQ(image->DestRect(), Rect(30, 40, 70, 60));
    image->SetStretch(true);
    EXPECT_EQ(image->DestRect(), Rect(0, 25, 100, 75));
    image->SetCenter(false);
    EXPECT_EQ(image->DestRect(), Rect(0, 0, 100, 50));
    image->SetProportional(false);
    EXPECT_EQ(image->DestRect(), Rect(0, 0, 100, 100));
    image->SetStretch(false);
    image->SetProportional(true);
    image->Picture()->Bitmap()->SetSize(100, 400);  // big ones shrink
    EXPECT_EQ(image->DestRect(), Rect(0, 0, 25, 100));

    image->SetAutoSize(true);
    EXPECT_EQ(image->Width(), 100);
    EXPECT_EQ(image->Height(), 400);
    image->Picture()->Bitmap()->SetSize(30, 20);
    EXPECT_EQ(image->BoundsRect(), Rect(0, 0, 30, 20));
}

TEST(Images, DrawingOnTheCanvasMakesTheBitmap) {
    auto form = MakeForm();
    auto* image = new TImage(form.get());
    image->SetParent(form.get());
    image->SetBounds(5, 5, 30, 20);
    image->Canvas()->Brush().SetColor(clRed);
    image->Canvas()->FillRect(Rect(0, 0, 10, 10));
    ASSERT_NE(dynamic_cast<TBitmap*>(image->Picture()->Graphic()), nullptr);
    EXPECT_EQ(image->Picture()->Width(), 30);
    EXPECT_EQ(image->Picture()->Bitmap()->Pixels32()[0], 0xFF0000u);

    // Another kind of picture becomes a bitmap of it.
    TIcon icon;
    icon.SetHandle(CopyIcon(LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION))));
    image->Picture()->SetGraphic(&icon);
    TCanvas* canvas = image->Canvas();
    ASSERT_NE(canvas, nullptr);
    EXPECT_NE(dynamic_cast<TBitmap*>(image->Picture()->Graphic()), nullptr);
    EXPECT_EQ(image->Picture()->Width(), icon.Width());

    form->Show();
    DrainMessages();
    canvas->Brush().SetColor(clBlue);
    canvas->FillRect(Rect(0, 0, 4, 4));
    DrainMessages();
    TWindowPixels pixels(form->Handle());
    EXPECT_EQ(pixels.At(6, 6), RGB(0, 0, 255));  // repainted after the change
}

TEST(Images, TransparentImagesShowTheFormBehind) {
    auto form = MakeForm();
    auto* image = new TImage(form.get());
    image->SetParent(form.get());
    image->SetBounds(20, 20, 8, 8);
    image->SetTransparent(true);
    image->Picture()->SetGraphic(
        MakeBitmap(8, 8, [](int x, int) { return x < 4 ? clFuchsia : clNavy; }).get());
    EXPECT_TRUE(image->Picture()->Graphic()->Transparent());
    EXPECT_FALSE(image->ControlStyle().Contains(csOpaque));
    form->Show();
    DrainMessages();
    TWindowPixels pixels(form->Handle());
    pixels.SavePng(ScreenshotFolder() + "image_transparent.png");
    EXPECT_EQ(pixels.At(21, 22), RGB(255, 255, 0));
    EXPECT_EQ(pixels.At(26, 22), RGB(0, 0, 128));
    image->SetTransparent(false);
    EXPECT_TRUE(image->ControlStyle().Contains(csOpaque));
    DrainMessages();
    EXPECT_EQ(TWindowPixels(form->Handle()).At(21, 22), RGB(255, 0, 255));
}

}  // namespace
