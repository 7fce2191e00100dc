// When a control may create its window on demand: properties kept in the
// window (list items, selection) are read and written there once it can
// exist, so that descendants that fill the window at creation work on forms
// that are never shown.
#pragma once
#include "classlib/gui/wincontrol.h"

// True when the control's parents lead to a form or to a foreign parent
// window, and nothing on the way is being loaded or destroyed.
bool CanCreateHandle(const TWinControl* control);
// True when the control's parents lead to a form or to a foreign parent
// window, whatever their state: its window can be made once they are ready.
bool ParentsLeadToWindow(const TWinControl* control);
