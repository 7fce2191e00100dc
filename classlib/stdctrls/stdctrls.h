// The standard controls (labels, edits, memos, buttons, check boxes, combo
// boxes) and the registration of every control of this part for layouts.
#pragma once
#include "classlib/stdctrls/button.h"
#include "classlib/stdctrls/checkbox.h"
#include "classlib/stdctrls/combobox.h"
#include "classlib/stdctrls/edit.h"
#include "classlib/stdctrls/label.h"
#include "classlib/stdctrls/memo.h"

// Makes the classes of the standard, extra and glyph-button controls known
// to layouts (by class name); programs call it once at start-up.
void RegisterStdControls();
