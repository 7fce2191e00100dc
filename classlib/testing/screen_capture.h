// Reading what a window (or the whole screen) shows, as 0x00RRGGBB pixels
// from the top row down.
#pragma once
#include <cstdint>
#include <vector>

#include "classlib/gui/win32.h"

struct TCapture {
    int Width = 0, Height = 0;
    std::vector<uint32_t> Pixels;
};

// The window's client area, or the whole window; nullptr: the screen.
TCapture CaptureWindow(HWND window, bool wholeWindow);
