// GDI plumbing of TBitmap: device contexts, BITMAPINFO blocks, palettes,
// creating images of a format and filling them with pixels.
#pragma once
#include <cstdint>
#include <vector>

#include "classlib/core/color.h"
#include "classlib/core/exceptions.h"
#include "classlib/graphics/graphics_strings.h"
#include "classlib/gui/scoped_win32.h"
#include "classlib/gui/win32.h"

// How an image is stored. Device bitmaps: bitCount 1 (monochrome) or 0
// (the screen's). DIB colour tables are always full (2^bitCount entries).
struct TBitmapFormat {
    bool dib = true;
    uint16_t bitCount = 0;
    uint32_t compression = BI_RGB;
    uint32_t masks[3] = {0, 0, 0};
    std::vector<uint32_t> colors;  // 0x00RRGGBB
    bool topDown = false;

    bool Paletted() const { return dib && bitCount <= 8; }
};

namespace bitmap_gdi {

// A memory DC with one GDI object selected for its lifetime.
class TSelectedDC {
public:
    explicit TSelectedDC(HGDIOBJ object) : selected_(Checked(dc_), object) {}
    operator HDC() const { return dc_; }

private:
    static HDC Checked(const TMemoryDC& dc) {
        if (!dc) throw EOutOfMemory(GraphicsStr(SOutOfResources));
        return dc;
    }

    TMemoryDC dc_;
    TSelectedObject selected_;
};

// BITMAPINFO with room for a full colour table or the three masks.
struct TBitmapInfo {
    BITMAPINFOHEADER header{};
    uint32_t table[256]{};

    BITMAPINFO* Get() { return reinterpret_cast<BITMAPINFO*>(this); }
};

[[noreturn]] void OutOfResources();
TBitmapInfo Info32(int32_t width, int32_t height, bool topDown);
// The 16 colours of 4-bit pictures, as 0x00RRGGBB.
const std::vector<uint32_t>& Vga16();
std::vector<uint32_t> PaletteColors(HPALETTE palette, size_t count);
std::vector<uint32_t> HalftoneColors();
HPALETTE CreatePaletteFrom(const std::vector<uint32_t>& colors);
HPALETTE CopyPalette(HPALETTE palette);
// 0x00RRGGBB <-> TColor.
uint32_t ColorToPixel(TColor color);
TColor PixelToColor(uint32_t pixel);
// A new, blank image of the format; bits receives a DIB's pixel memory.
HBITMAP CreateImage(int32_t width, int32_t height, const TBitmapFormat& f, void** bits);
size_t DibStride(int32_t width, int bitCount);
// Puts top-down 0x00RRGGBB pixels into a fresh (unselected) image.
void StorePixels(HBITMAP image, void* bits, int32_t width, int32_t height, const TBitmapFormat& f,
                 const std::vector<uint32_t>& pixels);

}  // namespace bitmap_gdi
