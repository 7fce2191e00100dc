#include "classlib/stdctrls/checkbox.h"

#include <gtest/gtest.h>

#include "classlib/stdctrls/test_support.h"

namespace {

using CheckBoxOnForm = SharedFormTest;

LRESULT WindowState(TCheckBox* box) {
    return SendMessageA(box->Handle(), BM_GETCHECK, 0, 0);
}

TEST_F(CheckBoxOnForm, ClicksToggleAndReportClicks) {
    auto* box = AddControl<TCheckBox>(form, 10, 10, 120, 20);
    box->SetCaption("&Check");
    int clicks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };
    ClickAt(box, 8, 10);
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(WindowState(box), BST_CHECKED);
    ClickAt(box, 8, 10);
    EXPECT_EQ(box->State(), cbUnchecked);
    EXPECT_EQ(clicks, 2);

    // Setting the state from code reports a click too (not the same state).
    box->SetChecked(true);
    box->SetChecked(true);
    EXPECT_EQ(clicks, 3);
    EXPECT_EQ(WindowState(box), BST_CHECKED);

    // The accelerator focuses and toggles.
    PressChord(VK_MENU, 'C');
    EXPECT_TRUE(box->Focused());
    EXPECT_FALSE(box->Checked());
    PressKey(VK_SPACE);
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(clicks, 5);
}

TEST_F(CheckBoxOnForm, AllowGrayedCyclesThroughThreeStates) {
    auto* box = AddControl<TCheckBox>(form, 10, 10, 120, 20);
    box->SetAllowGrayed(true);
    std::vector<TCheckBoxState> seen;
    for (int i = 0; i < 3; ++i) {
        ClickAt(box, 8, 10);
        seen.push_back(box->State());
    }
    EXPECT_EQ(seen, (std::vector<TCheckBoxState>{cbGrayed, cbChecked, cbUnchecked}));
}

TEST_F(CheckBoxOnForm, StateIsKeptWithoutAndAcrossWindows) {
    auto* box = New<TCheckBox>(form);
    box->SetState(cbGrayed);
    box->SetParent(form);
    EXPECT_EQ(WindowState(box), BST_INDETERMINATE);
    HWND old = box->Handle();
    box->SetAlignment(taLeftJustify);
    ASSERT_NE(box->Handle(), old);
    EXPECT_NE(GetWindowLongA(box->Handle(), GWL_STYLE) & BS_LEFTTEXT, 0);
    EXPECT_EQ(WindowState(box), BST_INDETERMINATE);
    EXPECT_EQ(box->State(), cbGrayed);
}

}  // namespace
