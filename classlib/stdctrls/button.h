// TButton: the system push button. A click sets the parent form's
// ModalResult; Enter clicks the "active" button (the focused button, or the
// Default one while the focus is on something else) and Escape the Cancel
// button.
#pragma once
#include "classlib/stdctrls/button_control.h"
#include "classlib/gui/forms.h"

class TButton : public TButtonControl {
    DECLARE_CLASS(TButton, TButtonControl)
public:
    explicit TButton(TComponent* owner);

    bool Default() const { return default_; }
    void SetDefault(bool value);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool value) { cancel_ = value; }
    TModalResult ModalResult() const { return modal_result_; }
    void SetModalResult(TModalResult value) { modal_result_ = value; }
    // Whether Enter would click this button now.
    bool Active() const { return active_; }

    void Click() override;
    void Dispatch(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    // Shows whether the button is the one Enter clicks (BS_DEFPUSHBUTTON).
    virtual void SetButtonStyle(bool isDefault);
    // For owner-drawn buttons: answers the window's size and drawing
    // requests (drawing through DrawItem) and turns a double click into a
    // second press. True when the message was one of those.
    bool DispatchOwnerDraw(TMessage& m);
    virtual void DrawItem(const DRAWITEMSTRUCT&) {}

private:
    void CMDialogKey(TMessage& m);
    void CMFocusChanged(TMessage& m);

    bool default_ = false;
    bool cancel_ = false;
    bool active_ = false;
    TModalResult modal_result_ = mrNone;
};
