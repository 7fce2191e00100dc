// TCommonDialog: the base of the system's common dialogs. Every dialog runs
// through the interaction seam on its platform structure, so tests answer
// it; the dialog's owner is the active form.
#pragma once
#include <cstdint>

#include "classlib/core/component.h"
#include "classlib/platform/interaction.h"
#include "classlib/gui/win32.h"

// The window dialogs and message boxes are owned by: the active form when
// it is on screen, else the application window.
HWND DialogOwnerWindow();

class TCommonDialog : public TComponent {
    DECLARE_CLASS(TCommonDialog, TComponent)
public:
    explicit TCommonDialog(TComponent* owner) : TComponent(owner) {}

    // Shows the dialog; true when the user confirmed it. Cancelling keeps
    // every property as it was.
    virtual bool Execute() = 0;

    bool Ctl3D() const { return ctl3d_; }
    void SetCtl3D(bool value) { ctl3d_ = value; }
    int32_t HelpContext() const { return help_context_; }
    void SetHelpContext(int32_t value) { help_context_ = value; }

    // Around the dialog: OnShow before it appears, OnClose after it is gone.
    TNotifyEvent OnShow;
    TNotifyEvent OnClose;

protected:
    virtual void DoShow();
    virtual void DoClose();
    // Runs the dialog of that kind on its filled platform structure, whose
    // owner window is `owner`. The application's other windows are disabled
    // meanwhile and the active window is restored afterwards. A dialog that
    // could not run raises EOSError (from the seam).
    bool RunDialog(TCommonDialogKind kind, void* platformStruct, HWND owner);

private:
    bool ctl3d_ = true;
    int32_t help_context_ = 0;
};
