#include "classlib/stdctrls/button_control.h"

#include "classlib/core/class_builder.h"

const TClassInfo& TButtonControl::StaticClass() {
    static const TClassInfo info =
        DefineClass<TButtonControl>("TButtonControl", &TWinControl::StaticClass(), [](auto&) {});
    return info;
}

void TButtonControl::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (!ComponentState().Contains(csDesigning) && !Focused()) {
            // Handlers run inside SetFocus never throw out of it (the
            // window procedure reports their exceptions).
            clicks_disabled_ = true;
            ::SetFocus(Handle());
            clicks_disabled_ = false;
            if (!Focused()) return;
        }
        break;
    case CN_COMMAND:
        if (clicks_disabled_) return;
        break;
    }
    TWinControl::WndProc(m);
}
