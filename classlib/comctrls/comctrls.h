// The common controls: image lists, tree views, tab and page controls and
// status bars, over the system's comctl32 windows.
#pragma once
#include "imglist.h"
#include "pagecontrol.h"
#include "statusbar.h"
#include "tabcontrol.h"
#include "treeview.h"

// Makes the classes known to layouts; programs call it once at start-up.
void RegisterComControls();
