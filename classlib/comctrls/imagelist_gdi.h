// Moving pixels between GDI bitmaps, system image lists and the plain
// pictures of imagelist_data.h.
#pragma once
#include "classlib/gui/graphics_objects.h"
#include "classlib/comctrls/imagelist_data.h"
#include "classlib/gui/scoped_win32.h"
#include "classlib/gui/win32.h"

// A 32-bit top-down DIB section selected into a memory device context,
// for drawing and reading pixels back.
class TPixelSurface {
public:
    TPixelSurface(int width, int height, COLORREF fill);
    TPixelSurface(const TPixelSurface&) = delete;
    TPixelSurface& operator=(const TPixelSurface&) = delete;

    HDC Dc() const { return dc_; }
    // 0xRRGGBB.
    uint32_t At(int x, int y) const;
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    int width_, height_;
    TMemoryDC dc_;
    TGdiObject bitmap_;
    uint32_t* bits_ = nullptr;
    TSelectedObject selected_{nullptr, nullptr};
};

// The bitmap's pixels; EInvalidGraphic when they cannot be read.
TStripPixels ReadBitmapPixels(HBITMAP bitmap);
// New GDI bitmaps (owned by the caller) from plain pixels.
HBITMAP CreateColorBitmap(const TStripPixels& image);
HBITMAP CreateMaskBitmap(const TStripMask& mask);
// Images [0, count) of a system image list side by side: the colour
// pixels as the list keeps them (black where the mask is transparent) and,
// when mask is given, the mask.
void CaptureImageList(HIMAGELIST list, int width, int height, int count, TStripPixels& image, TStripMask* mask);
