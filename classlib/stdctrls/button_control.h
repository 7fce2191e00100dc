// TButtonControl: the common base of buttons and check boxes, which wrap
// the system BUTTON class. A mouse press first moves the focus to the
// button; when the focus does not arrive (an OnExit elsewhere refused it),
// the press is dropped, and no click is reported while it moves.
#pragma once
#include "classlib/gui/wincontrol.h"

class TButtonControl : public TWinControl {
    DECLARE_CLASS(TButtonControl, TWinControl)
public:
    explicit TButtonControl(TComponent* owner) : TWinControl(owner) {}
    void WndProc(TMessage& message) override;
    // Check boxes and radio buttons have a checked state.
    virtual bool Checked() const { return false; }
    virtual void SetChecked(bool) {}

protected:
    bool ClicksDisabled() const { return clicks_disabled_; }
    void SetClicksDisabled(bool value) { clicks_disabled_ = value; }

private:
    bool clicks_disabled_ = false;
};
