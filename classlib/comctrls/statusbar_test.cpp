#include "classlib/comctrls/statusbar.h"

#include <gtest/gtest.h>

#include "classlib/comctrls/comctrls_test_support.h"
#include "classlib/core/filer.h"
#include "classlib/gui/scoped_win32.h"

namespace {

TStatusBar* AddStatusBar(TForm* form) {
    auto* bar = new TStatusBar(form);
    bar->SetName("StatusBar1");
    bar->SetParent(form);
    return bar;
}

std::string PartText(TStatusBar* bar, int part) {
    char text[256] = {};
    SendMessageA(bar->Handle(), SB_GETTEXTA, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text));
    return text;
}

TEST(StatusBar, OwnerDrawnPanelIsPaintedThroughTheCanvas) {
    auto form = MakeTestForm();
    TStatusBar* bar = AddStatusBar(form.get());
    bar->Font()->SetName("Courier New");
    TStatusPanel* ready = bar->Panels()->Add();
    ready->SetText("Ready");
    ready->SetWidth(100);
    TStatusPanel* drawn = bar->Panels()->Add();
    drawn->SetStyle(psOwnerDraw);
    drawn->SetWidth(80);
    bar->Panels()->Add()->SetText("Rest");

    int draws = 0;
    TRect drawnRect{};
    std::string fontName;
    bar->OnDrawPanel = [&](TStatusBar* sender, TStatusPanel* panel, const TRect& rect) {
        EXPECT_EQ(sender, bar);
        EXPECT_EQ(panel, drawn);
        ++draws;
        drawnRect = rect;
        fontName = sender->Canvas()->Font().Name();
        sender->Canvas()->Brush().SetColor(clRed);
        sender->Canvas()->FillRect(rect);
    };
    ShowAndPump(form.get());
    bar->Repaint();
    DrainMessages();

    EXPECT_EQ(bar->Align(), alBottom);
    EXPECT_EQ(bar->Top() + bar->Height(), form->ClientHeight());
    EXPECT_EQ(bar->Width(), form->ClientWidth());
    ASSERT_GT(draws, 0);
    EXPECT_EQ(fontName, "Courier New");
    RECT part{};
    SendMessageA(bar->Handle(), SB_GETRECT, 1, reinterpret_cast<LPARAM>(&part));
    EXPECT_GE(drawnRect.left, part.left);
    EXPECT_LE(drawnRect.right, part.right);
    EXPECT_NEAR(part.left, 100, 4);  // after the first panel and the gap
    TWindowPixels pixels(bar->Handle());
    TPoint centre = Centre(drawnRect);
    EXPECT_EQ(pixels.At(centre.x, centre.y), RGB(255, 0, 0));
    EXPECT_NE(pixels.At(50, centre.y), RGB(255, 0, 0));
    EXPECT_EQ(PartText(bar, 0), "Ready");
}

TEST(StatusBar, PanelDrawnWithAFailureLeavesTheDeviceContextAsItWas) {
    auto form = MakeTestForm();
    TStatusBar* bar = AddStatusBar(form.get());
    TStatusPanel* drawn = bar->Panels()->Add();
    drawn->SetStyle(psOwnerDraw);
    bar->OnDrawPanel = [&](TStatusBar*, TStatusPanel*, const TRect& rect) {
        bar->Canvas()->FillRect(rect);
        throw Exception("Drawing failed");
    };
    TMemoryDC dc;
    TGdiObject picture(CreateCompatibleBitmap(TWindowDC(nullptr), 20, 10));
    TSelectedObject selected(dc, picture.Get());
    HGDIOBJ brush = GetCurrentObject(dc, OBJ_BRUSH);
    HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT);
    COLORREF textColor = GetTextColor(dc);
    DRAWITEMSTRUCT item{};
    item.itemID = 0;
    item.hDC = dc;
    item.rcItem = Rect(0, 0, 20, 10);
    EXPECT_THROW(bar->Perform(CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item)), Exception);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font);
    EXPECT_EQ(GetTextColor(dc), textColor);
    EXPECT_FALSE(bar->Canvas()->HandleAllocated());
}

TEST(StatusBar, PanelChangesReachTheWindow) {
    auto form = MakeTestForm();
    TStatusBar* bar = AddStatusBar(form.get());
    TStatusPanel* first = bar->Panels()->Add();
    first->SetText("A");
    bar->Panels()->Add()->SetText("B");
    ShowAndPump(form.get());
    EXPECT_EQ(SendMessageA(bar->Handle(), SB_GETPARTS, 0, 0), 2);

    first->SetAlignment(taCenter);
    first->SetText("Mitte");
    EXPECT_EQ(PartText(bar, 0), "\tMitte");
    first->SetWidth(120);
    RECT part{};
    SendMessageA(bar->Handle(), SB_GETRECT, 1, reinterpret_cast<LPARAM>(&part));
    EXPECT_NEAR(part.left, 120, 4);
    // The last panel reaches the end of the bar, also after a resize.
    form->SetWidth(form->Width() + 60);
    DrainMessages();
    SendMessageA(bar->Handle(), SB_GETRECT, 1, reinterpret_cast<LPARAM>(&part));
    EXPECT_GE(part.right, bar->ClientWidth() - 30);
    bar->Panels()->Delete(1);
    EXPECT_EQ(SendMessageA(bar->Handle(), SB_GETPARTS, 0, 0), 1);

    bar->SetSimpleText("Nur ein Text");
    bar->SetSimplePanel(true);
    EXPECT_TRUE(SendMessageA(bar->Handle(), SB_ISSIMPLE, 0, 0));
    bar->SetSizeGrip(false);  // a new window keeps all of it
    EXPECT_EQ(GetWindowLongA(bar->Handle(), GWL_STYLE) & SBARS_SIZEGRIP, 0);
    EXPECT_TRUE(SendMessageA(bar->Handle(), SB_ISSIMPLE, 0, 0));
    bar->SetSimplePanel(false);
    EXPECT_EQ(PartText(bar, 0), "\tMitte");
}

TEST(StatusBar, PanelsTravelThroughALayoutAsACollection) {
    auto form = MakeTestForm();
    form->SetName("Form1");
    TStatusBar* bar = AddStatusBar(form.get());
    TStatusPanel* panel = bar->Panels()->Add();
    panel->SetText("Datei");
    panel->SetWidth(150);
    panel->SetBevel(pbRaised);
    TStatusPanel* drawn = bar->Panels()->Add();
    drawn->SetStyle(psOwnerDraw);
    drawn->SetAlignment(taRightJustify);
    bar->SetSimpleText("Hinweis");
    std::string text = WriteComponentToText(form.get());
    EXPECT_NE(text.find("Panels = <"), std::string::npos);
    EXPECT_NE(text.find("Style = psOwnerDraw"), std::string::npos);
    EXPECT_EQ(text.find("Align = alBottom"), std::string::npos);  // the default

    auto copy = MakeTestForm();
    ReadComponentFromText(copy.get(), text);
    auto* read = dynamic_cast<TStatusBar*>(copy->FindComponent("StatusBar1"));
    ASSERT_TRUE(read);
    ASSERT_EQ(read->Panels()->Count(), 2);
    EXPECT_EQ(read->Panels()->Items(0)->Text(), "Datei");
    EXPECT_EQ(read->Panels()->Items(0)->Width(), 150);
    EXPECT_EQ(read->Panels()->Items(0)->Bevel(), pbRaised);
    EXPECT_EQ(read->Panels()->Items(1)->Style(), psOwnerDraw);
    EXPECT_EQ(read->Panels()->Items(1)->Alignment(), taRightJustify);
    EXPECT_EQ(read->Panels()->Items(1)->Width(), 50);
    EXPECT_EQ(read->SimpleText(), "Hinweis");
    EXPECT_EQ(read->Align(), alBottom);
}

}  // namespace
