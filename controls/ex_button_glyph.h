// The picture of the extended speed button: a bitmap of up to five
// side-by-side cells, one per face state, turned into images on demand.
// The images live in image lists shared by every glyph of the same cell
// size (the glyph lists of the process-wide glyph cache); a list goes when
// its last image does, the cache when its last list does.
#pragma once
#include <array>
#include <string>

#include "classlib/comctrls/imglist.h"
#include "classlib/core/alignment.h"
#include "classlib/core/events.h"
#include "classlib/graphics/bitmap.h"
#include "classlib/stdctrls/button_glyph.h"
#include "controls/button_style.h"
#include "controls/glyph_slots.h"

// The face states; the ordinal is also the cell in the glyph bitmap.
enum TExGlyphState { rgsUp, rgsDisabled, rgsDown, rgsExclusive, rgsInactive };
constexpr int ExGlyphStateCount = 5;

// The speed button's own glyph lists and cache (the themed button has a
// separate pair of the same names).
namespace ex_ctrls {

class TGlyphList : public TSlottedImageList {
    DECLARE_CLASS(TGlyphList, TSlottedImageList)
public:
    using TSlottedImageList::TSlottedImageList;

    // The slot's index; the image is a copy.
    int AddBitmap(HBITMAP image, HBITMAP mask) { return StoreImage(image, mask); }
    // Pixels of the mask colour become transparent.
    int AddMaskedBitmap(HBITMAP image, TColor maskColor);
};

// The glyph lists of the process, one per cell size in use.
class TGlyphCache : public TObject {
    DECLARE_CLASS(TGlyphCache, TObject)
public:
    // The list of that size, made when missing (the most recent first).
    TGlyphList* AcquireList(int width, int height) { return lists_.Get(width, height); }
    // Frees the list when none of its slots is used any more.
    void ReleaseList(TGlyphList* list) { lists_.Return(list); }
    bool IsEmpty() const { return lists_.Empty(); }
    int ListCount() const { return lists_.Count(); }

private:
    TGlyphListSet<TGlyphList> lists_;
};

// The cache, nullptr while no glyph exists.
TGlyphCache* GlyphCache();

// Draws a button face's raised or sunken border; returns the rectangle
// inside it.
TRect DrawButtonBorder(TCanvas& canvas, const TRect& client, bool down, bool flat, TButtonStyle style);

}  // namespace ex_ctrls

class TExButtonGlyph : public TObject {
    DECLARE_CLASS(TExButtonGlyph, TObject)
public:
    TExButtonGlyph();
    ~TExButtonGlyph() override;

    // Owned; assigning another bitmap copies it.
    TBitmap* Glyph() const { return source_.get(); }
    void SetGlyph(const TBitmap* value);
    int GlyphCount() const { return glyph_count_; }
    // 0 and the current count are ignored; no change event.
    void SetGlyphCount(int count);
    TColor TransparentColor() const { return transparent_color_; }
    bool WordWrap() const { return word_wrap_; }
    void SetWordWrap(bool value) { word_wrap_ = value; }
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value) { alignment_ = value; }

    // Frees this glyph's images (and its list when they were the last).
    void ReleaseImages();
    // The image of the state in the glyph list, built when missing; -1 for
    // no picture.
    int BuildStateImage(TExGlyphState state);
    // Draws picture, caption and (when wanted) the drop-down mark in the
    // client rectangle; returns the caption's rectangle.
    TRect DrawFace(TCanvas& canvas, const TRect& client, const std::string& caption, TButtonLayout layout,
                   int margin, int spacing, bool dropDownMark, TExGlyphState state, UINT textFlags);

    ex_ctrls::TGlyphList* GlyphList() const { return glyph_list_; }
    int ImageIndex(TExGlyphState state) const { return indexes_[state]; }

    // After the source bitmap changed.
    TNotifyEvent OnChange;

private:
    struct TLayout {
        TPoint glyph;
        TRect caption;
        std::string text;
    };
    void SourceChanged(TObject* sender);
    TColor ToGreyColor(TColor color) const;
    TPoint DrawStateGlyph(TCanvas& canvas, int x, int y, TExGlyphState state);
    std::string FitCaption(TCanvas& canvas, const std::string& caption, int maxWidth) const;
    TLayout ComputeLayout(TCanvas& canvas, const TRect& client, const std::string& caption, TButtonLayout layout,
                          int margin, int spacing, bool dropDownMark, UINT textFlags) const;
    void DrawCaption(TCanvas& canvas, const std::string& caption, const TRect& rect, TExGlyphState state,
                     UINT textFlags) const;
    static void DrawDropDownMark(TCanvas& canvas, int x, int y, TExGlyphState state);

    TOwned<TBitmap> source_;
    ex_ctrls::TGlyphList* glyph_list_ = nullptr;
    std::array<int, ExGlyphStateCount> indexes_;
    TColor transparent_color_ = 0xFF00FF;
    int glyph_count_ = 1;
    bool word_wrap_ = false;
    TAlignment alignment_ = taCenter;
};
