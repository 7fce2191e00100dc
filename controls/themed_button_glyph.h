// The picture of the themed bitmap button: a bitmap of up to four
// side-by-side cells (up, disabled, down, exclusive), turned into images on
// demand. The images live in image lists shared by every glyph of the same
// cell size (the glyph lists of this unit's process-wide glyph cache, kept
// apart from the speed button's); a list goes when its last image does,
// the cache when the last glyph does.
#pragma once
#include <array>
#include <string>
#include <vector>

#include "classlib/comctrls/imglist.h"
#include "classlib/core/events.h"
#include "classlib/graphics/bitmap.h"
#include "classlib/stdctrls/button_glyph.h"
#include "controls/glyph_slots.h"

namespace themed_buttons {

class TGlyphList : public TSlottedImageList {
    DECLARE_CLASS(TGlyphList, TSlottedImageList)
public:
    using TSlottedImageList::TSlottedImageList;

    // The slot of a copy of the image; pixels of the mask colour become
    // transparent (clDefault: the colour of the image's bottom-left pixel).
    int AddMaskedBitmap(HBITMAP image, TColor maskColor);
};

// The glyph lists of the process, one per cell size in use.
class TGlyphCache : public TObject {
    DECLARE_CLASS(TGlyphCache, TObject)
public:
    // The list of that size, made when missing (the most recent first).
    TGlyphList* GetList(int width, int height) { return lists_.Get(width, height); }
    // Frees the list when none of its slots is used any more.
    void ReturnList(TGlyphList* list) { lists_.Return(list); }
    bool Empty() const { return lists_.Empty(); }
    int ListCount() const { return lists_.Count(); }

private:
    TGlyphListSet<TGlyphList> lists_;
};

// The cache, nullptr while no glyph exists.
TGlyphCache* GlyphCache();

// The drawing states are the class library's TButtonState (up, disabled,
// down, exclusive); the ordinal is also the cell in the glyph bitmap.
class TButtonGlyph : public TObject {
    DECLARE_CLASS(TButtonGlyph, TObject)
public:
    TButtonGlyph();
    ~TButtonGlyph() override;

    // Owned; assigning copies the bitmap and takes its cell count when
    // its width is a multiple of its height (more than 4 cells: 1).
    TBitmap* Glyph() const { return source_.get(); }
    void SetGlyph(const TBitmap* value);
    // 1..4; 0 and the current count are ignored.
    int NumGlyphs() const { return num_glyphs_; }
    void SetNumGlyphs(int value);
    TColor TransparentColor() const { return transparent_color_; }

    // Gives this glyph's images back (and its list when they were the last).
    void ReleaseImages();
    // The state's image in the glyph list, built when missing; -1 when there
    // is nothing to draw.
    int BuildStateImage(TButtonState state);
    // Places glyph and caption in the rectangle as layout, margin (-1:
    // centred) and spacing (-1: spread) say and draws them; returns the
    // caption's rectangle. `textFlags` are the reading-order flags
    // (DT_RIGHT swaps left and right layouts).
    TRect Draw(TCanvas& canvas, const TRect& client, const std::string& caption, TButtonLayout layout, int margin,
               int spacing, TButtonState state, UINT textFlags);

    TGlyphList* GlyphList() const { return glyph_list_; }
    int ImageIndex(TButtonState state) const { return indexes_[state]; }

    // After the source bitmap changed.
    TNotifyEvent OnChange;

private:
    struct TPlacement {
        TPoint glyph;
        TRect caption;
    };
    TPlacement Place(TCanvas& canvas, const TRect& client, const std::string& caption, TButtonLayout layout,
                     int margin, int spacing, UINT textFlags) const;
    void SourceChanged(TObject* sender);
    int AddDisabledFromCell(TBitmap& cell, int cellIndex);
    int AddEmbossed();
    void DrawGlyphImage(TCanvas& canvas, int x, int y, TButtonState state);
    static void DrawCaption(TCanvas& canvas, const std::string& caption, TRect rect, TButtonState state,
                            UINT textFlags);

    TOwned<TBitmap> source_;
    TGlyphList* glyph_list_ = nullptr;
    std::array<int, 4> indexes_;
    TColor transparent_color_ = clOlive;
    int num_glyphs_ = 1;
};

}  // namespace themed_buttons
