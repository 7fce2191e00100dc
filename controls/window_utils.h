// Helpers on windows and the message queue.
#pragma once
#include "classlib/gui/geometry.h"
#include "classlib/gui/win32.h"

// Removes one pending message of that number for the window; a WM_QUIT
// taken out that way is posted again.
void RemovePendingMessage(HWND window, UINT message);
// Whether the active window is a top-level window of this thread.
bool IsActiveWindowOfThisThread();
// Tells the user "Function not yet implemented" and aborts silently.
[[noreturn]] void AbortNotYetImplemented();

// Moves the rectangle (keeping its size) into the screen; the left and top
// edges win when it is larger than the screen.
void KeepRectOnScreen(TRect& rect);
void CenterWindowOnScreen(HWND window);
