// Tests' helper: counts the messages in a range [first, last] sent to one
// window of this thread while it lives.
#pragma once
#include "classlib/gui/scoped_win32.h"
#include "classlib/gui/win32.h"

class TSentMessageCounter {
public:
    TSentMessageCounter(HWND window, UINT first, UINT last) {
        window_ = window;
        first_ = first;
        last_ = last;
        count_ = 0;
        hook_.Reset(SetWindowsHookExA(WH_CALLWNDPROC, Note, nullptr, GetCurrentThreadId()));
    }
    TSentMessageCounter(const TSentMessageCounter&) = delete;
    TSentMessageCounter& operator=(const TSentMessageCounter&) = delete;
    int Count() const { return count_; }

private:
    static LRESULT CALLBACK Note(int code, WPARAM wParam, LPARAM lParam) {
        const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && sent->hwnd == window_ && sent->message >= first_ && sent->message <= last_) ++count_;
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static inline HWND window_ = nullptr;
    static inline UINT first_ = 0, last_ = 0;
    static inline int count_ = 0;
    TWindowsHook hook_;
};
