#include "classlib/stdctrls/window_needs.h"

#include "classlib/gui/forms.h"

bool CanCreateHandle(const TWinControl* control) {
    const TWinControl* top = control;
    for (const TWinControl* c = control; c; c = c->Parent()) {
        TComponentState state = c->ComponentState();
        if (state.Contains(csLoading) || state.Contains(csReading) || state.Contains(csDestroying)) return false;
        top = c;
    }
    return dynamic_cast<const TCustomForm*>(top) != nullptr || top->ParentWindow() != nullptr;
}
