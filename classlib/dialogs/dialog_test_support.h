// Shared pieces of the dialog tests: a form on screen that is the active
// one (dialogs are owned by it), reading the zero-separated lists dialogs
// get, and finding (or cancelling) a system dialog that is up.
#pragma once
#include <cstring>
#include <string>

#include "classlib/gui/forms.h"
#include "classlib/testing/gui_testing.h"
#include "classlib/gui/screen.h"

inline TOwned<TForm> ShowActiveForm() {
    auto form = MakeOwned<TForm>(nullptr);
    form->SetBounds(120, 120, 320, 200);
    form->SetCaption("Dialog owner");
    form->Show();
    DrainMessages();
    Screen->SetActiveForm(form.get());
    return form;
}

// The bytes of a zero-separated list up to and including its final two
// zeros (at most `limit` bytes).
inline std::string ZeroSeparated(const char* text, size_t limit = 4096) {
    size_t n = 0;
    while (n + 1 < limit && !(text[n] == '\0' && text[n + 1] == '\0')) ++n;
    return std::string(text, n + 2);
}

inline BOOL CALLBACK FindThreadDialogProc(HWND window, LPARAM param) {
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (strcmp(name, "#32770") != 0 || !IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<HWND*>(param) = window;
    return FALSE;
}

// The visible system dialog (class #32770) of this thread, if any.
inline HWND FindThreadDialog() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindThreadDialogProc, reinterpret_cast<LPARAM>(&found));
    return found;
}

// While alive, cancels any system dialog of this thread that stays open
// longer than `ms`, so a test that unexpectedly opens one cannot hang.
class TDialogWatchdog {
public:
    explicit TDialogWatchdog(UINT ms = 3000) : timer_(SetTimer(nullptr, 0, ms, &Tick)) { Fired() = false; }
    ~TDialogWatchdog() { KillTimer(nullptr, timer_); }
    TDialogWatchdog(const TDialogWatchdog&) = delete;
    TDialogWatchdog& operator=(const TDialogWatchdog&) = delete;
    static bool& Fired() {
        static bool fired = false;
        return fired;
    }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        if (HWND dialog = FindThreadDialog()) {
            Fired() = true;
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        }
    }
    UINT_PTR timer_;
};
