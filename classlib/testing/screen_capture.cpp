#include "classlib/testing/screen_capture.h"

TCapture CaptureWindow(HWND window, bool wholeWindow) {
    TCapture c;
    RECT r{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (window && wholeWindow) {
        GetWindowRect(window, &r);
        OffsetRect(&r, -r.left, -r.top);
    } else if (window) {
        GetClientRect(window, &r);
    }
    c.Width = r.right;
    c.Height = r.bottom;
    if (c.Width <= 0 || c.Height <= 0) return c;
    HDC dc = window && wholeWindow ? GetWindowDC(window) : GetDC(window);
    HDC mem = CreateCompatibleDC(dc);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = c.Width;
    bi.bmiHeader.biHeight = -c.Height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, c.Width, c.Height, dc, 0, 0, SRCCOPY);
    GdiFlush();
    const uint32_t* p = static_cast<const uint32_t*>(bits);
    c.Pixels.assign(p, p + static_cast<size_t>(c.Width) * static_cast<size_t>(c.Height));
    for (uint32_t& px : c.Pixels) px &= 0xFFFFFF;
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(window, dc);
    return c;
}
