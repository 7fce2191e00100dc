// The editor's controls side by side, saved as a picture to look at: every
// kind of themed button with and without visual styles and disabled, the
// shadowed labels, an image button and a speed button with a drop-down menu.
#include <gtest/gtest.h>

#include "classlib/stdctrls/test_support.h"
#include "controls/bitmap_test_support.h"
#include "classlib/gui/menus.h"
#include "classlib/testing/caption_ink.h"
#include "controls/ex_label.h"
#include "controls/ex_speed_button.h"
#include "controls/image_btn.h"
#include "controls/themed_bitbtn.h"

namespace {


// Pixels of the area that are not the face colour.
int MarkedPixels(const TWindowPixels& pixels, const TRect& area) {
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) n += (pixels.At(x, y) & 0xFFFFFF) != Rgb(clBtnFace);
    return n;
}

TEST(ControlsScreenshot, EveryKindShowsItsGlyphAndCaption) {
    auto form = MakeForm(560, 300);
    form->SetCaption("Extended controls");
    std::vector<TThemedBitBtn*> buttons;
    auto addRow = [&](int top, bool enabled) {
        for (int kind = themed_buttons::bkOK; kind <= themed_buttons::bkAll; ++kind) {
            auto* button = AddControl<TThemedBitBtn>(form.get(), 10 + (kind - 1) % 5 * 105,
                                                     top + (kind - 1) / 5 * 32, 100, 28);
            button->SetKind(static_cast<themed_buttons::TThemedBitBtnKind>(kind));
            button->SetEnabled(enabled);
            buttons.push_back(button);
        }
    };
    // The classic look: made while the binding finds no library, these
    // buttons hold no theme.
    StartThemeLibraryUnit();
    theme_library_testing::SetLibraryName("no_such_theme_library.dll");
    addRow(150, true);
    StopThemeLibraryUnit();
    theme_library_testing::SetLibraryName(nullptr);
    StartThemeLibraryUnit();
    addRow(10, true);
    addRow(80, false);

    auto* heading = AddControl<TExLabel>(form.get(), 10, 225, 65, 17);
    heading->Font()->SetSize(14);
    heading->Font()->SetStyle(TFontStyles{fsBold});
    heading->SetShadowColor(clWhite);
    heading->SetShadowSize(2);
    heading->SetCaption("Shadowed heading");
    auto* engraved = AddControl<TExLabel>(form.get(), 10, 260, 65, 17);
    engraved->SetCaption("Disabled label");
    engraved->SetEnabled(false);
    auto* image = AddControl<TImageBtn>(form.get(), 300, 225, 50, 50);
    image->Picture()->SetBitmap(FilledBitmap(48, 48, clTeal).get());
    auto* menuButton = AddControl<TExSpeedButton>(form.get(), 370, 220, 70, 46);
    menuButton->SetCaption("Menu");
    menuButton->SetGlyph(FilledBitmap(16, 16, clNavy).get());
    menuButton->Glyph()->Canvas()->SetPixel(0, 15, clFuchsia);
    menuButton->SetDropDownMenu(New<TPopupMenu>(form.get()));

    ShowAndWait(form.get());
    TWindowPixels pixels(form->Handle());
    pixels.SavePng(ScreenshotFolder() + "controls_editor_buttons.png");
    for (TThemedBitBtn* button : buttons) {
        TRect inner = button->BoundsRect();
        InflateRect(&inner, -4, -4);
        EXPECT_GT(MarkedPixels(pixels, inner), 40) << button->Caption();
        EXPECT_TRUE(ShowsWholeCaption(pixels, form->Handle(), button, button->Caption()));
    }
    EXPECT_TRUE(ShowsWholeCaption(pixels, form->Handle(), heading, "Shadowed heading"));
    EXPECT_TRUE(ShowsWholeCaption(pixels, form->Handle(), engraved, "Disabled label"));
    form.reset();
    StopThemeLibraryUnit();
}

}  // namespace
