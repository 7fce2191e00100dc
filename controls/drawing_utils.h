// Drawing helpers of the controls: the parent's background behind a
// transparent control, bitmaps with a transparent colour, and the embossed
// look of disabled pictures.
#pragma once
#include "classlib/core/color.h"
#include "classlib/gui/geometry.h"
#include "classlib/gui/win32.h"

class TBitmap;
class TCanvas;
class TControl;
class TCustomImageList;

// The raster operation of the disabled look: the brush where the source is
// white, the destination kept where it is black.
constexpr DWORD ROP_DisabledPaint = 0x00E20746;

// ColorToRGB of the colour, palette-relative.
COLORREF PaletteRelativeColor(TColor color);

// Paints onto the canvas what lies behind the control: its parent's
// background and window, then the parent's windowless children before it
// in z-order that overlap it.
void DrawParentBackground(TControl* control, TCanvas& canvas);

// Stretches the source rectangle onto the destination, leaving the pixels
// of the transparent colour out.
void BlitStretchedTransparent(HDC destination, int x, int y, int width, int height, HDC source, int sourceX,
                              int sourceY, int sourceWidth, int sourceHeight, HPALETTE palette,
                              COLORREF transparent);
// A destination size below 1 takes the bitmap's; a source size below 1 the
// whole bitmap. clNone draws opaque; clDefault takes the bottom-left pixel.
void DrawBitmapTransparent(TCanvas& canvas, TBitmap& bitmap, TColor transparent, int x, int y, int width,
                           int height, int sourceX = 0, int sourceY = 0, int sourceWidth = 0,
                           int sourceHeight = 0);
void DrawBitmapRectTransparent(TCanvas& canvas, int x, int y, int width, int height, const TRect& source,
                               TBitmap& bitmap, TColor transparent);

// A new bitmap (the caller owns it) showing the outline-coloured pixels of
// the bitmap embossed: highlight moved by (1, 1), then shadow, on `back`.
TBitmap* CreateDisabledImage(TBitmap& bitmap, TColor outline, TColor back, TColor highlight, TColor shadow,
                             bool drawHighlight);
// The same on the button face colours.
TBitmap* MakeDisabledBitmap(TBitmap& bitmap, TColor outline);
// Draws one image of the list embossed at (x, y).
void DrawImageListItem(TCustomImageList& images, TCanvas& canvas, int x, int y, int index, TColor highlight,
                       TColor shadow, bool drawHighlight);
