// Moving pixels between GDI bitmaps, system image lists and the plain
// pictures of imagelist_data.h.
#pragma once
#include "graphics_objects.h"
#include "imagelist_data.h"
#include "win32.h"

// The bitmap's pixels; EInvalidGraphic when they cannot be read.
TStripPixels ReadBitmapPixels(HBITMAP bitmap);
// New GDI bitmaps (owned by the caller) from plain pixels.
HBITMAP CreateColorBitmap(const TStripPixels& image);
HBITMAP CreateMaskBitmap(const TStripMask& mask);
// Images [0, count) of a system image list side by side: the colour
// pixels as the list keeps them (black where the mask is transparent) and,
// when mask is given, the mask.
void CaptureImageList(HIMAGELIST list, int width, int height, int count, TStripPixels& image, TStripMask* mask);
