// TTimer: OnTimer every Interval milliseconds while Enabled. The timer has
// a hidden window of its own, so it runs without any form; its messages
// arrive through any message loop of the thread.
#pragma once
#include "classlib/core/component.h"
#include "classlib/gui/scoped_win32.h"
#include "classlib/gui/win32.h"

class TTimer : public TComponent {
    DECLARE_CLASS(TTimer, TComponent)
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;
    void BeforeDestruction() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    // Milliseconds; 0 (or less) stops the timer.
    int32_t Interval() const { return interval_; }
    void SetInterval(int32_t value);

    TNotifyEvent OnTimer;

protected:
    virtual void Timer();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    void UpdateTimer();

    bool enabled_ = true;
    int32_t interval_ = 1000;
    TOwnedWindow window_;
};
