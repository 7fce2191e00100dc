#include "controls/themed_button_glyph.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "classlib/core/class_builder.h"
#include "classlib/graphics/bitmap_gdi.h"
#include "classlib/gui/scoped_win32.h"
#include "controls/drawing_utils.h"

namespace themed_buttons {

namespace {

TSharedGlyphCache<TGlyphCache> themedGlyphCache;

// Paints the brush where the source is white and keeps the destination
// where it is black.
constexpr DWORD PaintWhereWhite = 0x00E20746;

COLORREF BottomLeftPixel(HDC dc, int height) { return GetPixel(dc, 0, height - 1); }

}  // namespace

TGlyphCache* GlyphCache() { return themedGlyphCache.Get(); }

const TClassInfo& TGlyphList::StaticClass() {
    static const TClassInfo info =
        DefineClass<TGlyphList>("themed_buttons::TGlyphList", &TSlottedImageList::StaticClass(), [](auto&) {});
    return info;
}

int TGlyphList::AddMaskedBitmap(HBITMAP image, TColor maskColor) {
    COLORREF transparent = static_cast<COLORREF>(ColorToRGB(maskColor));
    if (maskColor == clDefault) {
        TWindowDC screen(nullptr);
        TMemoryDC imageDC(screen.Get());
        TSelectedObject selected(imageDC.Get(), image);
        transparent = BottomLeftPixel(imageDC.Get(), Height());
    }
    TGdiObject mask = MaskOfColour(image, transparent, Width(), Height());
    return StoreImage(image, static_cast<HBITMAP>(mask.Get()));
}

const TClassInfo& TGlyphCache::StaticClass() {
    static const TClassInfo info =
        DefineClass<TGlyphCache>("themed_buttons::TGlyphCache", &TObject::StaticClass(), [](auto&) {});
    return info;
}

const TClassInfo& TButtonGlyph::StaticClass() {
    static const TClassInfo info =
        DefineClass<TButtonGlyph>("themed_buttons::TButtonGlyph", &TObject::StaticClass(), [](auto&) {});
    return info;
}

TButtonGlyph::TButtonGlyph() : source_(New<TBitmap>()) {
    indexes_.fill(-1);
    source_->OnChange = [this](TObject* sender) { SourceChanged(sender); };
    themedGlyphCache.Need();
}

TButtonGlyph::~TButtonGlyph() {
    source_.reset();
    ReleaseImages();
    themedGlyphCache.FreeIfEmpty();
}

void TButtonGlyph::SetGlyph(const TBitmap* value) {
    ReleaseImages();
    source_->Assign(value);
    if (!value || value->Height() <= 0) return;
    transparent_color_ = value->TransparentColor() & ~0x02000000;
    // A bitmap 0 wide holds no cells: the count stays.
    if (value->Width() > 0 && value->Width() % value->Height() == 0) {
        const int count = value->Width() / value->Height();
        num_glyphs_ = count > 4 ? 1 : count;
    }
}

void TButtonGlyph::SetNumGlyphs(int value) {
    if (value < 1 || value == num_glyphs_) return;
    ReleaseImages();
    num_glyphs_ = value;
    SourceChanged(source_.get());
}

void TButtonGlyph::SourceChanged(TObject*) {
    transparent_color_ = source_->TransparentColor() & ~0x02000000;
    ReleaseImages();
    if (OnChange) OnChange(this);
}

void TButtonGlyph::ReleaseImages() {
    for (int& index : indexes_) {
        if (glyph_list_ && index != -1) glyph_list_->FreeSlot(index);
        index = -1;
    }
    if (TGlyphCache* cache = themedGlyphCache.Get()) cache->ReturnList(glyph_list_);
    glyph_list_ = nullptr;
}

int TButtonGlyph::BuildStateImage(TButtonState state) {
    if (state == bsDown && num_glyphs_ < 3) state = bsUp;
    if (indexes_[state] != -1) return indexes_[state];
    if (source_->Empty() || source_->Width() == 0 || source_->Height() == 0) return -1;
    const int cellWidth = source_->Width() / num_glyphs_, cellHeight = source_->Height();
    // More cells than pixels: nothing to draw.
    if (cellWidth <= 0) return -1;
    if (!glyph_list_) {
        glyph_list_ = themedGlyphCache.Need().GetList(cellWidth, cellHeight);
    }
    TOwned<TBitmap> cell(New<TBitmap>());
    cell->SetSize(cellWidth, cellHeight);
    cell->Canvas()->Brush().SetColor(clBtnFace);
    if (source_->Palette()) cell->SetPalette(bitmap_gdi::CopyPalette(source_->Palette()));
    const int cellIndex = state < num_glyphs_ ? state : 0;
    int index;
    if (state != bsDisabled) {
        cell->Canvas()->CopyRect(Rect(0, 0, cellWidth, cellHeight), *source_->Canvas(),
                                 Rect(cellIndex * cellWidth, 0, (cellIndex + 1) * cellWidth, cellHeight));
        cell->Dormant();
        index = glyph_list_->AddMaskedBitmap(
            cell->Handle(), source_->TransparentMode() == tmFixed ? transparent_color_ : clDefault);
    } else if (num_glyphs_ >= 2) {
        index = AddDisabledFromCell(*cell, cellIndex);
    } else {
        index = AddEmbossed();
    }
    indexes_[state] = index;
    source_->Dormant();
    return index;
}

int TButtonGlyph::AddDisabledFromCell(TBitmap& cell, int cellIndex) {
    const int width = cell.Width(), height = cell.Height();
    TOwned<TBitmap> copy(New<TBitmap>());
    copy->Assign(source_.get());
    copy->SetHandleType(bmDDB);
    const TRect whole = Rect(0, 0, width, height);
    cell.Canvas()->CopyRect(whole, *copy->Canvas(), Rect(cellIndex * width, 0, (cellIndex + 1) * width, height));
    // White becomes the highlight, grey the shadow and the transparent
    // colour the face, each through a mask of where the source has it.
    const std::pair<TColor, TColor> recolourings[] = {
        {clWhite, clBtnHighlight}, {clGray, clBtnShadow}, {ColorToRGB(transparent_color_), clBtnFace}};
    TWindowDC screen(nullptr);
    for (const auto& [from, to] : recolourings) {
        TGdiObject mask(CreateBitmap(width, height, 1, 1, nullptr));
        TMemoryDC maskDC(screen.Get());
        TSelectedObject selectedMask(maskDC.Get(), mask.Get());
        HDC copyDC = copy->Canvas()->Handle();
        ::SetBkColor(copyDC, static_cast<COLORREF>(ColorToRGB(from)));
        BitBlt(maskDC.Get(), 0, 0, width, height, copyDC, cellIndex * width, 0, SRCCOPY);
        cell.Canvas()->Brush().SetColor(to);
        HDC cellDC = cell.Canvas()->Handle();
        ::SetTextColor(cellDC, RGB(0, 0, 0));
        ::SetBkColor(cellDC, RGB(255, 255, 255));
        BitBlt(cellDC, 0, 0, width, height, maskDC.Get(), 0, 0, PaintWhereWhite);
    }
    cell.Dormant();
    return glyph_list_->AddMaskedBitmap(cell.Handle(), clDefault);
}

int TButtonGlyph::AddEmbossed() {
    // One cell, the whole source: its black outline embossed on the face.
    TOwned<TBitmap> embossed(MakeDisabledBitmap(*source_, clBlack));
    embossed->Dormant();
    return glyph_list_->AddMaskedBitmap(embossed->Handle(), clDefault);
}

TButtonGlyph::TPlacement TButtonGlyph::Place(TCanvas& canvas, const TRect& client, const std::string& caption,
                                             TButtonLayout layout, int margin, int spacing, UINT textFlags) const {
    if (textFlags & DT_RIGHT) {
        if (layout == blGlyphLeft) layout = blGlyphRight;
        else if (layout == blGlyphRight) layout = blGlyphLeft;
    }
    const int clientWidth = RectWidth(client), clientHeight = RectHeight(client);
    int glyphWidth = 0, glyphHeight = 0;
    if (!source_->Empty()) {
        glyphWidth = source_->Width() / num_glyphs_;
        glyphHeight = source_->Height();
    }
    TRect textRect = Rect(0, 0, 0, 0);
    if (!caption.empty()) {
        textRect = Rect(0, 0, clientWidth, 0);
        DrawTextA(canvas.Handle(), caption.c_str(), static_cast<int>(caption.size()), &textRect,
                  DT_CALCRECT | textFlags);
    }
    const int textWidth = RectWidth(textRect), textHeight = RectHeight(textRect);
    const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
    TPoint glyphPos{0, 0}, textPos{0, 0};
    if (horizontal) {
        glyphPos.y = (clientHeight - glyphHeight + 1) / 2;
        textPos.y = (clientHeight - textHeight + 1) / 2;
    } else {
        glyphPos.x = (clientWidth - glyphWidth + 1) / 2;
        textPos.x = (clientWidth - textWidth + 1) / 2;
    }
    if (textWidth == 0 || glyphWidth == 0) spacing = 0;
    const int clientAlong = horizontal ? clientWidth : clientHeight;
    const int glyphAlong = horizontal ? glyphWidth : glyphHeight;
    const int textAlong = horizontal ? textWidth : textHeight;
    if (margin == -1) {
        if (spacing == -1) {
            margin = (clientAlong - (glyphAlong + textAlong)) / 3;
            spacing = margin;
        } else {
            margin = (clientAlong - (glyphAlong + spacing + textAlong) + 1) / 2;
        }
    } else if (spacing == -1) {
        spacing = (clientAlong - (margin + glyphAlong) - textAlong) / 2;
    }
    PlaceAlongLayout(layout, margin, spacing, TPoint{glyphWidth, glyphHeight}, TPoint{textWidth, textHeight},
                     TPoint{clientWidth, clientHeight}, glyphPos, textPos);
    TPlacement placed;
    placed.glyph = Point(glyphPos.x + client.left, glyphPos.y + client.top);
    OffsetRect(&textRect, textPos.x + client.left, textPos.y + client.top);
    placed.caption = textRect;
    return placed;
}

void TButtonGlyph::DrawGlyphImage(TCanvas& canvas, int x, int y, TButtonState state) {
    if (source_->Empty() || source_->Width() == 0 || source_->Height() == 0) return;
    const int index = BuildStateImage(state);
    if (index < 0) return;
    // Transparent for every state: the themed or classic face shows through.
    ImageList_DrawEx(glyph_list_->Handle(), index, canvas.Handle(), x, y, 0, 0, CLR_NONE, CLR_NONE,
                     ILD_TRANSPARENT);
}

void TButtonGlyph::DrawCaption(TCanvas& canvas, const std::string& caption, TRect rect, TButtonState state,
                               UINT textFlags) {
    canvas.Brush().SetStyle(bsClear);
    // Not clipped to the measured box: the last glyph's ink may reach past it.
    const UINT flags = DT_CENTER | DT_VCENTER | DT_NOCLIP | textFlags;
    auto draw = [&](TRect& r) {
        DrawTextA(canvas.Handle(), caption.c_str(), static_cast<int>(caption.size()), &r, flags);
    };
    if (state == bsDisabled) {
        OffsetRect(&rect, 1, 1);
        canvas.Font().SetColor(clBtnHighlight);
        draw(rect);
        OffsetRect(&rect, -1, -1);
        canvas.Font().SetColor(clBtnShadow);
        draw(rect);
    } else {
        draw(rect);
    }
}

TRect TButtonGlyph::Draw(TCanvas& canvas, const TRect& client, const std::string& caption, TButtonLayout layout,
                         int margin, int spacing, TButtonState state, UINT textFlags) {
    const TPlacement placed = Place(canvas, client, caption, layout, margin, spacing, textFlags);
    DrawGlyphImage(canvas, placed.glyph.x, placed.glyph.y, state);
    DrawCaption(canvas, caption, placed.caption, state, textFlags);
    return placed.caption;
}

}  // namespace themed_buttons
