#include "classlib/testing/gui_testing.h"

#include "classlib/testing/png_writer.h"
#include "classlib/testing/screen_capture.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "classlib/gui/application.h"
#include "classlib/gui/callback_barrier.h"
#include "classlib/gui/control.h"
#include "classlib/gui/wincontrol.h"

namespace {

// Waits for the next message to arrive, or for a short while for
// conditions that change without one (another process, a file).
void WaitBriefly() {
    MsgWaitForMultipleObjectsEx(0, nullptr, 10, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

// A hidden window that receives the marker posted behind the queued
// messages: once it has arrived, everything queued before it is handled.
const UINT kMarkerMessage = WM_APP + 0x3A71;
WPARAM markerArrived = 0;

LRESULT CALLBACK MarkerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallbackBarrier(nullptr, LRESULT{0}, [&]() -> LRESULT {
        if (message != kMarkerMessage) return DefWindowProcA(window, message, wParam, lParam);
        markerArrived = wParam;
        return 0;
    });
}

HWND MarkerWindow() {
    static HWND window = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = MarkerProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TestQueueMarker";
        RegisterClassA(&wc);
        return CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance,
                               nullptr);
    }();
    return window;
}

BOOL CALLBACK PaintTopWindow(HWND window, LPARAM) {
    if (IsWindowVisible(window)) RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return TRUE;
}

// The input messages this thread has taken from its queue, numbered.
struct TTakenInput {
    TInputMark Number;
    MSG Message;
};
std::deque<TTakenInput> takenInput;
TInputMark inputTaken = 0;
HHOOK inputHook = nullptr;

bool IsInput(UINT message) {
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK);
}

LRESULT CALLBACK RecordInput(int code, WPARAM wParam, LPARAM lParam) {
    CallbackBarrier(nullptr, [&] {
        if (code != HC_ACTION || wParam != PM_REMOVE) return;
        const MSG& msg = *reinterpret_cast<const MSG*>(lParam);
        if (!IsInput(msg.message)) return;
        takenInput.push_back(TTakenInput{++inputTaken, msg});
        if (takenInput.size() > 256) takenInput.pop_front();
    });
    return CallNextHookEx(inputHook, code, wParam, lParam);
}

}  // namespace

void DrainMessages() {
    static WPARAM markers = 0;
    WPARAM marker = ++markers;
    PostMessageA(MarkerWindow(), kMarkerMessage, marker, 0);
    // Markers arrive in order; a drain nested in a handler may take ours.
    if (!PumpUntil([marker] { return markerArrived >= marker; }, 10000))
        fprintf(stderr, "note: the queue was not drained in time\n");
    EnumThreadWindows(GetCurrentThreadId(), PaintTopWindow, 0);
    Application->ProcessMessages();
}

bool PumpUntil(const std::function<bool()>& condition, int timeoutMs) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        Application->ProcessMessages();
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        WaitBriefly();
    }
}

TInputMark MarkInput() {
    if (!inputHook) inputHook = SetWindowsHookExA(WH_GETMESSAGE, RecordInput, nullptr, GetCurrentThreadId());
    return inputTaken;
}

bool WaitForInput(TInputMark mark, const std::function<bool(const MSG&)>& matches, int count, int timeoutMs) {
    auto arrived = [&] {
        int found = 0;
        for (const TTakenInput& taken : takenInput)
            if (taken.Number > mark && matches(taken.Message)) ++found;
        return found >= count;
    };
    bool ok = PumpUntil(arrived, timeoutMs);
    if (!ok) fprintf(stderr, "note: the input sent did not reach this thread's queue in time\n");
    DrainMessages();
    return ok;
}

std::function<bool(const MSG&)> KeyReleased(WORD key) {
    return [key](const MSG& msg) {
        return (msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP) && msg.wParam == key;
    };
}

std::function<bool(const MSG&)> MouseMessageAt(UINT clientMessage, POINT screen) {
    // Absolute input coordinates may come back a pixel off.
    const UINT toNonClient = WM_MOUSEMOVE - WM_NCMOUSEMOVE;
    return [clientMessage, screen, toNonClient](const MSG& msg) {
        UINT m = msg.message;
        if (m >= WM_NCMOUSEMOVE && m <= WM_NCMBUTTONDBLCLK) m += toNonClient;
        if (clientMessage == WM_LBUTTONDOWN && m == WM_LBUTTONDBLCLK) m = WM_LBUTTONDOWN;
        return m == clientMessage && abs(msg.pt.x - screen.x) <= 1 && abs(msg.pt.y - screen.y) <= 1;
    };
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

bool CursorAt(POINT p) {
    POINT now{};
    GetCursorPos(&now);
    return abs(now.x - p.x) <= 1 && abs(now.y - p.y) <= 1;
}

void SendKey(WORD vk, WORD scan, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = scan;
    input.ki.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

// Puts the pointer on p and waits until the move has arrived.
void PlaceCursor(POINT p) {
    if (CursorAt(p)) return;
    TInputMark mark = MarkInput();
    SendMouse(0, p);
    WaitForInput(mark, MouseMessageAt(WM_MOUSEMOVE, p));
}

}  // namespace

void ClickAt(TControl* control, int x, int y) {
    POINT p = ScreenPoint(control, x, y);
    PlaceCursor(p);
    TInputMark mark = MarkInput();
    SendMouse(MOUSEEVENTF_LEFTDOWN, p);
    WaitForInput(mark, MouseMessageAt(WM_LBUTTONDOWN, p));
    mark = MarkInput();
    SendMouse(MOUSEEVENTF_LEFTUP, p);
    WaitForInput(mark, MouseMessageAt(WM_LBUTTONUP, p));
}

void DoubleClickAt(TControl* control, int x, int y) {
    POINT p = ScreenPoint(control, x, y);
    PlaceCursor(p);
    TInputMark mark = MarkInput();
    for (int i = 0; i < 2; ++i) {
        SendMouse(MOUSEEVENTF_LEFTDOWN, p);
        SendMouse(MOUSEEVENTF_LEFTUP, p);
    }
    WaitForInput(mark, MouseMessageAt(WM_LBUTTONUP, p), 2);
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
    PlaceCursor(p);
    TInputMark mark = MarkInput();
    SendMouse(MOUSEEVENTF_WHEEL, p, static_cast<DWORD>(delta));
    WaitForInput(mark, [](const MSG& msg) { return msg.message == WM_MOUSEWHEEL; });
}

void MoveMouseTo(TControl* control, int x, int y) {
    PlaceCursor(ScreenPoint(control, x, y));
    DrainMessages();
}

void MouseButton(bool down) {
    POINT at{};
    GetCursorPos(&at);
    TInputMark mark = MarkInput();
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &input, sizeof input);
    WaitForInput(mark, MouseMessageAt(down ? WM_LBUTTONDOWN : WM_LBUTTONUP, at));
}

void PressKey(WORD key) {
    TInputMark mark = MarkInput();
    SendKey(key, static_cast<WORD>(MapVirtualKeyA(key, 0)), 0);
    SendKey(key, static_cast<WORD>(MapVirtualKeyA(key, 0)), KEYEVENTF_KEYUP);
    WaitForInput(mark, KeyReleased(key));
}

void TypeText(const std::string& text) {
    for (char ch : text) {
        SHORT scan = VkKeyScanA(ch);
        WORD vk = LOBYTE(scan);
        bool shift = (HIBYTE(scan) & 1) != 0;
        TInputMark mark = MarkInput();
        if (shift) SendKey(VK_SHIFT, 0, 0);
        SendKey(vk, 0, 0);
        SendKey(vk, 0, KEYEVENTF_KEYUP);
        if (shift) SendKey(VK_SHIFT, 0, KEYEVENTF_KEYUP);
        WaitForInput(mark, KeyReleased(shift ? VK_SHIFT : vk));
    }
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

std::vector<std::string> ComboBoxEntries(HWND box) {
    std::vector<std::string> entries;
    const int count = static_cast<int>(SendMessageA(box, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        SendMessageA(box, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        entries.push_back(text);
    }
    return entries;
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

int TScriptedInteraction::MessageBox(void* owner, const char* text, const char* caption, unsigned flags) {
    Boxes.push_back(Box{text ? text : "", caption ? caption : "", caption != nullptr, flags, owner});
    if (OnBox) OnBox(Boxes.back());
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

void* TScriptedInteraction::BrowseForFolder(void* browseInfo) {
    Dialogs.push_back(cdkBrowseFolder);
    if (FolderAnswers.empty()) return nullptr;
    auto answer = std::move(FolderAnswers.front());
    FolderAnswers.pop_front();
    return answer(browseInfo);
}

int TScriptedInteraction::ShowModal(TObject* form, const std::function<int()>& show) {
    ModalForms.push_back(form);
    if (ModalAnswers.empty()) return show();
    auto answer = std::move(ModalAnswers.front());
    ModalAnswers.pop_front();
    return answer(form);
}
