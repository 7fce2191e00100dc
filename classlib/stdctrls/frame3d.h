// The 3-D frame panels and buttons draw: `width` rings of lines, the top
// and left in one colour, the bottom and right in the other.
#pragma once
#include "classlib/gui/canvas.h"

// Draws inside rect and shrinks rect by the width drawn.
void Frame3D(TCanvas& canvas, TRect& rect, TColor topColor, TColor bottomColor, int width);
