#include "classlib/testing/screen_capture.h"

#include "classlib/gui/scoped_win32.h"

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
    TWindowDC dc = window && wholeWindow ? TWindowDC::Whole(window) : TWindowDC(window);
    TMemoryDC memory(dc);
    uint32_t* bits = nullptr;
    TGdiObject bitmap = MakeDibSection32(dc, c.Width, c.Height, bits);
    if (!bits) return c;
    {
        TSelectedObject selected(memory.Get(), bitmap.Get());
        BitBlt(memory.Get(), 0, 0, c.Width, c.Height, dc, 0, 0, SRCCOPY);
        GdiFlush();
    }
    c.Pixels.assign(bits, bits + static_cast<size_t>(c.Width) * static_cast<size_t>(c.Height));
    for (uint32_t& px : c.Pixels) px &= 0xFFFFFF;
    return c;
}
