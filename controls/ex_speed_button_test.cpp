#include "controls/ex_speed_button.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "classlib/gui/actions.h"
#include "classlib/gui/menus.h"
#include "classlib/testing/recording_popup_menu.h"
#include "classlib/stdctrls/panel.h"
#include "classlib/stdctrls/speedbutton.h"
#include "classlib/stdctrls/test_support.h"
#include "classlib/stdctrls/timer.h"
#include "controls/register_controls.h"
#include "controls/bitmap_test_support.h"

namespace {

using ExSpeedButtonOnForm = SharedFormTest;

TEST(ExSpeedButton, FreshButtonsHoldTheirDeclaredDefaults) {
    TOwned<TExSpeedButton> button(New<TExSpeedButton>(nullptr));
    for (const TPropInfo* prop : TExSpeedButton::StaticClass().Props()) {
        if (prop->Default == NoDefault || !prop->GetOrd) continue;
        EXPECT_EQ(prop->GetOrd(*button), prop->Default) << prop->Name;
    }
    EXPECT_EQ(button->Width(), 25);
    EXPECT_EQ(button->Height(), 25);
    EXPECT_EQ(button->ControlStyle(), (TControlStyle{csCaptureMouse, csOpaque, csDoubleClicks, csReplicatable}));
    EXPECT_EQ(button->InitPause(), 500);
    EXPECT_EQ(button->RepeatInterval(), 100);
    EXPECT_EQ(button->Spacing(), 1);
    EXPECT_EQ(button->Margin(), -1);
    EXPECT_EQ(button->Layout(), blGlyphTop);
    EXPECT_TRUE(button->ShowHint());
    EXPECT_FALSE(button->ParentShowHint());
    EXPECT_TRUE(button->ParentFont());
    EXPECT_EQ(CM_GROUPPRESSED, 0xB051u);
}

TEST(ExSpeedButton, LayoutsNameItBesideTheClassLibrarysSpeedButton) {
    RegisterControlClasses();
    RegisterClass(TSpeedButton::StaticClass());
    EXPECT_EQ(GetClass("TExSpeedButton"), &TExSpeedButton::StaticClass());
    EXPECT_EQ(GetClass("TSpeedButton"), &TSpeedButton::StaticClass());
    EXPECT_EQ(TExSpeedButton::StaticClass().FindProp("NumGlyphs")->Default, 1);
}

TEST(ExSpeedButton, SettersKeepTheirRanges) {
    TOwned<TExSpeedButton> button(New<TExSpeedButton>(nullptr));
    button->SetNumGlyphs(7);
    EXPECT_EQ(button->NumGlyphs(), 5);
    button->SetMargin(-2);
    EXPECT_EQ(button->Margin(), -1);
    button->SetMargin(3);
    EXPECT_EQ(button->Margin(), 3);
    button->SetDown(true);  // not grouped: never down
    EXPECT_FALSE(button->Down());
}

TEST_F(ExSpeedButtonOnForm, PressingClicksOnlyOnReleaseInside) {
    auto* button = AddControl<TExSpeedButton>(form, 20, 20, 40, 30);
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    MouseDownAt(button, 10, 10);
    EXPECT_EQ(button->State(), rgsDown);
    MouseMoveAt(button, 60, 10);
    EXPECT_EQ(button->State(), rgsUp);
    MouseMoveAt(button, 10, 10);
    EXPECT_EQ(button->State(), rgsDown);
    MouseUpAt(button, 10, 10);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(button->State(), rgsUp);

    MouseDownAt(button, 10, 10);
    MouseUpAt(button, 40, 10);  // the column at the width is outside
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(button->State(), rgsUp);
    MouseDownAt(button, 10, 10);
    MouseUpAt(button, 39, 30);  // the row at the height is inside
    EXPECT_EQ(clicks, 2);
}

TEST(ExSpeedButtonModal, AClickEndsAModalFormWithTheButtonsResult) {
    auto dialog = MakeForm(200, 120);
    auto* button = AddControl<TExSpeedButton>(dialog.get(), 20, 20, 40, 30);
    button->SetModalResult(mrOk);
    HWND window = dialog->Handle();
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(25, 25));
    PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(25, 25));
    PostMessageA(window, WM_CLOSE, 0, 0);  // ends the loop should the click not
    EXPECT_EQ(dialog->ShowModal(), mrOk);
}

TEST_F(ExSpeedButtonOnForm, GroupedButtonsGoDownOneAtATime) {
    auto* first = AddControl<TExSpeedButton>(form, 10, 10, 30, 30);
    auto* second = AddControl<TExSpeedButton>(form, 50, 10, 30, 30);
    auto* other = AddControl<TExSpeedButton>(form, 90, 10, 30, 30);
    first->SetGroupIndex(1);
    second->SetGroupIndex(1);
    other->SetGroupIndex(2);
    other->SetDown(true);
    first->SetDown(true);
    EXPECT_EQ(first->State(), rgsExclusive);
    MouseDownAt(second, 5, 5);
    MouseUpAt(second, 5, 5);
    EXPECT_TRUE(second->Down());
    EXPECT_FALSE(first->Down());
    EXPECT_EQ(first->State(), rgsUp);
    EXPECT_TRUE(other->Down());

    // Clicked again without AllowAllUp it stays down.
    MouseDownAt(second, 5, 5);
    MouseUpAt(second, 5, 5);
    EXPECT_TRUE(second->Down());
    // AllowAllUp goes to the whole group.
    second->SetAllowAllUp(true);
    EXPECT_TRUE(first->AllowAllUp());
    EXPECT_FALSE(other->AllowAllUp());
    MouseDownAt(second, 5, 5);
    MouseUpAt(second, 5, 5);
    EXPECT_FALSE(second->Down());
}

TEST_F(ExSpeedButtonOnForm, HeldDownTheClickRepeatsWhileCapturedAndDown) {
    auto* button = AddControl<TExSpeedButton>(form, 20, 20, 40, 30);
    button->SetAllowTimer(true);
    button->SetInitPause(60);
    button->SetRepeatInterval(20);
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    MouseDownAt(button, 10, 10);
    ASSERT_NE(button->RepeatTimer(), nullptr);
    EXPECT_EQ(button->RepeatTimer()->Interval(), 60);
    EXPECT_TRUE(PumpUntil([&] { return clicks >= 1; }));
    EXPECT_EQ(button->RepeatTimer()->Interval(), 20);
    EXPECT_TRUE(PumpUntil([&] { return clicks >= 3; }));
    const int held = clicks;
    MouseUpAt(button, 10, 10);
    EXPECT_EQ(clicks, held + 1);
    EXPECT_FALSE(button->RepeatTimer()->Enabled());
}

TEST_F(ExSpeedButtonOnForm, AClickThatStopsTheTimerDuringItsTickIsSafe) {
    auto* button = AddControl<TExSpeedButton>(form, 20, 20, 40, 30);
    button->SetAllowTimer(true);
    button->SetInitPause(20);
    button->SetRepeatInterval(20);
    int clicks = 0;
    button->OnClick = [&](TObject*) {
        if (++clicks == 2) button->SetAllowTimer(false);
    };
    MouseDownAt(button, 10, 10);
    EXPECT_TRUE(PumpUntil([&] { return clicks >= 2; }));
    EXPECT_EQ(button->RepeatTimer(), nullptr);
    MouseUpAt(button, 10, 10);
    EXPECT_EQ(clicks, 3);
    // A new press runs without a timer.
    MouseDownAt(button, 10, 10);
    EXPECT_EQ(button->RepeatTimer(), nullptr);
    MouseUpAt(button, 10, 10);
}

TEST_F(ExSpeedButtonOnForm, TheCaptionsAcceleratorClicksEnabledButtons) {
    auto* button = AddControl<TExSpeedButton>(form, 20, 20, 40, 30);
    button->SetCaption("&Go");
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    EXPECT_EQ(button->Perform(CM_DIALOGCHAR, 'g'), 1);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(button->Perform(CM_DIALOGCHAR, 'x'), 0);
    button->SetEnabled(false);
    EXPECT_EQ(button->Perform(CM_DIALOGCHAR, 'g'), 0);
    EXPECT_EQ(clicks, 1);
}

TEST_F(ExSpeedButtonOnForm, AFailingRepeatedClickStopsTheTimer) {
    auto* button = AddControl<TExSpeedButton>(form, 20, 20, 40, 30);
    TScriptedInteraction interaction;  // the reported failure's message box
    button->SetAllowTimer(true);
    button->SetInitPause(20);
    bool failed = false;
    button->OnClick = [&](TObject*) {
        failed = true;
        throw std::runtime_error("click failed");
    };
    MouseDownAt(button, 10, 10);
    EXPECT_TRUE(PumpUntil([&] { return failed; }));
    ASSERT_NE(button->RepeatTimer(), nullptr);
    EXPECT_FALSE(button->RepeatTimer()->Enabled());
    button->OnClick = nullptr;
    MouseUpAt(button, 10, 10);
}

// The button's pixels as the form shows them.
COLORREF ButtonPixel(TExSpeedButton* button, int x, int y) {
    button->Repaint();
    TWindowPixels pixels(button->Parent()->Handle());
    return pixels.At(button->Left() + x, button->Top() + y);
}

TEST_F(ExSpeedButtonOnForm, FlatButtonsShowBorderAndColourOnlyWithTheMouse) {
    auto* button = AddControl<TExSpeedButton>(form, 20, 20, 30, 30);
    button->SetFlat(true);
    button->SetGlyph(FilledBitmap(16, 16, clRed).get());
    // Bottom-left pixel is the transparent colour: give it another one.
    button->Glyph()->Canvas()->SetPixel(0, 15, clFuchsia);
    const int grey = (255 * 77) >> 8;
    EXPECT_EQ(ButtonPixel(button, 0, 0), Rgb(clBtnFace));
    EXPECT_EQ(ButtonPixel(button, 15, 12), RGB(grey, grey, grey));

    SetActiveWindow(form->Handle());
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == form->Handle(); }));
    int entered = 0, left = 0;
    button->OnMouseEnter = [&](TObject* sender) { entered += sender == button; };
    button->OnMouseLeave = [&](TObject* sender) { left += sender == button; };
    button->Perform(CM_MOUSEENTER);
    ASSERT_TRUE(button->MouseInControl());
    EXPECT_EQ(entered, 1);
    EXPECT_EQ(ButtonPixel(button, 0, 0), Rgb(clBtnHighlight));
    EXPECT_EQ(ButtonPixel(button, 15, 12), Rgb(clRed));

    button->Perform(CM_MOUSELEAVE);
    EXPECT_EQ(left, 1);
    EXPECT_FALSE(button->MouseInControl());
    button->SetGrayedInactive(false);
    EXPECT_EQ(ButtonPixel(button, 0, 0), Rgb(clBtnFace));
    EXPECT_EQ(ButtonPixel(button, 15, 12), Rgb(clRed));
}

TEST_F(ExSpeedButtonOnForm, TransparentButtonsShowTheirParentInside) {
    auto* panel = AddControl<TPanel>(form, 10, 10, 120, 80);
    panel->SetColor(clYellow);
    panel->SetBevelOuter(bvNone);
    auto* button = AddControl<TExSpeedButton>(panel, 20, 20, 30, 30);
    EXPECT_EQ(ButtonPixel(button, 15, 15), Rgb(clBtnFace));
    button->SetTransparent(true);
    EXPECT_EQ(ButtonPixel(button, 15, 15), Rgb(clYellow));
    EXPECT_EQ(ButtonPixel(button, 0, 0), Rgb(clBtnHighlight));  // the border stays
}

TEST_F(ExSpeedButtonOnForm, DisabledButtonsDrawTheirPictureEmbossed) {
    auto* button = AddControl<TExSpeedButton>(form, 20, 20, 30, 30);
    auto picture = FilledBitmap(16, 16, clWhite);
    picture->Canvas()->Brush().SetColor(clBlack);
    picture->Canvas()->FillRect(Rect(4, 4, 8, 8));
    button->SetGlyph(picture.get());
    button->SetEnabled(false);
    // The glyph is centred: 30 - 16 - 3*2 border ... found by its shadow.
    button->Repaint();
    TWindowPixels pixels(form->Handle());
    int shadows = 0, highlights = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x) {
            COLORREF c = pixels.At(button->Left() + x, button->Top() + y);
            shadows += c == Rgb(clBtnShadow);
            highlights += c == Rgb(clBtnHighlight);
        }
    EXPECT_EQ(button->State(), rgsDisabled);
    EXPECT_GE(shadows, 16);  // the black square
    EXPECT_GE(highlights, 7);  // its lower and right edges, moved by one
}

// Queues a click that closes it on the button, as a user's would.
class TNotedPopupMenu : public TRecordingPopupMenu {
public:
    using TRecordingPopupMenu::TRecordingPopupMenu;
    TControl* closingPress = nullptr;
    LPARAM closingAt = 0;

protected:
    void Shown() override {
        if (closingPress) PostMessageA(closingPress->Parent()->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, closingAt);
    }
};

TEST_F(ExSpeedButtonOnForm, APressDropsTheMenuDownAtTheChosenEdgeWithoutAClick) {
    auto* button = AddControl<TExSpeedButton>(form, 20, 20, 40, 30);
    const COLORREF plain = ButtonPixel(button, 20, 15);
    TOwned<TNotedPopupMenu> menu(New<TNotedPopupMenu>(nullptr));
    button->SetDropDownMenu(menu.get());
    EXPECT_NE(ButtonPixel(button, 20, 15), plain) << "the face shows the menu's mark";
    int clicks = 0, downs = 0, popups = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    button->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
    std::vector<bool> tracking, captured;
    menu->OnPopup = [&](TObject*) {
        ++popups;
        tracking.push_back(button->MenuTracking());
        captured.push_back(GetCapture() != nullptr);
    };
    // The click that closes the menu on the button does not press it again.
    menu->closingPress = button;
    menu->closingAt = MAKELPARAM(button->Left() + 10, button->Top() + 10);

    MouseDownAt(button, 10, 10);
    MouseUpAt(button, 10, 10);
    DrainMessages();
    ASSERT_EQ(menu->shown.size(), 1u);
    EXPECT_EQ(menu->shown[0], button->ClientToScreen(Point(-1, 30)));
    EXPECT_EQ(menu->PopupComponent(), button);
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(tracking, std::vector<bool>{true});
    EXPECT_EQ(captured, std::vector<bool>{false}) << "the held mouse was let go before the menu";
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(downs, 1);
    EXPECT_FALSE(button->MenuTracking());
    EXPECT_EQ(button->State(), rgsUp);
    menu->closingPress = nullptr;

    const struct {
        TExDropDownMenuPos position;
        TPopupAlignment alignment;
        TPoint at;
    } places[] = {{dmpBottom, paRight, {41, 30}}, {dmpBottom, paCenter, {20, 30}}, {dmpRight, paLeft, {40, -1}},
                  {dmpRight, paRight, {-1, -1}}, {dmpRight, paCenter, {20, 30}}};
    for (const auto& place : places) {
        button->SetMenuPosition(place.position);
        menu->SetAlignment(place.alignment);
        EXPECT_EQ(button->DropDownMenuPos(), place.at) << place.position << " " << place.alignment;
    }
    menu->SetAutoPopup(false);
    ClickAt(button, 10, 10);
    EXPECT_EQ(menu->shown.size(), 1u) << "without AutoPopup the press is a click";
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(button->CheckMenuDropdown(Point(5, 5), true)) << "asked for by hand it still drops";
    EXPECT_EQ(menu->shown.back(), Point(5, 5));

    menu.reset();
    EXPECT_EQ(button->DropDownMenu(), nullptr);
    EXPECT_EQ(ButtonPixel(button, 20, 15), plain);
}

TEST_F(ExSpeedButtonOnForm, AGroupedButtonTakesItsActionsCheck) {
    TOwned<TAction> checked(New<TAction>(nullptr));
    checked->SetChecked(true);
    checked->SetCaption("Bold");
    auto* grouped = AddControl<TExSpeedButton>(form, 20, 20, 40, 30);
    grouped->SetGroupIndex(1);
    grouped->SetAction(checked.get());
    EXPECT_TRUE(grouped->Down());
    EXPECT_EQ(grouped->Caption(), "Bold");
    auto* alone = AddControl<TExSpeedButton>(form, 70, 20, 40, 30);
    alone->SetAction(checked.get());
    EXPECT_FALSE(alone->Down()) << "only grouped buttons go down";
    // Unchecked: the down button of a group that allows all up goes up.
    TOwned<TAction> unchecked(New<TAction>(nullptr));
    grouped->SetAllowAllUp(true);
    grouped->SetAction(unchecked.get());
    EXPECT_FALSE(grouped->Down());
}

}  // namespace
