// The application's Unicode face: a wide hint and a wide title beside the
// class library's ANSI ones, a hook on the application window, and a
// thread message hook that hands typed characters beyond the ANSI range to
// Unicode windows through the wide dispatch.
#pragma once
#include <string>

#include "classlib/core/component.h"
#include "classlib/gui/control.h"
#include "classlib/gui/messages.h"

class TUcAppIdleEventControl;

class TUcApplication : public TComponent {
    DECLARE_CLASS(TUcApplication, TComponent)
public:
    explicit TUcApplication(TComponent* owner);
    void BeforeDestruction() override;

    // The wide application hint; its ANSI form is Application's Hint.
    std::wstring WideHint();
    void SetWideHint(const std::wstring& value);
    // The wide title of the application window; its ANSI form is
    // Application's Title.
    std::wstring WideTitle();
    void SetWideTitle(const std::wstring& value);
    // The long part of the wide hint of the control under the mouse (or of
    // its nearest parent with one) becomes the wide hint.
    void UpdateHint();
    // Called by the thread message hook for each message taken from the
    // queue; true when the message was delivered here (the loop then gets
    // an empty message).
    bool FilterMessage(MSG& msg);
    // The control placed on a main form that is not a Unicode form, whose
    // action refreshes the hint at idle time; nullptr when none.
    TUcAppIdleEventControl* IdleEventControl() const { return idle_event_control_; }

private:
    friend class TUcAppIdleEventControl;
    bool WindowHook(TMessage& message);
    // The message is for the application's modeless dialog (the dialog or
    // one of its children); asks nothing of the dialog.
    bool IsDialogWindowMessage(const MSG& msg) const;

    bool main_form_seen_ = false;
    std::wstring wide_hint_;
    TUcAppIdleEventControl* idle_event_control_ = nullptr;
    std::wstring pending_wide_title_;
    int hook_ = 0;
};

// A bare control on the main form that owns a TUcAction: the class
// library updates the action at idle time, and its update (and execute)
// refresh the wrapper's hint.
class TUcAppIdleEventControl : public TControl {
    DECLARE_CLASS(TUcAppIdleEventControl, TControl)
public:
    explicit TUcAppIdleEventControl(TComponent* owner);
    void BeforeDestruction() override;
};

extern TUcApplication* UcApplication;

// Program files of the two server host processes (W3WP.EXE, DLLHOST.EXE).
bool IsServerHostProcess(const std::wstring& programPath);

// The unit's start-up (the wrapper; on the Unicode platform the thread
// message hook of this thread) and shut-down. The shut-down frees the
// wrapper in every case; when the hook cannot be removed (outside the two
// server host processes) it then raises the system's error.
void StartUcApplication();
void StopUcApplication();
