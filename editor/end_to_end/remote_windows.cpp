#include "editor/end_to_end/remote_windows.h"

#include <algorithm>
#include <cstdlib>

TProgram::TProgram(const std::string& exe, const std::string& arguments, const std::string& folder) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    std::string line = "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments);
    PROCESS_INFORMATION info{};
    if (CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       folder.empty() ? nullptr : folder.c_str(), &si, &info)) {
        process_id_ = info.dwProcessId;
        process_.Reset(info.hProcess);
        thread_.Reset(info.hThread);
    }
}

TProgram::TProgram(HWND window) {
    GetWindowThreadProcessId(window, &process_id_);
    process_.Reset(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE,
                               process_id_));
}

TProgram::~TProgram() {
    if (Running()) TerminateProcess(process_.Get(), 1);
}

bool TProgram::WaitForExit(int timeoutMs) {
    return PumpUntil([this] { return !Running(); }, timeoutMs);
}

bool TProgram::Running() const {
    return process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT;
}

namespace {

std::string ClassOf(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

struct FindTop {
    DWORD pid;
    const std::string* title;
    const std::string* className;
    HWND found;
};

BOOL CALLBACK FindTopProc(HWND window, LPARAM param) {
    auto* f = reinterpret_cast<FindTop*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if ((f->pid && pid != f->pid) || !IsWindowVisible(window)) return TRUE;
    if (!f->className->empty() && ClassOf(window) != *f->className) return TRUE;
    if (WindowText(window).compare(0, f->title->size(), *f->title) != 0) return TRUE;
    f->found = window;
    return FALSE;
}

// Memory in the other process for one message's argument.
class TRemoteBuffer {
public:
    TRemoteBuffer(HWND window, size_t size) : size_(size) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        process_.Reset(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid));
        memory_ = VirtualAllocEx(process_.Get(), nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    }
    ~TRemoteBuffer() { VirtualFreeEx(process_.Get(), memory_, 0, MEM_RELEASE); }
    void* Address() const { return memory_; }
    void Write(const void* data, size_t n, size_t at = 0) {
        WriteProcessMemory(process_.Get(), static_cast<char*>(memory_) + at, data, n, nullptr);
    }
    void Read(void* data, size_t n, size_t at = 0) const {
        ReadProcessMemory(process_.Get(), static_cast<char*>(memory_) + at, data, n, nullptr);
    }

private:
    size_t size_;
    TKernelHandle process_;
    void* memory_;
};

}  // namespace

HWND WaitForWindow(DWORD processId, const std::string& title, const std::string& className, int timeoutMs) {
    HWND found = nullptr;
    PumpUntil(
        [&] {
            FindTop f{processId, &title, &className, nullptr};
            EnumWindows(FindTopProc, reinterpret_cast<LPARAM>(&f));
            found = f.found;
            return found != nullptr;
        },
        timeoutMs);
    return found;
}

namespace {
struct Collect {
    const std::string* className;
    std::vector<HWND> found;
};
BOOL CALLBACK CollectProc(HWND window, LPARAM param) {
    auto* c = reinterpret_cast<Collect*>(param);
    if (c->className->empty() || ClassOf(window) == *c->className) c->found.push_back(window);
    return TRUE;
}
}  // namespace

std::vector<HWND> ChildWindows(HWND parent, const std::string& className) {
    Collect c{&className, {}};
    EnumChildWindows(parent, CollectProc, reinterpret_cast<LPARAM>(&c));
    return c.found;
}

HWND ChildWithText(HWND parent, const std::string& text) {
    for (HWND w : ChildWindows(parent, ""))
        if (WindowText(w) == text) return w;
    return nullptr;
}

std::string WindowText(HWND window) {
    // WM_GETTEXT reaches the control itself (edit controls keep their own
    // text); the system copies the text across processes.
    char text[1024] = {};
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                        &result);
    return text;
}

bool Answers(HWND window) {
    for (int round = 0; round < 2; ++round) {
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result)) return false;
    }
    return true;
}

bool RestMouseOn(HWND top) {
    RECT r;
    GetWindowRect(top, &r);
    RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    IntersectRect(&r, &r, &screen);
    for (int y = r.top + 5; y < r.bottom; y += 16) {
        for (int x = r.left + 5; x < r.right; x += 16) {
            POINT p{x, y};
            HWND shown = WindowFromPoint(p);
            if (!shown || GetAncestor(shown, GA_ROOT) != top) continue;
            SetCursorPos(x, y);
            return true;
        }
    }
    return false;
}

namespace {

void SendMouseAt(DWORD flags, POINT p) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(p.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(p.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    SendInput(1, &input, sizeof(INPUT));
}

bool CursorAt(POINT p) {
    POINT now{};
    GetCursorPos(&now);
    return abs(now.x - p.x) <= 1 && abs(now.y - p.y) <= 1;
}

void SendKey(WORD key, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, 0));
    input.ki.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

bool HasPendingPaint(HWND window) {
    if (GetUpdateRect(window, nullptr, FALSE)) return true;
    for (HWND child : ChildWindows(window, ""))
        if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE)) return true;
    return false;
}

}  // namespace

void ClickWindow(HWND window, int x, int y) {
    HWND top = GetAncestor(window, GA_ROOT);
    SetForegroundWindow(top);
    PumpUntil([top] { return GetForegroundWindow() == top; });
    POINT p{x, y};
    ClientToScreen(window, &p);
    SendMouseAt(0, p);
    PumpUntil([p] { return CursorAt(p); });
    SendMouseAt(MOUSEEVENTF_LEFTDOWN, p);
    SendMouseAt(MOUSEEVENTF_LEFTUP, p);
}

void ClickCentre(HWND window) {
    RECT r;
    GetClientRect(window, &r);
    ClickWindow(window, r.right / 2, r.bottom / 2);
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

void SendKeyPress(WORD key) {
    SendKey(key, 0);
    SendKey(key, KEYEVENTF_KEYUP);
}

bool TypeInto(HWND window, const std::string& text) {
    HWND edit = FocusOf(window);
    if (!edit || !Answers(edit)) return false;
    std::string before = WindowText(edit);
    DWORD_PTR selection = 0;
    SendMessageTimeoutA(edit, EM_GETSEL, 0, 0, SMTO_ABORTIFHUNG, 2000, &selection);
    size_t start = std::min<size_t>(LOWORD(selection), before.size());
    size_t end = std::max(start, std::min<size_t>(HIWORD(selection), before.size()));
    std::string expected = before.substr(0, start) + text + before.substr(end);
    for (char ch : text) {
        SHORT scan = VkKeyScanA(ch);
        bool shift = (HIBYTE(scan) & 1) != 0;
        if (shift) SendKey(VK_SHIFT, 0);
        SendKeyPress(LOBYTE(scan));
        if (shift) SendKey(VK_SHIFT, KEYEVENTF_KEYUP);
    }
    return PumpUntil([&] { return WindowText(edit) == expected; });
}

TWindowPixels SettledPixels(HWND window, bool wholeWindow) {
    auto painted = [window, wholeWindow] {
        RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        PumpUntil([window] { return Answers(window) && !HasPendingPaint(window); });
        return TWindowPixels(window, wholeWindow);
    };
    TWindowPixels last = painted();
    for (int tries = 0; tries < 20; ++tries) {
        TWindowPixels now = painted();
        if (now == last) break;
        last = std::move(now);
    }
    return last;
}

std::string MessageBoxText(HWND box) {
    std::string text;
    for (HWND w : ChildWindows(box, "Static")) {
        std::string t = WindowText(w);
        if (t.size() > text.size()) text = t;
    }
    return text;
}

int TabCount(HWND tabs) {
    return static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
}

std::string TabText(HWND tabs, int index) {
    TRemoteBuffer buffer(tabs, sizeof(TCITEMA) + 256);
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = static_cast<char*>(buffer.Address()) + sizeof(TCITEMA);
    item.cchTextMax = 255;
    buffer.Write(&item, sizeof item);
    SendMessageA(tabs, TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.Address()));
    char text[256] = {};
    buffer.Read(text, 255, sizeof(TCITEMA));
    return text;
}

RECT TabRect(HWND tabs, int index) {
    TRemoteBuffer buffer(tabs, sizeof(RECT));
    SendMessageA(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.Address()));
    RECT r{};
    buffer.Read(&r, sizeof r);
    return r;
}

int TreeCount(HWND tree) {
    return static_cast<int>(SendMessageA(tree, TVM_GETCOUNT, 0, 0));
}

RECT TreeItemRect(HWND tree, HTREEITEM item) {
    TRemoteBuffer buffer(tree, sizeof(RECT));
    buffer.Write(&item, sizeof item);
    SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(buffer.Address()));
    RECT r{};
    buffer.Read(&r, sizeof r);
    return r;
}
