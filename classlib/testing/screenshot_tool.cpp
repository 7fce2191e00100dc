// screenshot.exe FILE.png: saves what the screen shows as a PNG picture.
#include <string>
#include <vector>

#include "png_writer.h"
#include "win32.h"

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bitmap);
    BitBlt(mem, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    GdiFlush();
    const uint32_t* p = static_cast<const uint32_t*>(bits);
    std::vector<uint32_t> pixels(p, p + static_cast<size_t>(width) * static_cast<size_t>(height));
    SelectObject(mem, old);
    DeleteObject(bitmap);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    WritePng(argv[1], width, height, pixels);
    return 0;
}
