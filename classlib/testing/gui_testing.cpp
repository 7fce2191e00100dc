#include "gui_testing.h"

#include <array>
#include <chrono>
#include <cstdio>

#include "application.h"
#include "control.h"
#include "wincontrol.h"

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
    RECT r;
    if (wholeWindow) {
        GetWindowRect(window, &r);
        OffsetRect(&r, -r.left, -r.top);
    } else {
        GetClientRect(window, &r);
    }
    width_ = r.right;
    height_ = r.bottom;
    if (width_ <= 0 || height_ <= 0) return;
    HDC dc = wholeWindow ? GetWindowDC(window) : GetDC(window);
    HDC mem = CreateCompatibleDC(dc);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width_;
    bi.bmiHeader.biHeight = -height_;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, width_, height_, dc, 0, 0, SRCCOPY);
    GdiFlush();
    const uint32_t* p = static_cast<const uint32_t*>(bits);
    pixels_.assign(p, p + static_cast<size_t>(width_) * static_cast<size_t>(height_));
    for (uint32_t& px : pixels_) px &= 0xFFFFFF;
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(window, dc);
}

COLORREF TWindowPixels::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
    uint32_t rgb = pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

void TWindowPixels::SavePng(const std::string& fileName) const {
    WritePng(fileName, width_, height_, pixels_);
}

namespace {

uint32_t Crc32(const uint8_t* data, size_t n, uint32_t crc = 0) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (size_t i = 0; i < n; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void PutBE(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 3; i >= 0; --i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void Chunk(std::vector<uint8_t>& png, const char* type, const std::vector<uint8_t>& data) {
    PutBE(png, static_cast<uint32_t>(data.size()));
    std::vector<uint8_t> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    png.insert(png.end(), body.begin(), body.end());
    PutBE(png, Crc32(body.data(), body.size()));
}

}  // namespace

void WritePng(const std::string& fileName, int width, int height, const std::vector<uint32_t>& pixels) {
    std::vector<uint8_t> raw;
    raw.reserve(static_cast<size_t>(height) * (static_cast<size_t>(width) * 3 + 1));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        for (int x = 0; x < width; ++x) {
            uint32_t p = pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
            raw.push_back(static_cast<uint8_t>(p >> 16));
            raw.push_back(static_cast<uint8_t>(p >> 8));
            raw.push_back(static_cast<uint8_t>(p));
        }
    }
    // zlib stream of stored (uncompressed) deflate blocks.
    std::vector<uint8_t> z{0x78, 0x01};
    size_t pos = 0;
    do {
        size_t n = std::min<size_t>(65535, raw.size() - pos);
        bool last = pos + n == raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back(static_cast<uint8_t>(n));
        z.push_back(static_cast<uint8_t>(n >> 8));
        z.push_back(static_cast<uint8_t>(~n));
        z.push_back(static_cast<uint8_t>(~n >> 8));
        z.insert(z.end(), raw.begin() + static_cast<long>(pos), raw.begin() + static_cast<long>(pos + n));
        pos += n;
    } while (pos < raw.size());
    uint32_t a = 1, b = 0;
    for (uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    PutBE(z, (b << 16) | a);

    std::vector<uint8_t> png{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    std::vector<uint8_t> header;
    PutBE(header, static_cast<uint32_t>(width));
    PutBE(header, static_cast<uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});
    Chunk(png, "IHDR", header);
    Chunk(png, "IDAT", z);
    Chunk(png, "IEND", {});
    if (FILE* f = std::fopen(fileName.c_str(), "wb")) {
        std::fwrite(png.data(), 1, png.size(), f);
        std::fclose(f);
    }
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
