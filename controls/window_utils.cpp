#include "controls/window_utils.h"

#include "classlib/core/exceptions.h"
#include "classlib/core/resstrings.h"
#include "classlib/gui/screen.h"
#include "classlib/platform/interaction.h"
#include "controls/control_strings.h"

void RemovePendingMessage(HWND window, UINT message) {
    MSG msg;
    if (PeekMessageA(&msg, window, message, message, PM_REMOVE) && msg.message == WM_QUIT)
        PostQuitMessage(static_cast<int>(msg.wParam));
}

namespace {
BOOL CALLBACK MatchActiveWindow(HWND window, LPARAM found) {
    auto* result = reinterpret_cast<bool*>(found);
    if (window == GetActiveWindow()) {
        *result = true;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

bool IsActiveWindowOfThisThread() {
    bool found = false;
    EnumThreadWindows(GetCurrentThreadId(), MatchActiveWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

void AbortNotYetImplemented() {
    Screen->SetCursor(crDefault);
    RegisterControlStrings();
    std::string text = LoadStr(SNotImplemented);
    Interaction().MessageBox(nullptr, text.c_str(), nullptr, MB_OK | MB_ICONINFORMATION);
    Abort();
}

void KeepRectOnScreen(TRect& rect) {
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    if (rect.right > screenWidth) OffsetRect(&rect, screenWidth - rect.right, 0);
    if (rect.left < 0) OffsetRect(&rect, -rect.left, 0);
    if (rect.bottom > screenHeight) OffsetRect(&rect, 0, screenHeight - rect.bottom);
    if (rect.top < 0) OffsetRect(&rect, 0, -rect.top);
}

void CenterWindowOnScreen(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    if (left < 0) left = 0;
    if (top < 0) top = 0;
    SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
