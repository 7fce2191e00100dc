// TImageBtn: a picture that behaves as a push button. While a mouse button
// is held down over it, it shows its second picture (Picture2) in place of
// its normal one; dragging out and back in switches between the two, and
// the release or the click brings the normal picture back.
#pragma once
#include "classlib/graphics/image.h"

class TImageBtn : public TImage {
    DECLARE_CLASS(TImageBtn, TImage)
public:
    explicit TImageBtn(TComponent* owner);
    ~TImageBtn() override;

    // The pressed picture; setting it copies the given picture.
    TPicture* Picture2() const { return picture2_.get(); }
    void SetPicture2(TPicture* value) { picture2_->Assign(value); }

    // Shows a copy of Picture2, keeping the normal picture aside (once).
    void ShowPressedPicture();
    // Brings the normal picture back when the pressed one is shown.
    void RestoreNormalPicture();
    bool PressedShown() const { return pressed_shown_; }
    bool MouseIsDown() const { return mouse_is_down_; }

    void Click() override;

protected:
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    TOwned<TPicture> picture2_;
    TOwned<TPicture> saved_picture_;
    bool mouse_is_down_ = false;
    bool pressed_shown_ = false;
};
