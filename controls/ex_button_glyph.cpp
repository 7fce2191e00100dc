#include "controls/ex_button_glyph.h"

#include <commctrl.h>

#include <algorithm>

#include "classlib/core/class_builder.h"
#include "classlib/core/scope_exit.h"
#include "classlib/gui/scoped_win32.h"
#include "classlib/stdctrls/frame3d.h"
#include "controls/drawing_utils.h"
#include "controls/text_utils.h"

DEFINE_ENUM_TYPE(TButtonStyle, "bsAutoDetect", "bsWin31", "bsNew")

namespace ex_ctrls {

namespace {
TSharedGlyphCache<TGlyphCache> exGlyphCache;
}  // namespace

TGlyphCache* GlyphCache() { return exGlyphCache.Get(); }

const TClassInfo& TGlyphList::StaticClass() {
    static const TClassInfo info =
        DefineClass<TGlyphList>("ex_ctrls::TGlyphList", &TSlottedImageList::StaticClass(), [](auto&) {});
    return info;
}

int TGlyphList::AddMaskedBitmap(HBITMAP image, TColor maskColor) {
    TGdiObject mask = MaskOfColour(image, static_cast<COLORREF>(ColorToRGB(maskColor)), Width(), Height());
    return StoreImage(image, static_cast<HBITMAP>(mask.Get()));
}

const TClassInfo& TGlyphCache::StaticClass() {
    static const TClassInfo info =
        DefineClass<TGlyphCache>("ex_ctrls::TGlyphCache", &TObject::StaticClass(), [](auto&) {});
    return info;
}

TRect DrawButtonBorder(TCanvas& canvas, const TRect& client, bool down, bool flat, TButtonStyle style) {
    const bool newStyle = style != bsWin31;
    TRect r = client;
    if (down) {
        if (newStyle || flat) {
            Frame3D(canvas, r, clWindowFrame, clBtnHighlight, 1);
            if (newStyle && !flat) Frame3D(canvas, r, clBtnShadow, clBtnFace, 1);
        } else {
            Frame3D(canvas, r, clWindowFrame, clWindowFrame, 1);
            canvas.Pen().SetColor(clBtnShadow);
            canvas.MoveTo(r.left, r.bottom - 1);
            canvas.LineTo(r.left, r.top);
            canvas.LineTo(r.right, r.top);
        }
    } else if (newStyle) {
        if (flat) {
            Frame3D(canvas, r, clBtnHighlight, clBtnShadow, 1);
        } else {
            Frame3D(canvas, r, clBtnHighlight, clWindowFrame, 1);
            Frame3D(canvas, r, clBtnFace, clBtnShadow, 1);
        }
    } else if (flat) {
        Frame3D(canvas, r, clBtnHighlight, clWindowFrame, 1);
    } else {
        Frame3D(canvas, r, clWindowFrame, clWindowFrame, 1);
        Frame3D(canvas, r, clBtnHighlight, clBtnShadow, 1);
    }
    InflateRect(&r, -1, -1);
    return r;
}

}  // namespace ex_ctrls

using ex_ctrls::exGlyphCache;

const TClassInfo& TExButtonGlyph::StaticClass() {
    static const TClassInfo info = DefineClass<TExButtonGlyph>("TExButtonGlyph", &TObject::StaticClass(), [](auto&) {});
    return info;
}

TExButtonGlyph::TExButtonGlyph() : source_(New<TBitmap>()) {
    indexes_.fill(-1);
    source_->OnChange = [this](TObject* sender) { SourceChanged(sender); };
    exGlyphCache.Need();
}

TExButtonGlyph::~TExButtonGlyph() {
    source_.reset();
    ReleaseImages();
    exGlyphCache.FreeIfEmpty();
}

void TExButtonGlyph::SetGlyph(const TBitmap* value) {
    ReleaseImages();
    source_->Assign(value);
}

void TExButtonGlyph::SetGlyphCount(int count) {
    if (count == 0 || count == glyph_count_) return;
    ReleaseImages();
    glyph_count_ = count;
}

void TExButtonGlyph::ReleaseImages() {
    for (int& index : indexes_) {
        if (glyph_list_ && index >= 0) glyph_list_->FreeSlot(index);
        index = -1;
    }
    if (ex_ctrls::TGlyphCache* cache = exGlyphCache.Get()) cache->ReleaseList(glyph_list_);
    glyph_list_ = nullptr;
}

void TExButtonGlyph::SourceChanged(TObject* sender) {
    if (sender != source_.get()) return;
    ReleaseImages();
    const int width = source_->Width(), height = source_->Height();
    if (height > 0) {
        transparent_color_ = source_->TransparentColor() & ~0x02000000;
        // A bitmap 0 wide holds no cells: the count stays.
        if (width > 0 && width % height == 0) {
            int count = width / height;
            SetGlyphCount(count > ExGlyphStateCount ? 1 : count);
        }
    }
    if (OnChange) OnChange(this);
}

TColor TExButtonGlyph::ToGreyColor(TColor color) const {
    const TColor rgb = ColorToRGB(color);
    if (color == transparent_color_ || rgb == ColorToRGB(clBtnFace)) return color;
    const int r = rgb & 0xFF, g = (rgb >> 8) & 0xFF, b = (rgb >> 16) & 0xFF;
    const int grey = (r * 77 + g * 150 + b * 29) >> 8;
    return static_cast<TColor>(RGB(grey, grey, grey));
}

int TExButtonGlyph::BuildStateImage(TExGlyphState state) {
    if (state == rgsDown && glyph_count_ < 3) state = rgsUp;
    if (indexes_[state] != -1) return indexes_[state];
    if (source_->Width() == 0 || source_->Height() == 0 || source_->Empty()) return -1;
    const int cellWidth = source_->Width() / glyph_count_, cellHeight = source_->Height();
    // More cells than pixels: nothing to draw.
    if (cellWidth <= 0) return -1;
    if (!glyph_list_) {
        glyph_list_ = exGlyphCache.Need().AcquireList(cellWidth, cellHeight);
    }
    TOwned<TBitmap> cell(New<TBitmap>());
    cell->SetSize(cellWidth, cellHeight);
    cell->Canvas()->Brush().SetColor(clBtnFace);
    const int cellIndex = state < glyph_count_ ? state : 0;
    const TRect whole = Rect(0, 0, cellWidth, cellHeight);
    const TRect sourceCell = Rect(cellIndex * cellWidth, 0, (cellIndex + 1) * cellWidth, cellHeight);
    auto addCell = [&] {
        cell->Canvas()->CopyRect(whole, *source_->Canvas(), sourceCell);
        cell->Dormant();  // the handle leaves the canvas's device context
        return glyph_list_->AddMaskedBitmap(cell->Handle(), transparent_color_);
    };
    int index = -1;
    switch (state) {
    case rgsDisabled:
        if (glyph_count_ >= 2) {
            index = addCell();
        } else {
            TOwned<TBitmap> disabled(MakeDisabledBitmap(*source_, clBlack));
            disabled->Dormant();
            index = glyph_list_->AddMaskedBitmap(disabled->Handle(), ColorToRGB(clBtnFace));
        }
        break;
    case rgsInactive:
        if (glyph_count_ == ExGlyphStateCount) {
            index = addCell();
        } else {
            const std::vector<uint32_t> pixels = source_->Pixels32();
            const int sourceWidth = source_->Width();
            for (int y = 0; y < cellHeight; ++y)
                for (int x = 0; x < cellWidth; ++x) {
                    uint32_t p = pixels[static_cast<size_t>(y * sourceWidth + x)];
                    TColor color = static_cast<TColor>(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
                    cell->Canvas()->SetPixel(x, y, ToGreyColor(color));
                }
            cell->Dormant();
            index = glyph_list_->AddMaskedBitmap(cell->Handle(), transparent_color_);
        }
        break;
    default:
        index = addCell();
        break;
    }
    indexes_[state] = index;
    source_->Dormant();
    return index;
}

TPoint TExButtonGlyph::DrawStateGlyph(TCanvas& canvas, int x, int y, TExGlyphState state) {
    if (source_->Width() == 0 || source_->Height() == 0 || source_->Empty()) return Point(0, 0);
    int index = BuildStateImage(state);
    if (index < 0) return Point(0, 0);
    ImageList_Draw(glyph_list_->Handle(), index, canvas.Handle(), x, y, ILD_NORMAL);
    return Point(glyph_list_->Width(), glyph_list_->Height());
}

std::string TExButtonGlyph::FitCaption(TCanvas& canvas, const std::string& caption, int maxWidth) const {
    std::string text = caption.substr(0, 255);
    if (word_wrap_) return text;
    std::string fitted, line;
    size_t start = 0;
    for (;;) {
        size_t end = text.find_first_of("\r\n", start);
        line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        fitted += ShortenTextToWidth(line, canvas, maxWidth);
        if (end == std::string::npos) break;
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
        fitted += "\r\n";
    }
    while (!fitted.empty() && (fitted.back() == ' ' || fitted.back() == '\r' || fitted.back() == '\n'))
        fitted.pop_back();
    return fitted.substr(0, 255);
}

TExButtonGlyph::TLayout TExButtonGlyph::ComputeLayout(TCanvas& canvas, const TRect& client,
                                                      const std::string& caption, TButtonLayout layout,
                                                      int margin, int spacing, bool dropDownMark,
                                                      UINT textFlags) const {
    TLayout result{};
    const int clientWidth = RectWidth(client), clientHeight = RectHeight(client);
    int glyphWidth = 0, glyphHeight = 0;
    if (!source_->Empty() && source_->Width() > 0) {
        glyphWidth = source_->Width() / glyph_count_;
        glyphHeight = source_->Height();
    }
    const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
    int roomWidth, roomHeight;
    if (horizontal) {
        roomWidth = clientWidth - glyphWidth;
        if (margin != -1) roomWidth -= margin;
        if (spacing != -1) roomWidth -= spacing;
        if (dropDownMark) roomWidth -= 9;
        roomHeight = clientHeight;
    } else {
        roomWidth = clientWidth;
        roomHeight = clientHeight - glyphHeight;
        if (margin != -1) roomHeight -= margin;
        if (spacing != -1) roomHeight -= spacing;
    }
    roomWidth = std::max(roomWidth, 0);
    roomHeight = std::max(roomHeight, 0);
    result.text = FitCaption(canvas, caption, roomWidth);

    TRect textRect = Rect(0, 0, 0, 0);
    if (!result.text.empty()) {
        textRect = Rect(0, 0, roomWidth, 0);
        DrawTextA(canvas.Handle(), result.text.c_str(), static_cast<int>(result.text.size()), &textRect,
                  DT_CALCRECT | DT_CENTER | DT_VCENTER | (word_wrap_ ? DT_WORDBREAK : 0) | textFlags);
        textRect.bottom = textRect.top + std::max(0, std::min(RectHeight(textRect), roomHeight));
        textRect.right = textRect.left + std::max(0, std::min(RectWidth(textRect), roomWidth));
    }
    int textWidth = RectWidth(textRect), textHeight = RectHeight(textRect);
    if (dropDownMark) {
        if (glyphWidth == 0 || glyphHeight == 0 || layout == blGlyphLeft) textWidth += 9;
        else if (glyphWidth > 0) glyphWidth += 6;
    }
    TPoint glyphPos{0, 0}, textPos{0, 0};
    if (horizontal) {
        glyphPos.y = clientHeight / 2 - glyphHeight / 2;
        textPos.y = clientHeight / 2 - textHeight / 2;
    } else {
        glyphPos.x = clientWidth / 2 - glyphWidth / 2;
        textPos.x = clientWidth / 2 - textWidth / 2;
    }
    if (textWidth == 0 || glyphWidth == 0) spacing = 0;
    const int clientAlong = horizontal ? clientWidth : clientHeight;
    const int glyphAlong = horizontal ? glyphWidth : glyphHeight;
    const int textAlong = horizontal ? textWidth : textHeight;
    if (margin == -1) {
        if (spacing == -1) {
            int total = glyphAlong + textAlong;
            margin = (clientAlong - total) / 3;
            spacing = margin;
        } else {
            int total = glyphAlong + spacing + textAlong;
            margin = clientAlong / 2 - total / 2;
        }
    } else if (spacing == -1) {
        int rest = clientAlong - (margin + glyphAlong);
        spacing = rest / 2 - textAlong / 2;
    }
    PlaceAlongLayout(layout, margin, spacing, TPoint{glyphWidth, glyphHeight}, TPoint{textWidth, textHeight},
                     TPoint{clientWidth, clientHeight}, glyphPos, textPos);
    result.glyph = Point(glyphPos.x + client.left, glyphPos.y + client.top);
    OffsetRect(&textRect, textPos.x + client.left, textPos.y + client.top);
    result.caption = textRect;
    return result;
}

void TExButtonGlyph::DrawCaption(TCanvas& canvas, const std::string& caption, const TRect& rect,
                                 TExGlyphState state, UINT textFlags) const {
    canvas.Brush().SetStyle(bsClear);
    const std::string text = caption.substr(0, 255);
    const UINT flags = textFlags | DT_VCENTER | (word_wrap_ ? DT_WORDBREAK : 0);
    HDC dc = canvas.Handle();
    auto draw = [&](TRect r) { DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, flags); };
    if (state == rgsDisabled) {
        TRect moved = rect;
        OffsetRect(&moved, 1, 1);
        SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(clBtnHighlight)));
        draw(moved);
        SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(clBtnShadow)));
        draw(rect);
    } else {
        SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(canvas.Font().Color())));
        draw(rect);
    }
}

void TExButtonGlyph::DrawDropDownMark(TCanvas& canvas, int x, int y, TExGlyphState state) {
    auto mark = [&canvas](int left, int top, TColor color) {
        static const int rows[4][2] = {{0, 6}, {1, 5}, {2, 4}, {3, 3}};
        for (int row = 0; row < 4; ++row)
            for (int column = rows[row][0]; column <= rows[row][1]; ++column)
                canvas.SetPixel(left + column, top - 1 + row, color);
    };
    if (state == rgsDisabled) {
        mark(x + 1, y + 1, clBtnHighlight);
        mark(x, y, clBtnShadow);
    } else {
        mark(x, y, clBtnText);
    }
}

TRect TExButtonGlyph::DrawFace(TCanvas& canvas, const TRect& client, const std::string& caption,
                               TButtonLayout layout, int margin, int spacing, bool dropDownMark,
                               TExGlyphState state, UINT textFlags) {
    TLayout placed = ComputeLayout(canvas, client, caption, layout, margin, spacing, dropDownMark, textFlags);
    TPoint drawn = DrawStateGlyph(canvas, placed.glyph.x, placed.glyph.y, state);
    DrawCaption(canvas, placed.text, placed.caption, state, textFlags);
    if (dropDownMark) {
        int x, y;
        if (layout != blGlyphLeft && source_->Width() > 0 && !source_->Empty()) {
            x = placed.glyph.x + drawn.x + 1;
            y = placed.glyph.y + drawn.y / 2;
        } else {
            x = !placed.text.empty() ? placed.caption.right + 3 : (client.left + client.right - 7) / 2;
            y = placed.caption.top + RectHeight(placed.caption) / 2;
        }
        DrawDropDownMark(canvas, x, y, state);
    }
    return placed.caption;
}
