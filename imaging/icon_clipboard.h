// The clipboard format "Ambit Icon": pictures asked to paste it make an
// icon.
#pragma once
#include "classlib/gui/win32.h"

// Registers the format with the system and with the picture class; runs
// once per process, however often it is called. There is no shut-down.
void StartIconClipboardFormat();
// The format's number; 0 before the start-up.
UINT IconClipboardFormat();
