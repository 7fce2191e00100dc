#include "classlib/stdctrls/timer.h"

#include "classlib/gui/callback_barrier.h"
#include "classlib/core/scope_exit.h"
#include "classlib/core/class_builder.h"
#include "classlib/gui/application.h"

namespace {

const char* const kTimerWindowClass = "QuilloryTimerWindow";
constexpr UINT_PTR kTimerId = 1;

void RegisterTimerWindowClass() {
    static const bool registered = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kTimerWindowClass;
        return RegisterClassA(&wc) != 0;
    }();
    (void)registered;
}

}  // namespace

const TClassInfo& TTimer::StaticClass() {
    static const TClassInfo info = DefineClass<TTimer>("TTimer", &TComponent::StaticClass(), [](auto& c) {
        c.Creatable();
        PROPERTY(c, Enabled).Default(true);
        PROPERTY(c, Interval).Default(1000);
        EVENT(c, OnTimer);
    });
    return info;
}

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
    RegisterTimerWindowClass();
    // A message-only window: never shown, never enumerated with the
    // program's windows.
    window_.Reset(CreateWindowExA(0, kTimerWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleA(nullptr), nullptr));
    if (!window_) throw EOSError("Could not create the timer's window");
    SetWindowLongPtrA(window_.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrA(window_.Get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TTimer::WindowProc));
    UpdateTimer();
}

TTimer::~TTimer() = default;

void TTimer::BeforeDestruction() {
    if (window_) {
        KillTimer(window_.Get(), kTimerId);
        SetWindowLongPtrA(window_.Get(), GWLP_USERDATA, 0);
        window_.Reset();
    }
    TComponent::BeforeDestruction();
}

void TTimer::SetEnabled(bool value) {
    if (enabled_ == value) return;
    enabled_ = value;
    UpdateTimer();
}

void TTimer::SetInterval(int32_t value) {
    if (value < 0) value = 0;
    if (interval_ == value) return;
    interval_ = value;
    UpdateTimer();
}

void TTimer::UpdateTimer() {
    if (!window_) return;
    KillTimer(window_.Get(), kTimerId);
    if (enabled_ && interval_ > 0 && !SetTimer(window_.Get(), kTimerId, static_cast<UINT>(interval_), nullptr))
        throw EOSError("No more timers available");
}

void TTimer::Timer() {
    if (OnTimer) OnTimer(this);
}

LRESULT CALLBACK TTimer::WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* timer = reinterpret_cast<TTimer*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (msg == WM_TIMER && wParam == kTimerId && timer) {
        CallbackBarrier(timer, [timer] { timer->Timer(); });
        return 0;
    }
    return DefWindowProcA(window, msg, wParam, lParam);
}
