// screenshot.exe [--wait-for CLASS] FILE.png: saves what the screen shows as
// a PNG picture; with --wait-for, once a visible top-level window of that
// window class has shown and drawn itself (at most a minute).
#include <windows.h>

#include <cstring>

#include "classlib/testing/png_writer.h"
#include "classlib/testing/screen_capture.h"

namespace {

HWND WaitForTopWindow(const char* className) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < 60000; Sleep(50)) {
        HWND window = FindWindowA(className, nullptr);
        if (window && IsWindowVisible(window)) return window;
    }
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    int file = 1;
    if (argc >= 4 && std::strcmp(argv[1], "--wait-for") == 0) {
        HWND window = WaitForTopWindow(argv[2]);
        if (!window) return 1;
        // Through its message queue once, then drawn in full.
        DWORD_PTR ignored;
        SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
        file = 3;
    }
    if (argc <= file) return 2;
    TCapture screen = CaptureWindow(nullptr, false);
    WritePng(argv[file], screen.Width, screen.Height, screen.Pixels);
    return 0;
}
