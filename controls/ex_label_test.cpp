#include "controls/ex_label.h"

#include <gtest/gtest.h>

#include "classlib/stdctrls/edit.h"
#include "classlib/stdctrls/test_support.h"
#include "classlib/gui/scoped_win32.h"
#include "classlib/testing/caption_ink.h"
#include "controls/bitmap_test_support.h"
#include "controls/window_utils.h"

namespace {

using ExLabelOnForm = SharedFormTest;

// A bitmap font: its text pixels are exact.
constexpr const char* PlainFont = "MS Sans Serif";

SIZE MeasuredText(const TFont& font, const std::string& text) {
    auto bitmap = FilledBitmap(4, 4, clWhite);
    bitmap->Canvas()->SetFont(font);
    TRect r = Rect(0, 0, 0, 0);
    DrawTextA(bitmap->Canvas()->Handle(), text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT);
    return SIZE{RectWidth(r), RectHeight(r)};
}

// Text "Hi" in black with a red shadow on white; returns the pixels.
TOwned<TBitmap> Shadowed(int size, TShadowPosition position, int* height = nullptr, TRect* rect = nullptr) {
    auto bitmap = FilledBitmap(60, 40, clWhite);
    bitmap->Canvas()->Font().SetName(PlainFont);
    bitmap->Canvas()->Brush().SetStyle(bsClear);
    HDC dc = bitmap->Canvas()->Handle();
    SetTextColor(dc, RGB(0, 0, 0));
    TRect r = Rect(20, 10, 60, 40);
    int h = DrawTextWithShadow(dc, "Hi", 2, r, DT_LEFT, size, RGB(255, 0, 0), position);
    if (height) *height = h;
    if (rect) *rect = r;
    return bitmap;
}

TEST(ExLabel, ShadowsFallWhereTheirPositionSays) {
    auto plain = Shadowed(0, spLeftTop);
    const struct {
        TShadowPosition Position;
        int Dx, Dy;
    } cases[] = {{spLeftTop, -2, -2}, {spLeftBottom, -2, 2}, {spRightBottom, 2, 2}, {spRightTop, 2, -2}};
    for (const auto& c : cases) {
        int height = 0;
        auto shadowed = Shadowed(2, c.Position, &height);
        int text = 0, shadow = 0, misplaced = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 60; ++x) {
                if (At(*plain, x, y) != 0) continue;  // black in the plain text
                ++text;
                EXPECT_EQ(At(*shadowed, x, y), 0u);
                const uint32_t below = At(*shadowed, x + c.Dx, y + c.Dy);
                shadow += below == 0xFF0000u;
                misplaced += below != 0xFF0000u && below != 0;
            }
        EXPECT_GT(text, 10);
        EXPECT_GT(shadow, 0) << c.Position;
        EXPECT_EQ(misplaced, 0) << c.Position;
        auto bitmap = FilledBitmap(4, 4, clWhite);
        bitmap->Canvas()->Font().SetName(PlainFont);
        EXPECT_EQ(height, MeasuredText(bitmap->Canvas()->Font(), "Hi").cy + 2);
    }
    // Size 0: the shadow lies under the text; nothing red shows.
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x) ASSERT_NE(At(*plain, x, y), 0xFF0000u);
}

TEST(ExLabel, MeasuringGivesTheUnionOfTextAndShadow) {
    auto bitmap = FilledBitmap(4, 4, clWhite);
    bitmap->Canvas()->Font().SetName(PlainFont);
    const SIZE text = MeasuredText(bitmap->Canvas()->Font(), "Hi");
    TRect r = Rect(20, 10, 60, 40);
    DrawTextWithShadow(bitmap->Canvas()->Handle(), "Hi", 2, r, DT_LEFT | DT_CALCRECT, 3, 0, spLeftTop);
    EXPECT_EQ(r, Rect(17, 7, 20 + text.cx, 10 + text.cy));
}

TEST_F(ExLabelOnForm, FreshLabelsHoldTheirDefaults) {
    auto* label = AddControl<TExLabel>(form, 10, 10, 65, 17);
    TOwned<TExLabel> fresh(New<TExLabel>(nullptr));
    EXPECT_EQ(fresh->Width(), 65);
    EXPECT_EQ(fresh->Height(), 17);
    EXPECT_FALSE(fresh->Transparent());
    EXPECT_TRUE(fresh->ControlStyle().Contains(csReplicatable));
    EXPECT_EQ(fresh->ShadowColor(), clBtnHighlight);
    EXPECT_EQ(fresh->ShadowSize(), 1);
    EXPECT_EQ(fresh->ShadowPos(), spLeftTop);
    EXPECT_TRUE(fresh->AutoSize());
    EXPECT_TRUE(fresh->ShowAccelChar());
    label->SetTransparent(true);
    EXPECT_FALSE(label->ControlStyle().Contains(csOpaque));
}

TEST_F(ExLabelOnForm, AutoSizeMeasuresTextAndShadowAndKeepsTheRightEdgeOfRightAlignedLabels) {
    auto* label = AddControl<TExLabel>(form, 100, 10, 65, 17);
    label->Font()->SetName(PlainFont);
    const SIZE space = MeasuredText(*label->Font(), " ");
    // An empty caption, and a lone "&", measure one line (a blank).
    label->SetCaption("x");
    label->SetCaption("");
    EXPECT_EQ(label->Width(), space.cx + 2);
    EXPECT_EQ(label->Height(), space.cy);
    label->SetCaption("&");
    EXPECT_EQ(label->Height(), space.cy);

    label->SetCaption("Heading");
    const SIZE text = MeasuredText(*label->Font(), "Heading");
    // Left: the shadow's column; right: one more pixel after the text.
    EXPECT_EQ(label->Width(), text.cx + 2);
    EXPECT_EQ(label->Left(), 100);
    label->SetShadowPos(spRightBottom);
    label->SetShadowSize(2);
    EXPECT_EQ(label->Height(), text.cy + 2);  // the shadow below adds its size
    EXPECT_EQ(label->Width(), text.cx + 4);

    label->SetAlignment(taRightJustify);
    const int right = label->Left() + label->Width();
    label->SetCaption("A longer heading");
    EXPECT_EQ(label->Left() + label->Width(), right);
    label->SetAlignment(taCenter);
    const int left = label->Left();
    label->SetCaption("Short");
    EXPECT_EQ(label->Left(), left);

    // With AutoSize off, word wrap waits for the next paint.
    label->SetAutoSize(false);
    const TRect bounds = label->BoundsRect();
    label->SetWordWrap(true);
    EXPECT_EQ(label->BoundsRect(), bounds);
}

// Fonts that place glyphs at fractional positions draw the last glyph a
// few pixels past the measured text: an auto-sized label makes room for it.
TEST_F(ExLabelOnForm, AutoSizedLabelsShowTheirLastGlyph) {
    const std::string captions[] = {"Background color of window:", "http://www.vortel.example/quillory/"};
    TExLabel* labels[2];
    for (int i = 0; i < 2; ++i) {
        labels[i] = AddControl<TExLabel>(form, 10, 10 + 30 * i, 65, 17);
        labels[i]->SetCaption(captions[i]);
    }
    DrainMessages();
    TWindowPixels pixels(form->Handle());
    for (int i = 0; i < 2; ++i) EXPECT_TRUE(ShowsWholeCaption(pixels, form->Handle(), labels[i], captions[i]));
}

TEST_F(ExLabelOnForm, DisabledLabelsAreEngraved) {
    auto* label = AddControl<TExLabel>(form, 10, 10, 65, 17);
    label->Font()->SetName(PlainFont);
    label->SetCaption("Engraved");
    label->SetAutoSize(false);
    label->SetBounds(10, 10, 100, 30);
    label->SetShadowSize(0);
    label->SetEnabled(false);
    DrainMessages();
    TWindowPixels pixels(form->Handle());
    int grey = 0, highlightedBelowRight = 0;
    for (int y = 0; y < label->Height(); ++y)
        for (int x = 0; x < label->Width(); ++x) {
            if ((pixels.At(10 + x, 10 + y) & 0xFFFFFF) != Rgb(clGrayText)) continue;
            ++grey;
            const COLORREF beside = pixels.At(11 + x, 11 + y) & 0xFFFFFF;
            highlightedBelowRight += beside == Rgb(clBtnHighlight) || beside == Rgb(clGrayText);
        }
    EXPECT_GT(grey, 10);
    EXPECT_EQ(highlightedBelowRight, grey);
}

TEST_F(ExLabelOnForm, TheAcceleratorFocusesTheFocusControlUnlessSwitchedOff) {
    auto* edit = AddControl<TEdit>(form, 100, 40, 80, 21);
    auto* other = AddControl<TEdit>(form, 100, 80, 80, 21);
    auto* label = AddControl<TExLabel>(form, 10, 40, 65, 17);
    label->SetCaption("&Name");
    label->SetFocusControl(edit);
    other->SetFocus();
    EXPECT_EQ(label->Perform(CM_DIALOGCHAR, 'n'), 1);
    EXPECT_TRUE(PumpUntil([&] { return edit->Focused(); }));

    other->SetFocus();
    label->SetShowAccelChar(false);
    EXPECT_EQ(label->Perform(CM_DIALOGCHAR, 'n'), 0);
    DrainMessages();
    EXPECT_TRUE(other->Focused());

    // A freed focus control is forgotten.
    edit->Free();
    EXPECT_EQ(label->FocusControl(), nullptr);
}

TEST_F(ExLabelOnForm, TheFocusFrameFollowsTheFocusControl) {
    auto* edit = AddControl<TEdit>(form, 100, 40, 80, 21);
    auto* other = AddControl<TEdit>(form, 100, 80, 80, 21);
    auto* label = AddControl<TExLabel>(form, 10, 40, 65, 17);
    label->SetCaption("Framed");
    label->SetShowFocus(true);
    label->SetFocusControl(edit);
    edit->SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return label->FocusShown(); }));
    other->SetFocus();
    EXPECT_TRUE(PumpUntil([&] { return !label->FocusShown(); }));
}

TEST_F(ExLabelOnForm, LeavingWhileTheButtonIsHeldWaitsForTheRelease) {
    SetActiveWindow(form->Handle());
    ASSERT_TRUE(PumpUntil([&] { return IsActiveWindowOfThisThread(); }));
    auto* label = AddControl<TExLabel>(form, 10, 10, 65, 17);
    label->SetAutoSize(false);
    label->SetCaption("Hover");
    int entered = 0, left = 0;
    label->OnMouseEnter = [&](TObject* sender) { entered += sender == label; };
    label->OnMouseLeave = [&](TObject* sender) { left += sender == label; };
    label->Perform(CM_MOUSEENTER);
    EXPECT_EQ(entered, 1);
    EXPECT_TRUE(label->MouseInControl());

    MouseDownAt(label, 5, 5);
    label->Perform(CM_MOUSELEAVE);  // dragged out with the button held
    EXPECT_EQ(left, 0);
    MouseUpAt(label, 200, 150);  // released outside
    EXPECT_EQ(left, 1);
    EXPECT_FALSE(label->MouseInControl());

    label->Perform(CM_MOUSEENTER);
    label->SetEnabled(false);  // a disabled label is not under the mouse
    EXPECT_EQ(left, 2);
}

}  // namespace
