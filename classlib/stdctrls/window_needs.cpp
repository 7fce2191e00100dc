#include "classlib/stdctrls/window_needs.h"

#include "classlib/gui/forms.h"

bool CanCreateHandle(const TWinControl* control) {
    for (const TWinControl* c = control; c; c = c->Parent()) {
        TComponentState state = c->ComponentState();
        if (state.Contains(csLoading) || state.Contains(csReading) || state.Contains(csDestroying)) return false;
    }
    return ParentsLeadToWindow(control);
}

bool ParentsLeadToWindow(const TWinControl* control) {
    const TWinControl* top = control;
    while (top->Parent()) top = top->Parent();
    return dynamic_cast<const TCustomForm*>(top) != nullptr || top->ParentWindow() != nullptr;
}
