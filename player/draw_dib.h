// Drawing Pixwell images onto a device context.
#pragma once
#include <cstdint>
#include <functional>

#include "pixwell/pixwell.h"

// The platform's handle types, declared as <windows.h> declares them.
struct HDC__;
struct HPALETTE__;
typedef HDC__* HDC;
typedef HPALETTE__* HPALETTE;

// The device facts and the stretch call DrawDIB depends on. The defaults
// ask the platform; tests replace members to reach every drawing path on a
// memory DC.
struct TDrawDIBDevice {
    std::function<int()> ScreenBitsPerPixel;
    // TECHNOLOGY is DT_RASPRINTER.
    std::function<bool(HDC dc)> IsPrinter;
    // RASTERCAPS has RC_DIBTODEV.
    std::function<bool(HDC dc)> CanSetDIBitsToDevice;
    // StretchDIBits with DIB_RGB_COLORS; returns its result.
    std::function<int(HDC dc, int x, int y, int width, int height, int srcX, int srcY, int srcWidth, int srcHeight,
                      const void* bits, const void* info, uint32_t rop)>
        StretchDIBits;
};

TDrawDIBDevice& DrawDIBDevice();
TDrawDIBDevice PlatformDrawDIBDevice();

// value * numerator / denominator rounded to nearest, halves to even, as
// the programs' Round does; clamped to the int range. denominator != 0.
int RoundedMulDiv(int64_t value, int64_t numerator, int64_t denominator);

// Draws the source rectangle (srcY counted from the image's bottom row)
// into the destination rectangle. The source is clipped to the image and
// the destination scaled with it; nothing is drawn when no source pixel or
// destination pixel remains. 24-bit images go halftoned to palette screens
// (allowHalftone) and row by row to other screens; 8-bit images row by row;
// the rest, and everything on printers, through StretchDIBits with its
// fallbacks. Images with HasPalette get useDIBPalette ? their own palette :
// `palette` selected and realised while drawing.
void DrawDIB(HDC dc, int x, int y, int destWidth, int destHeight, const TDIB& source, int srcX, int srcY,
             int srcWidth, int srcHeight, bool allowHalftone, uint32_t rop, bool useDIBPalette, HPALETTE palette);

// Nearest-neighbour stretch of a 24-bit (8-bit) image one destination row
// at a time; srcTopRow counts rows from the image's top. Rows and columns
// outside the image draw pixel value 0.
void StretchRows24(HDC dc, int x, int y, int destWidth, int destHeight, int srcX, int srcTopRow, int srcWidth,
                   int srcHeight, const TDIB& source);
void StretchRows8(HDC dc, int x, int y, int destWidth, int destHeight, int srcX, int srcTopRow, int srcWidth,
                  int srcHeight, const TDIB& source);
