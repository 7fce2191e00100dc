// The common controls: image lists, tree views, tab and page controls and
// status bars, over the system's comctl32 windows.
#pragma once
#include "classlib/comctrls/imglist.h"
#include "classlib/comctrls/pagecontrol.h"
#include "classlib/comctrls/statusbar.h"
#include "classlib/comctrls/tabcontrol.h"
#include "classlib/comctrls/treeview.h"

// Makes the classes known to layouts; programs call it once at start-up.
void RegisterComControls();
