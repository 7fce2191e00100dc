#include "classlib/testing/gui_testing.h"

#include "classlib/testing/png_writer.h"
#include "classlib/testing/screen_capture.h"

#include <array>
#include <chrono>
#include <cstdio>

#include "classlib/gui/application.h"
#include "classlib/gui/control.h"
#include "classlib/gui/wincontrol.h"

void PumpMessages(int ms) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    do {
        Application->ProcessMessages();
        Sleep(5);
    } while (std::chrono::steady_clock::now() < end);
    Application->ProcessMessages();
}

bool PumpUntil(const std::function<bool()>& condition, int timeoutMs) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end) return false;
        Application->ProcessMessages();
        Sleep(5);
    }
    return true;
}

namespace {

// The screen position of a client point of a control.
POINT ScreenPoint(TControl* control, int x, int y) {
    TPoint p = control->ClientToScreen(Point(x, y));
    return POINT{p.x, p.y};
}

void SendMouse(DWORD flags, POINT at, DWORD data = 0) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    input.mi.mouseData = data;
    SendInput(1, &input, sizeof input);
}

void SendKey(WORD vk, WORD scan, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = scan;
    input.ki.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

}  // namespace

void ClickAt(TControl* control, int x, int y) {
    POINT p = ScreenPoint(control, x, y);
    SetCursorPos(p.x, p.y);
    PumpMessages(20);
    SendMouse(MOUSEEVENTF_LEFTDOWN, p);
    PumpMessages(20);
    SendMouse(MOUSEEVENTF_LEFTUP, p);
    PumpMessages(50);
}

void DoubleClickAt(TControl* control, int x, int y) {
    POINT p = ScreenPoint(control, x, y);
    SetCursorPos(p.x, p.y);
    PumpMessages(20);
    for (int i = 0; i < 2; ++i) {
        SendMouse(MOUSEEVENTF_LEFTDOWN, p);
        SendMouse(MOUSEEVENTF_LEFTUP, p);
    }
    PumpMessages(80);
}

namespace {

// The window that gets the control's mouse messages, and the point in its
// client coordinates; a window holding the capture takes them all.
void SendMouseMessage(TControl* control, int x, int y, UINT msg, WPARAM keys) {
    POINT screen = ScreenPoint(control, x, y);
    SetCursorPos(screen.x, screen.y);
    TControl* windowed = control;
    while (windowed && !dynamic_cast<TWinControl*>(windowed)) windowed = windowed->Parent();
    if (!windowed) return;
    HWND window = static_cast<TWinControl*>(windowed)->Handle();
    if (HWND captured = GetCapture()) window = captured;
    POINT client = screen;
    ScreenToClient(window, &client);
    SendMessageA(window, msg, keys, MAKELPARAM(client.x, client.y));
}

}  // namespace

void MouseDownAt(TControl* control, int x, int y) {
    SendMouseMessage(control, x, y, WM_LBUTTONDOWN, MK_LBUTTON);
}

void MouseMoveAt(TControl* control, int x, int y) {
    SendMouseMessage(control, x, y, WM_MOUSEMOVE, GetCapture() ? MK_LBUTTON : 0);
}

void MouseUpAt(TControl* control, int x, int y) {
    SendMouseMessage(control, x, y, WM_LBUTTONUP, 0);
}

void WheelAt(TWinControl* control, int delta) {
    POINT p = ScreenPoint(control, control->Width() / 2, control->Height() / 2);
    SetCursorPos(p.x, p.y);
    SendMouse(MOUSEEVENTF_WHEEL, p, static_cast<DWORD>(delta));
    PumpMessages(50);
}

void PressKey(WORD key) {
    SendKey(key, static_cast<WORD>(MapVirtualKeyA(key, 0)), 0);
    SendKey(key, static_cast<WORD>(MapVirtualKeyA(key, 0)), KEYEVENTF_KEYUP);
    PumpMessages(50);
}

void TypeText(const std::string& text) {
    for (char ch : text) {
        SHORT scan = VkKeyScanA(ch);
        WORD vk = LOBYTE(scan);
        bool shift = (HIBYTE(scan) & 1) != 0;
        if (shift) SendKey(VK_SHIFT, 0, 0);
        SendKey(vk, 0, 0);
        SendKey(vk, 0, KEYEVENTF_KEYUP);
        if (shift) SendKey(VK_SHIFT, 0, KEYEVENTF_KEYUP);
        PumpMessages(10);
    }
    PumpMessages(40);
}

TWindowPixels::TWindowPixels(HWND window, bool wholeWindow) {
    TCapture capture = CaptureWindow(window, wholeWindow);
    width_ = capture.Width;
    height_ = capture.Height;
    pixels_ = std::move(capture.Pixels);
}

COLORREF TWindowPixels::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
    uint32_t rgb = pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

void TWindowPixels::SavePng(const std::string& fileName) const {
    WritePng(fileName, width_, height_, pixels_);
}

std::string ScreenshotFolder() {
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    folder = folder.substr(0, folder.find_last_of('\\') + 1) + "..\\screenshots\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

TScriptedInteraction::TScriptedInteraction() {
    SetInteraction(this);
}

TScriptedInteraction::~TScriptedInteraction() {
    SetInteraction(nullptr);
}

int TScriptedInteraction::MessageBox(void*, const char* text, const char* caption, unsigned flags) {
    Boxes.push_back(Box{text ? text : "", caption ? caption : "", caption != nullptr, flags});
    if (BoxAnswers.empty()) return IDOK;
    int answer = BoxAnswers.front();
    BoxAnswers.pop_front();
    return answer;
}

intptr_t TScriptedInteraction::ShellExecute(void*, const char* verb, const char* file, const char* parameters,
                                            const char* directory, int showCommand) {
    ShellCalls.push_back(Shell{verb ? verb : "", file ? file : "", parameters ? parameters : "",
                               directory ? directory : "", showCommand});
    return 42;
}

bool TScriptedInteraction::ExecuteDialog(TCommonDialogKind kind, void* dialogStruct) {
    Dialogs.push_back(kind);
    if (DialogAnswers.empty()) return false;
    auto answer = std::move(DialogAnswers.front());
    DialogAnswers.pop_front();
    return answer(kind, dialogStruct);
}

int TScriptedInteraction::ShowModal(TObject* form, const std::function<int()>& show) {
    ModalForms.push_back(form);
    if (ModalAnswers.empty()) return show();
    auto answer = std::move(ModalAnswers.front());
    ModalAnswers.pop_front();
    return answer(form);
}
