#include "classlib/stdctrls/speedbutton.h"

#include <gtest/gtest.h>

#include "classlib/gui/graphics_objects.h"
#include "classlib/stdctrls/test_support.h"
#include "classlib/testing/caption_ink.h"

namespace {

// The button's rectangle as the form's window shows it.
struct ButtonPixels {
    TWindowPixels pixels;
    TSpeedButton* button;
    explicit ButtonPixels(TSpeedButton* b) : pixels(b->Parent()->Handle()), button(b) {}
    COLORREF At(int x, int y) const { return pixels.At(button->Left() + x, button->Top() + y); }
    int Count(COLORREF color) const {
        int n = 0;
        for (int y = 0; y < button->Height(); ++y)
            for (int x = 0; x < button->Width(); ++x) n += At(x, y) == color;
        return n;
    }
};

using SpeedButtonOnForm = SharedFormTest;

TEST_F(SpeedButtonOnForm, PressedWhileHeldClickOnlyOnReleaseInside) {
    auto* button = AddControl<TSpeedButton>(form, 20, 20, 40, 30);
    button->SetCaption("Go");
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    DrainMessages();
    ButtonPixels up(button);
    MoveMouseTo(button, 20, 15);
    MouseButton(true);
    EXPECT_EQ(button->State(), bsDown);
    ButtonPixels down(button);
    EXPECT_NE(up.At(0, 0), down.At(0, 0));  // the frame turns sunken
    MoveMouseTo(form, 300, 200);
    EXPECT_EQ(button->State(), bsUp);
    MoveMouseTo(button, 20, 15);
    EXPECT_EQ(button->State(), bsDown);
    MouseButton(false);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(button->State(), bsUp);

    MouseButton(true);
    MoveMouseTo(form, 300, 200);
    MouseButton(false);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(button->Down());  // ungrouped buttons never stay down
}

TEST_F(SpeedButtonOnForm, GroupedButtonsStayDownOneAtATime) {
    TSpeedButton* buttons[3];
    for (int i = 0; i < 3; ++i) {
        buttons[i] = AddControl<TSpeedButton>(form, 20 + 30 * i, 20, 25, 25);
        buttons[i]->SetGroupIndex(1);
    }
    ClickAt(buttons[0], 10, 10);
    EXPECT_TRUE(buttons[0]->Down());
    ClickAt(buttons[1], 10, 10);
    EXPECT_TRUE(buttons[1]->Down());
    EXPECT_FALSE(buttons[0]->Down());
    ClickAt(buttons[1], 10, 10);  // the last down button stays down
    EXPECT_TRUE(buttons[1]->Down());
    EXPECT_EQ(buttons[1]->State(), bsExclusive);

    buttons[2]->SetAllowAllUp(true);  // tells the whole group
    EXPECT_TRUE(buttons[0]->AllowAllUp());
    ClickAt(buttons[1], 10, 10);
    EXPECT_FALSE(buttons[1]->Down());
    buttons[2]->SetDown(true);
    EXPECT_TRUE(buttons[2]->Down());
    EXPECT_FALSE(buttons[0]->Down());
}

TEST_F(SpeedButtonOnForm, FlatButtonsRaiseWhileTheMouseIsOver) {
    auto* flat = AddControl<TSpeedButton>(form, 20, 20, 30, 30);
    flat->SetFlat(true);
    MoveMouseTo(form, 300, 200);
    DrainMessages();
    const COLORREF face = Rgb(clBtnFace), light = Rgb(clBtnHighlight), shadow = Rgb(clBtnShadow);
    ButtonPixels plain(flat);
    EXPECT_EQ(plain.At(0, 0), face);
    EXPECT_EQ(plain.At(29, 29), face);

    MoveMouseTo(flat, 15, 15);
    EXPECT_TRUE(flat->MouseInControl());
    ButtonPixels raised(flat);
    EXPECT_EQ(raised.At(0, 0), light);
    EXPECT_EQ(raised.At(29, 29), shadow);

    MouseButton(true);
    ButtonPixels sunken(flat);
    EXPECT_EQ(sunken.At(0, 0), shadow);
    EXPECT_EQ(sunken.At(29, 29), light);
    MouseButton(false);

    MoveMouseTo(form, 300, 200);
    EXPECT_FALSE(flat->MouseInControl());
    EXPECT_EQ(ButtonPixels(flat).At(0, 0), face);
}

TEST_F(SpeedButtonOnForm, GlyphIsDrawnTransparentlyAndEmbossedWhenDisabled) {
    auto glyph = MakeOwned<TBitmap>();
    glyph->SetPixelFormat(pf24bit);
    glyph->SetSize(16, 16);
    glyph->Canvas()->Brush().SetColor(clOlive);  // the bottom-left pixel: transparent
    glyph->Canvas()->FillRect(Rect(0, 0, 16, 16));
    glyph->Canvas()->Brush().SetColor(clRed);
    glyph->Canvas()->FillRect(Rect(4, 4, 12, 12));
    auto* button = AddControl<TSpeedButton>(form, 20, 20, 30, 30);
    button->SetGlyph(glyph.get());
    DrainMessages();
    ButtonPixels enabled(button);
    EXPECT_EQ(enabled.Count(Rgb(clRed)), 64);
    EXPECT_EQ(enabled.Count(Rgb(clOlive)), 0);
    EXPECT_EQ(enabled.At(15, 15), Rgb(clRed));

    button->SetEnabled(false);
    DrainMessages();
    ButtonPixels disabled(button);
    EXPECT_EQ(disabled.Count(Rgb(clRed)), 0);
    EXPECT_EQ(disabled.Count(Rgb(clOlive)), 0);
    EXPECT_EQ(disabled.At(15, 15), Rgb(clBtnShadow));
    EXPECT_EQ(disabled.At(25, 15), Rgb(clBtnFace));  // beside the glyph

    // A second image of the glyph is the disabled one.
    glyph->SetSize(32, 16);
    glyph->Canvas()->Brush().SetColor(clBlue);
    glyph->Canvas()->FillRect(Rect(16, 0, 32, 15));
    button->SetGlyph(glyph.get());
    button->SetNumGlyphs(2);
    DrainMessages();
    EXPECT_GT(ButtonPixels(button).Count(Rgb(clBlue)), 200);
}

// Fonts that place glyphs at fractional positions draw the last glyph a
// few pixels past the measured text: the caption is not cut there.
TEST_F(SpeedButtonOnForm, CaptionsShowUpToTheirLastGlyph) {
    auto* web = AddControl<TSpeedButton>(form, 10, 10, 240, 25);
    web->SetFlat(true);
    web->SetCaption("http://www.vortel.example/quillory/");
    auto* disabled = AddControl<TSpeedButton>(form, 10, 50, 240, 25);
    disabled->SetCaption("www.vortel.example");
    disabled->SetEnabled(false);
    DrainMessages();
    TWindowPixels pixels(form->Handle());
    EXPECT_TRUE(ShowsWholeCaption(pixels, form->Handle(), web, "http://www.vortel.example/quillory/"));
    EXPECT_TRUE(ShowsWholeText(pixels, AreaInPicture(form->Handle(), disabled), FontHandle(*disabled->Font()),
                               Rgb(clBtnShadow), "www.vortel.example"));
}

}  // namespace
