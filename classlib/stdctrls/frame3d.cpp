#include "classlib/stdctrls/frame3d.h"

void Frame3D(TCanvas& canvas, TRect& rect, TColor topColor, TColor bottomColor, int width) {
    canvas.Pen().SetWidth(1);
    canvas.Pen().SetStyle(psSolid);
    // The outer lines run along the last pixel row and column inside rect.
    --rect.bottom;
    --rect.right;
    for (; width > 0; --width) {
        TPoint topSide[] = {Point(rect.left, rect.bottom), Point(rect.left, rect.top), Point(rect.right, rect.top)};
        canvas.Pen().SetColor(topColor);
        canvas.Polyline(topSide, 3);
        // One pixel further to the left so the bottom line meets the left one.
        TPoint bottomSide[] = {Point(rect.right, rect.top), Point(rect.right, rect.bottom),
                               Point(rect.left - 1, rect.bottom)};
        canvas.Pen().SetColor(bottomColor);
        canvas.Polyline(bottomSide, 3);
        InflateRect(&rect, -1, -1);
    }
    ++rect.bottom;
    ++rect.right;
}
