// TCheckBox: the system check box with an optional third, grayed state.
// The control keeps the state itself (BS_3STATE) and toggles it on a
// click; every change of State, also from code, reports a click.
#pragma once
#include "classlib/core/alignment.h"
#include "classlib/stdctrls/button_control.h"

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
DECLARE_ENUM_TYPE(TCheckBoxState)

class TCustomCheckBox : public TButtonControl {
    DECLARE_CLASS(TCustomCheckBox, TButtonControl)
public:
    explicit TCustomCheckBox(TComponent* owner);

    // taRightJustify puts the text right of the box.
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    bool AllowGrayed() const { return allow_grayed_; }
    void SetAllowGrayed(bool value) { allow_grayed_ = value; }
    bool Checked() const override { return state_ == cbChecked; }
    void SetChecked(bool value) override { SetState(value ? cbChecked : cbUnchecked); }
    TCheckBoxState State() const { return state_; }
    void SetState(TCheckBoxState value);

    void Dispatch(TMessage& message) override;

protected:
    // The user's click: unchecked -> (grayed ->) checked -> unchecked.
    virtual void Toggle();
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;

private:
    TAlignment alignment_ = taRightJustify;
    bool allow_grayed_ = false;
    TCheckBoxState state_ = cbUnchecked;
};

class TCheckBox : public TCustomCheckBox {
    DECLARE_CLASS(TCheckBox, TCustomCheckBox)
public:
    explicit TCheckBox(TComponent* owner) : TCustomCheckBox(owner) {}
};
