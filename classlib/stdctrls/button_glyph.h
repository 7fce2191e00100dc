// The picture and caption of bitmap and speed buttons. The glyph bitmap
// holds NumGlyphs images side by side: up, disabled, down, exclusive (held
// down); a missing disabled image is made by embossing the up image, other
// missing ones fall back to the up image. The glyph's transparent colour
// (its bottom-left pixel unless set) lets the button face show through.
#pragma once
#include <array>
#include <functional>
#include <string>

#include "classlib/graphics/bitmap.h"
#include "classlib/gui/canvas.h"
#include "classlib/gui/scoped_win32.h"

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
DECLARE_ENUM_TYPE(TButtonLayout)
enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

// Sets the coordinates along the layout's direction of a glyph and a text
// of the given sizes in a client of the given size, with margin and spacing
// already resolved; the coordinates across it are left as they are.
void PlaceAlongLayout(TButtonLayout layout, int margin, int spacing, TPoint glyphSize, TPoint textSize,
                      TPoint clientSize, TPoint& glyphPos, TPoint& textPos);

class TButtonGlyph {
public:
    TButtonGlyph();
    ~TButtonGlyph();
    TButtonGlyph(const TButtonGlyph&) = delete;
    TButtonGlyph& operator=(const TButtonGlyph&) = delete;

    // Owned; changing it (or assigning another) redraws the button.
    TBitmap* Glyph() const { return glyph_.get(); }
    void SetGlyph(const TBitmap* value);
    // 1..4 images in the glyph.
    int32_t NumGlyphs() const { return num_glyphs_; }
    void SetNumGlyphs(int32_t value);
    // Forgets the prepared images (the system colours changed).
    void Invalidate();

    // Places glyph and caption in `client` as layout, margin (-1: centred)
    // and spacing (-1: spread evenly) say, moved by `offset` (a pressed
    // look), and draws them with the canvas's font. Returns the caption's
    // rectangle.
    TRect Draw(TCanvas& canvas, const TRect& client, TPoint offset, const std::string& caption,
               TButtonLayout layout, int margin, int spacing, TButtonState state);

    // Called after the glyph or the number of images changed.
    std::function<void()> OnChange;

private:
    struct TImage {
        TGdiObject color;  // the picture, 32 bits per pixel
        TGdiObject mask;   // monochrome: white where transparent
    };
    SIZE GlyphSize() const;
    const TImage* Image(TButtonState state);
    void BuildImage(TButtonState state, TImage& image);
    void DrawImage(HDC dc, const TImage& image, int x, int y) const;
    void DrawCaption(TCanvas& canvas, const std::string& caption, TRect bounds, TButtonState state);
    void Changed();

    TOwned<TBitmap> glyph_;
    int32_t num_glyphs_ = 1;
    std::array<TImage, 4> images_;
};
