#include "controls/image_btn.h"

#include <gtest/gtest.h>

#include "classlib/stdctrls/test_support.h"
#include "controls/bitmap_test_support.h"

namespace {

// Pictures told apart by their sizes: normal 20 x 10, pressed 30 x 15.
class ImageBtnOnForm : public SharedFormTest {
protected:
    TImageBtn* AddButton() {
        auto* button = AddControl<TImageBtn>(form, 10, 10, 50, 50);
        button->Picture()->SetBitmap(FilledBitmap(20, 10, clRed).get());
        TOwned<TPicture> pressed(New<TPicture>());
        pressed->SetBitmap(FilledBitmap(30, 15, clBlue).get());
        button->SetPicture2(pressed.get());
        return button;
    }
    static bool ShowsNormal(TImageBtn* button) { return button->Picture()->Width() == 20; }
    static bool ShowsPressed(TImageBtn* button) { return button->Picture()->Width() == 30; }
};

TEST_F(ImageBtnOnForm, PressingShowsTheSecondPictureUntilTheRelease) {
    auto* button = AddButton();
    EXPECT_TRUE(button->AutoSize());
    EXPECT_EQ(button->Width(), 20);
    bool pressedAtMouseDown = false;
    button->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) {
        pressedAtMouseDown = button->PressedShown() && button->MouseIsDown();
    };
    MouseDownAt(button, 5, 5);
    EXPECT_TRUE(pressedAtMouseDown);
    EXPECT_TRUE(ShowsPressed(button));
    EXPECT_EQ(button->Width(), 30);  // AutoSize follows the picture shown
    // A second press keeps the normal picture aside, not the pressed one.
    button->Perform(WM_RBUTTONDOWN, MK_RBUTTON | MK_LBUTTON, MAKELPARAM(5, 5));
    MouseUpAt(button, 5, 5);
    EXPECT_TRUE(ShowsNormal(button));
    EXPECT_FALSE(button->MouseIsDown());
}

TEST_F(ImageBtnOnForm, DraggingOutAndBackSwitchesThePictures) {
    auto* button = AddButton();
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    MouseDownAt(button, 5, 5);
    ASSERT_TRUE(ShowsPressed(button));
    MouseMoveAt(button, button->Width(), 5);  // the column at the width is outside
    EXPECT_TRUE(ShowsNormal(button));
    MouseMoveAt(button, 5, 5);
    EXPECT_TRUE(ShowsPressed(button));
    MouseMoveAt(button, 5, button->Height());
    EXPECT_TRUE(ShowsNormal(button));
    MouseUpAt(button, 5, 200);
    EXPECT_TRUE(ShowsNormal(button));
    EXPECT_EQ(clicks, 0);

    // Without a held button moving changes nothing.
    MouseMoveAt(button, 5, 5);
    EXPECT_TRUE(ShowsNormal(button));
}

TEST_F(ImageBtnOnForm, TheClickSeesTheNormalPicture) {
    auto* button = AddButton();
    bool normalAtClick = false;
    button->OnClick = [&](TObject*) { normalAtClick = ShowsNormal(button) && !button->PressedShown(); };
    button->ShowPressedPicture();
    button->Click();
    EXPECT_TRUE(normalAtClick);
}

TEST_F(ImageBtnOnForm, AnEmptyOrReplacedPressedPicture) {
    auto* button = AddButton();
    button->ShowPressedPicture();
    // Written while pressed: only the stored pressed picture changes.
    TOwned<TPicture> other(New<TPicture>());
    other->SetBitmap(FilledBitmap(40, 8, clGreen).get());
    button->SetPicture2(other.get());
    EXPECT_TRUE(ShowsPressed(button));
    EXPECT_EQ(button->Picture2()->Width(), 40);
    button->RestoreNormalPicture();
    EXPECT_TRUE(ShowsNormal(button));

    button->SetPicture2(nullptr);
    button->ShowPressedPicture();
    EXPECT_EQ(button->Picture()->Graphic(), nullptr);
    button->RestoreNormalPicture();
    EXPECT_TRUE(ShowsNormal(button));
}

}  // namespace
