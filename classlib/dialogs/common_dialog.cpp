#include "classlib/dialogs/common_dialog.h"

#include <vector>

#include "classlib/core/class_builder.h"
#include "classlib/core/current_dir_keeper.h"
#include "classlib/gui/application.h"
#include "classlib/gui/forms.h"
#include "classlib/gui/screen.h"

const TClassInfo& TCommonDialog::StaticClass() {
    static const TClassInfo info =
        DefineClass<TCommonDialog>("TCommonDialog", &TComponent::StaticClass(), [](auto& c) {
            PROPERTY(c, Ctl3D).Default(true);
            PROPERTY(c, HelpContext).Default(0);
            EVENT(c, OnClose);
            EVENT(c, OnShow);
        });
    return info;
}

HWND DialogOwnerWindow() {
    TCustomForm* form = Screen ? Screen->ActiveForm() : nullptr;
    if (form && form->HandleAllocated() && IsWindowVisible(form->Handle())) return form->Handle();
    return Application ? Application->Handle() : nullptr;
}

void TCommonDialog::DoShow() {
    if (OnShow) OnShow(this);
}

void TCommonDialog::DoClose() {
    if (OnClose) OnClose(this);
}

namespace {

// Keeps the application's other windows disabled while a dialog is up and
// gives the activation back when it is gone, also when the dialog throws.
class TTaskModality {
public:
    explicit TTaskModality(HWND owner) : active_(GetActiveWindow()) {
        // The owner stays enabled: the dialog disables and re-enables it
        // itself, which keeps the activation with our windows at its end.
        if (Application) disabled_ = Application->DisableTaskWindows(owner);
    }
    ~TTaskModality() {
        if (Application) Application->EnableTaskWindows(disabled_);
        if (active_ && IsWindow(active_)) SetActiveWindow(active_);
    }
    TTaskModality(const TTaskModality&) = delete;
    TTaskModality& operator=(const TTaskModality&) = delete;

private:
    HWND active_;
    std::vector<HWND> disabled_;
};

}  // namespace

bool TCommonDialog::RunDialog(TCommonDialogKind kind, void* platformStruct, HWND owner) {
    DoShow();
    bool confirmed;
    {
        TTaskModality modality(owner);
        // File dialogs move the current folder while the user browses; the
        // program's relative names resolve against it, so it is put back.
        TCurrentDirKeeper currentDir;
        confirmed = Interaction().ExecuteDialog(kind, platformStruct);
    }
    DoClose();
    return confirmed;
}
