#include <gtest/gtest.h>

#include "classlib/comctrls/comctrls_test_support.h"
#include "classlib/gui/scoped_win32.h"

namespace {

// 16 x 16 pictures: a blue page and a green folder-ish block, on a
// transparent background.
TImageList* MakeImages(TForm* form) {
    auto* images = new TImageList(form);
    TGdiObject strip = MakeBitmap(32, 16, [](int x, int y) -> uint32_t {
        int local = x % 16;
        bool inside = local >= 2 && local < 14 && y >= 2 && y < 14;
        if (!inside) return 0xFF00FF;
        if (local == 2 || local == 13 || y == 2 || y == 13) return 0x202020;
        return x < 16 ? 0x3060E0 : 0x30B040;
    });
    images->AddMasked(AsBitmap(strip), clFuchsia);
    return images;
}

TEST(CommonControls, AFormWithAllOfThem) {
    auto form = MakeTestForm(560, 380);
    form->SetCaption("Quillory - Men\xFC" "s");
    TImageList* images = MakeImages(form.get());

    auto* status = new TStatusBar(form.get());
    status->SetParent(form.get());
    TStatusPanel* state = status->Panels()->Add();
    state->SetText("Bereit");
    state->SetWidth(120);
    TStatusPanel* swatch = status->Panels()->Add();
    swatch->SetStyle(psOwnerDraw);
    swatch->SetWidth(60);
    status->Panels()->Add()->SetText("3 Men\xFCs");
    status->OnDrawPanel = [](TStatusBar* bar, TStatusPanel*, const TRect& rect) {
        bar->Canvas()->Brush().SetColor(clTeal);
        bar->Canvas()->FillRect(rect);
    };

    auto* tree = new TTreeView(form.get());
    tree->SetParent(form.get());
    tree->SetWidth(190);
    tree->SetAlign(alLeft);
    tree->SetImages(images);
    TTreeNodes* items = tree->Items();
    TTreeNode* menus = items->Add(nullptr, "Men\xFCs");
    menus->SetImageIndex(1);
    menus->SetSelectedIndex(1);
    for (const char* name : {"Start", "Programme", "Handb\xFC" "cher"}) items->AddChild(menus, name);
    TTreeNode* files = items->Add(nullptr, "Dateien");
    files->SetImageIndex(1);
    files->SetSelectedIndex(1);
    items->AddChild(files, "setup.exe");
    menus->SetExpanded(true);
    tree->SetSelected(menus->Item(1));

    auto* pages = new TPageControl(form.get());
    pages->SetParent(form.get());
    pages->SetAlign(alClient);
    pages->SetImages(images);
    auto* general = new TTabSheet(form.get());
    general->SetCaption("Allgemein");
    general->SetPageControl(pages);
    auto* layout = new TTabSheet(form.get());
    layout->SetCaption("Layout");
    layout->SetImageIndex(1);
    layout->SetPageControl(pages);

    auto* tabs = new TTabControl(form.get());
    tabs->SetParent(general);
    tabs->SetBounds(10, 10, 320, 150);
    tabs->SetStyle(tsButtons);
    tabs->Tabs()->SetCommaText("Text,Bild,Klang");
    tabs->SetTabIndex(1);

    ShowAndPump(form.get());
    TWindowPixels pixels(form->Handle());
    pixels.SavePng(ScreenshotFolder() + "comctrls_form.png");

    // The owner-drawn panel shows its colour on the form.
    RECT part{};
    SendMessageA(status->Handle(), SB_GETRECT, 1, reinterpret_cast<LPARAM>(&part));
    TPoint at = Centre(part);
    EXPECT_EQ(pixels.At(status->Left() + at.x, status->Top() + at.y), RGB(0, 0x80, 0x80));
    EXPECT_EQ(tree->Height(), status->Top());
    EXPECT_EQ(pages->Left(), tree->Width());
}

}  // namespace
