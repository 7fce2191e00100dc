#include "classlib/stdctrls/button_control.h"

#include "classlib/core/class_builder.h"
#include "classlib/gui/menu_strings.h"

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

const TClassInfo& TButtonControl::GetActionLinkClass() const {
    return TButtonActionLink::StaticClass();
}

void TButtonControl::ActionChange(TObject* sender, bool checkDefaults) {
    TWinControl::ActionChange(sender, checkDefaults);
    if (auto* action = dynamic_cast<TCustomAction*>(sender))
        if (!checkDefaults || !Checked()) SetChecked(action->Checked());
}

const TClassInfo& TButtonActionLink::StaticClass() {
    static const TClassInfo info = DefineClass<TButtonActionLink>(
        "TButtonActionLink", &TWinControlActionLink::StaticClass(), [](auto& c) { c.Creatable(); });
    return info;
}

bool TButtonActionLink::IsCheckedLinked() {
    auto* button = dynamic_cast<TButtonControl*>(Client());
    if (!button) throw EInvalidCast(MenuStr(SInvalidCast));
    return TWinControlActionLink::IsCheckedLinked() && button->Checked() == CustomAction()->Checked();
}

void TButtonActionLink::SetChecked(bool value) {
    if (IsCheckedLinked()) static_cast<TButtonControl*>(Client())->SetChecked(value);
}
