// The standard controls (labels, edits, memos, buttons, check boxes, combo
// boxes) and the registration of every control of this part for layouts.
#pragma once
#include "button.h"
#include "checkbox.h"
#include "combobox.h"
#include "edit.h"
#include "label.h"
#include "memo.h"

// Makes the classes of the standard, extra and glyph-button controls known
// to layouts (by class name); programs call it once at start-up.
void RegisterStdControls();
