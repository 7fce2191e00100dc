// Drawn text can reach past the box DrawText measures for it: fonts whose
// glyphs are placed at fractional positions (antialiased fonts under Wine)
// put the last glyph's ink a few pixels beyond the sum of the rounded
// advance widths.
#pragma once
#include "classlib/gui/win32.h"

// How many pixels the ink of the text, drawn left-aligned in the DC's
// current font into the box DrawText (DT_CALCRECT, same format) measured
// for it, reaches past that box's right edge; 0 when it stays inside.
int TextInkOverhang(HDC dc, const char* text, int length, const RECT& measured, UINT format);
