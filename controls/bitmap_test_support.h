// Tests' helpers for the controls' pictures: bitmaps of one colour and
// their pixels as Pixels32 gives them.
#pragma once
#include <cstdint>

#include "classlib/graphics/bitmap.h"

// A colour as Pixels32 gives it (0x00RRGGBB).
inline uint32_t Pixel(TColor color) {
    COLORREF c = static_cast<COLORREF>(ColorToRGB(color));
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

inline uint32_t At(const TBitmap& bitmap, int x, int y) {
    return bitmap.Pixels32()[static_cast<size_t>(y * bitmap.Width() + x)];
}

// A 24-bit bitmap filled with one colour.
inline TOwned<TBitmap> FilledBitmap(int width, int height, TColor color) {
    TOwned<TBitmap> bitmap(New<TBitmap>());
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(width, height);
    bitmap->Canvas()->Brush().SetColor(color);
    bitmap->Canvas()->FillRect(Rect(0, 0, width, height));
    return bitmap;
}
