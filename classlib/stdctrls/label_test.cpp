#include "classlib/stdctrls/label.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "classlib/core/filer.h"
#include "classlib/stdctrls/edit.h"
#include "classlib/stdctrls/stdctrls.h"
#include "classlib/gui/graphics_objects.h"
#include "classlib/stdctrls/test_support.h"
#include "classlib/testing/caption_ink.h"

namespace {

using LabelOnForm = SharedFormTest;

// What GDI measures for a single line in the label's font.
SIZE TextSize(TLabel* label, const std::string& text) {
    TWindowDC dc(nullptr);
    TSelectedObject font(dc, FontHandle(*label->Font()));
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    size.cy = metrics.tmHeight;
    return size;
}

// The widest line GDI makes of the text when it wraps it at the width.
int WrappedWidth(TLabel* label, const std::string& text, int width) {
    TWindowDC dc(nullptr);
    TSelectedObject font(dc, FontHandle(*label->Font()));
    RECT r{0, 0, width, 0};
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
    return r.right;
}

TEST(Label, AutoSizeFitsTheText) {
    auto form = MakeForm();
    auto* label = AddControl<TLabel>(form.get(), 10, 10, 65, 17);
    label->SetCaption("Some text");
    SIZE size = TextSize(label, "Some text");
    // As wide as the text, or as its ink where that reaches further.
    const int width = std::max<int>(size.cx, TextInkWidth(FontHandle(*label->Font()), "Some text"));
    EXPECT_EQ(label->Width(), width);
    EXPECT_EQ(label->Height(), size.cy);
    // The accelerator's "&" takes no room.
    label->SetCaption("&Some text");
    EXPECT_EQ(label->Width(), width);
    // An empty label keeps the height of a line.
    label->SetCaption("");
    EXPECT_EQ(label->Height(), size.cy);
    EXPECT_GT(label->Width(), 0);

    // Right-aligned labels grow to the left.
    label->SetAlignment(taRightJustify);
    label->SetCaption("x");
    int right = label->Left() + label->Width();
    label->SetCaption("a longer caption");
    EXPECT_EQ(label->Left() + label->Width(), right);

    label->SetAutoSize(false);
    label->SetBounds(10, 10, 40, 100);
    label->SetCaption("longer than forty pixels for sure");
    EXPECT_EQ(label->BoundsRect(), Rect(10, 10, 50, 110));

    // Wrapped text fits its widest line (and its ink) and grows down.
    label->SetWordWrap(true);
    label->SetAutoSize(true);
    const std::string wrapped = "longer than forty pixels for sure";
    EXPECT_LE(WrappedWidth(label, wrapped, 40), 40);
    EXPECT_EQ(label->Width(), std::max(WrappedWidth(label, wrapped, 40),
                                       TextInkWidth(FontHandle(*label->Font()), wrapped,
                                                    DT_WORDBREAK | DT_EXPANDTABS, 40)));
    EXPECT_GE(label->Height(), 3 * size.cy);
}

// Fonts that place glyphs at fractional positions draw the last glyph a
// few pixels past the measured text: an auto-sized label makes room for it.
TEST_F(LabelOnForm, AutoSizedLabelsShowTheirLastGlyph) {
    const std::vector<std::string> captions = {"Windows title:", "Background color of window:",
                                               "Vortel - software for CD publishers"};
    std::vector<TLabel*> labels;
    for (size_t i = 0; i < captions.size(); ++i) {
        auto* label = AddControl<TLabel>(form, 10, 10 + 25 * static_cast<int>(i), 65, 17);
        label->SetCaption(captions[i]);
        labels.push_back(label);
    }
    DrainMessages();
    TWindowPixels pixels(form->Handle());
    for (size_t i = 0; i < labels.size(); ++i)
        EXPECT_TRUE(ShowsWholeCaption(pixels, form->Handle(), labels[i], captions[i]));
}

// Labels read from a layout are sized to their text once loaded, exactly as
// labels made in code and given the same text.
TEST(Label, LabelsReadFromALayoutAreSizedAsLabelsMadeInCode) {
    RegisterStdControls();
    auto form = MakeForm();
    const std::string text = "object F: TForm\r\n"
                             "  object Named: TLabel\r\n    Left = 8\r\n    Top = 8\r\n    Width = 1\r\n"
                             "    Height = 1\r\n    Caption = 'Windows title:'\r\n  end\r\n"
                             "  object Empty: TLabel\r\n    Left = 8\r\n    Top = 40\r\n  end\r\n"
                             "end\r\n";
    ReadComponentFromText(form.get(), text);
    auto* named = dynamic_cast<TLabel*>(form->FindComponent("Named"));
    auto* empty = dynamic_cast<TLabel*>(form->FindComponent("Empty"));
    ASSERT_NE(named, nullptr);
    ASSERT_NE(empty, nullptr);

    auto* namedInCode = AddControl<TLabel>(form.get(), 8, 80, 65, 17);
    namedInCode->SetCaption("Windows title:");
    auto* emptyInCode = New<TLabel>(form.get());
    emptyInCode->SetParent(form.get());
    EXPECT_EQ(named->Width(), namedInCode->Width());
    EXPECT_EQ(named->Height(), namedInCode->Height());
    EXPECT_EQ(named->Height(), TextSize(named, "Windows title:").cy);
    EXPECT_EQ(empty->Width(), emptyInCode->Width());
    EXPECT_EQ(empty->Height(), emptyInCode->Height());
    EXPECT_EQ(empty->BoundsRect(), Rect(8, 40, 8 + emptyInCode->Width(), 40 + emptyInCode->Height()));
}

TEST(Label, FocusControlIsForgottenWhenFreed) {
    auto form = MakeForm();
    auto* label = AddControl<TLabel>(form.get(), 10, 10, 65, 17);
    auto* edit = AddControl<TEdit>(form.get(), 10, 40, 100, 21);
    label->SetFocusControl(edit);
    edit->Free();
    EXPECT_EQ(label->FocusControl(), nullptr);
}

struct LabelAccelerators : SharedFormTest {
    TEdit* first = AddControl<TEdit>(form, 100, 10, 100, 21);
    TEdit* second = AddControl<TEdit>(form, 100, 40, 100, 21);
    TLabel* label = AddControl<TLabel>(form, 10, 40, 80, 17);

    void SetUp() override {
        label->SetCaption("&Name");
        label->SetFocusControl(second);
        first->SetFocus();
        DrainMessages();
    }
};

TEST_F(LabelAccelerators, AltKeyFocusesTheFocusControl) {
    PressChord(VK_MENU, 'N');
    EXPECT_TRUE(second->Focused());
    EXPECT_EQ(second->Text(), "");  // the key typed nothing
}

TEST_F(LabelAccelerators, NoAcceleratorWhenDisabledOrNotShown) {
    label->SetEnabled(false);
    PressChord(VK_MENU, 'N');
    EXPECT_TRUE(first->Focused());
    label->SetEnabled(true);
    label->SetShowAccelChar(false);
    PressChord(VK_MENU, 'N');
    EXPECT_TRUE(first->Focused());
    label->SetShowAccelChar(true);
    label->SetCaption("&&Name");
    PressChord(VK_MENU, 'N');
    EXPECT_TRUE(first->Focused());
}

// The first row of the label's area that holds ink, or -1.
int FirstInkRow(TForm* form, TLabel* label) {
    TWindowPixels pixels(form->Handle());
    const TRect r = label->BoundsRect();
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (pixels.At(x, y) != Rgb(label->Color())) return y;
    return -1;
}

// A line of text sits at the top, in the middle or at the bottom of a
// taller label; the spare room is split evenly in the middle.
TEST_F(LabelOnForm, LayoutPlacesTheTextVertically) {
    auto* label = AddControl<TLabel>(form, 10, 130, 100, 90);
    label->SetAutoSize(false);
    label->SetBounds(10, 130, 100, 90);
    label->SetCaption("Wm");
    label->SetColor(clYellow);
    const int line = TextSize(label, "Wm").cy;
    DrainMessages();
    const int top = FirstInkRow(form, label);
    ASSERT_GE(top, 130);
    label->SetLayout(tlCenter);
    DrainMessages();
    EXPECT_EQ(FirstInkRow(form, label), top + (90 - line) / 2);
    label->SetLayout(tlBottom);
    DrainMessages();
    EXPECT_EQ(FirstInkRow(form, label), top + 90 - line);
}

TEST_F(LabelAccelerators, ColourTransparencyAndEmbossing) {
    label->SetAutoSize(false);
    label->SetBounds(10, 80, 120, 40);
    label->SetCaption("Wm");
    label->SetColor(clYellow);
    DrainMessages();
    EXPECT_EQ(TWindowPixels(form->Handle()).At(120, 110), Rgb(clYellow));
    label->SetTransparent(true);
    DrainMessages();
    EXPECT_EQ(TWindowPixels(form->Handle()).At(120, 110), Rgb(clBtnFace));

    // Disabled text: a light copy one pixel down and right under a shadow one.
    label->SetEnabled(false);
    label->Font()->SetHeight(-24);
    label->Font()->SetStyle(TFontStyles{fsBold});
    DrainMessages();
    TWindowPixels pixels(form->Handle());
    int light = 0, shadow = 0, dark = 0;
    for (int x = 10; x < 130; ++x)
        for (int y = 80; y < 120; ++y) {
            COLORREF p = pixels.At(x, y);
            light += p == Rgb(clBtnHighlight);
            shadow += p == Rgb(clBtnShadow);
            dark += p == Rgb(clWindowText);
        }
    EXPECT_GT(light, 10);
    EXPECT_GT(shadow, 10);
    EXPECT_EQ(dark, 0);
}

}  // namespace
