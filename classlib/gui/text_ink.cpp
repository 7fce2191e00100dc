#include "classlib/gui/text_ink.h"

#include <cstdint>

#include "classlib/gui/scoped_win32.h"

int TextInkOverhang(HDC dc, const char* text, int length, const RECT& measured, UINT format) {
    const int width = measured.right - measured.left, height = measured.bottom - measured.top;
    if (width <= 0 || height <= 0 || length == 0) return 0;
    TMemoryDC memory(dc);
    if (!memory.Get()) return 0;
    TSelectedObject font(memory.Get(), GetCurrentObject(dc, OBJ_FONT));
    TEXTMETRICA metrics{};
    GetTextMetricsA(memory.Get(), &metrics);
    // Room for more than any glyph can stick out.
    const int room = width + metrics.tmMaxCharWidth + metrics.tmHeight;
    uint32_t* pixels = nullptr;
    TGdiObject bitmap = MakeDibSection32(memory.Get(), room, height, pixels);
    if (!pixels) return 0;
    TSelectedObject selected(memory.Get(), bitmap.Get());
    PatBlt(memory.Get(), 0, 0, room, height, WHITENESS);
    SetTextColor(memory.Get(), RGB(0, 0, 0));
    SetBkMode(memory.Get(), TRANSPARENT);
    RECT box{0, 0, width, height};
    const UINT drawFormat = (format & ~(DT_CALCRECT | DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM)) | DT_NOCLIP;
    DrawTextA(memory.Get(), text, length, &box, drawFormat);
    GdiFlush();
    for (int x = room - 1; x >= width; --x)
        for (int y = 0; y < height; ++y)
            if ((pixels[static_cast<size_t>(y) * static_cast<size_t>(room) + static_cast<size_t>(x)] & 0xFFFFFF) !=
                0xFFFFFF)
                return x - width + 1;
    return 0;
}
