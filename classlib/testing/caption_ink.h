// Captions as a person sees them in a captured window: the text is drawn
// with GDI in the control's font to learn where its ink lies, and that ink
// is looked for in the picture. Fonts differ between machines (and are
// antialiased under Wine), so nothing here compares exact pixels: the test
// asks whether ink shows where the text's ink must be.
#pragma once
#include <string>

#include <gtest/gtest.h>

#include "classlib/gui/geometry.h"
#include "classlib/gui/win32.h"
#include "classlib/testing/gui_testing.h"

class TControl;

struct TTextInPicture {
    bool Found = false;       // most of the text's ink shows in the area
    TPoint Origin{0, 0};      // where the text's box starts in the picture
    int LastInkColumn = -1;   // picture column of the last glyph's rightmost ink
    int LastColumnInk = 0;    // pixels of that column the text inks
    int LastColumnShown = 0;  // of those, the ones the picture shows in the text's colour
};

// How far the text's ink reaches from the left edge of the box DrawText
// measures for it, in pixels (a glyph's faintest ink included); a word-
// wrapped text is wrapped at the width given.
int TextInkWidth(HFONT font, const std::string& text, UINT format = 0, int wrapWidth = 4000);
// Where the text's ink starts from the left edge of its box, in pixels.
int TextInkStart(HFONT font, const std::string& text, UINT format = 0);

// Looks for the text (drawn with DrawText in the given format: prefix,
// no prefix, word break) in the area of the picture, in the colour given.
TTextInPicture FindText(const TWindowPixels& picture, const TRect& area, HFONT font, COLORREF color,
                        const std::string& text, UINT format = 0);

// The text shows whole in the area: it is found there, its last glyph's
// rightmost ink column lies inside the area, and that column's ink shows.
testing::AssertionResult ShowsWholeText(const TWindowPixels& picture, const TRect& area, HFONT font,
                                        COLORREF color, const std::string& text, UINT format = 0);

// The same for a control's caption (in the control's font and font colour,
// in the shadow colour of the embossed look when disabled) in a picture of `window` (its client area, or the whole window).
testing::AssertionResult ShowsWholeCaption(const TWindowPixels& picture, HWND window, TControl* control,
                                           const std::string& caption, bool wholeWindow = false);
// The control's client area in a picture of `window`.
TRect AreaInPicture(HWND window, TControl* control, bool wholeWindow = false);
