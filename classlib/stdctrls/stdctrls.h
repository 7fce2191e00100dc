// The standard controls and their registration for layouts.
#pragma once
#include "bevel.h"
#include "button.h"
#include "checkbox.h"
#include "combobox.h"
#include "edit.h"
#include "label.h"
#include "memo.h"
#include "paintbox.h"
#include "panel.h"
#include "splitter.h"
#include "timer.h"

// Makes every standard control class known to layouts (by class name);
// programs call it once at start-up.
void RegisterStdControls();
