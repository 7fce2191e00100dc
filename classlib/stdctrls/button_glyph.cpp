#include "classlib/stdctrls/button_glyph.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "classlib/gui/scoped_win32.h"

DEFINE_ENUM_TYPE(TButtonLayout, "blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom")

namespace {

// 0x00RRGGBB as the glyph's pixels hold colours.
uint32_t PixelOf(TColor color) {
    uint32_t bgr = static_cast<uint32_t>(ColorToRGB(color)) & 0xFFFFFF;
    return ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | (bgr >> 16);
}

// Pixels light enough to be left out of an embossed (disabled) picture:
// glyphs use white for highlights, which would otherwise turn into blots.
bool IsLight(uint32_t pixel) {
    return ((pixel >> 16) & 0xFF) >= 0xC0 && ((pixel >> 8) & 0xFF) >= 0xC0 && (pixel & 0xFF) >= 0xC0;
}

TGdiObject MakeColorBitmap(int width, int height, const std::vector<uint32_t>& pixels) {
    uint32_t* bits = nullptr;
    TGdiObject bitmap = MakeDibSection32(nullptr, width, height, bits);
    if (!bits) throw EOutOfMemory("Could not create the button glyph");
    std::copy(pixels.begin(), pixels.end(), bits);
    GdiFlush();
    return bitmap;
}

TGdiObject MakeMask(int width, int height, const std::vector<bool>& transparent) {
    // Monochrome rows are padded to 16 bits; a set bit is white.
    size_t stride = static_cast<size_t>((width + 15) / 16 * 2);
    std::vector<uint8_t> bits(stride * static_cast<size_t>(height), 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (transparent[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)])
                bits[static_cast<size_t>(y) * stride + static_cast<size_t>(x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
    TGdiObject mask(CreateBitmap(width, height, 1, 1, bits.data()));
    if (!mask.Get()) throw EOutOfMemory("Could not create the button glyph");
    return mask;
}

}  // namespace

TButtonGlyph::TButtonGlyph() : glyph_(MakeOwned<TBitmap>()) {
    glyph_->OnChange = [this](TObject*) { Changed(); };
}

TButtonGlyph::~TButtonGlyph() = default;

void TButtonGlyph::SetGlyph(const TBitmap* value) {
    if (value) {
        glyph_->Assign(value);
    } else {
        glyph_->SetSize(0, 0);
    }
    Changed();
}

void TButtonGlyph::SetNumGlyphs(int32_t value) {
    value = std::clamp(value, 1, 4);
    if (num_glyphs_ == value) return;
    num_glyphs_ = value;
    Changed();
}

void TButtonGlyph::Changed() {
    Invalidate();
    if (OnChange) OnChange();
}

void TButtonGlyph::Invalidate() {
    for (TImage& image : images_) image = TImage{};
}

SIZE TButtonGlyph::GlyphSize() const {
    if (glyph_->Empty() || glyph_->Width() < num_glyphs_) return SIZE{0, 0};
    return SIZE{glyph_->Width() / num_glyphs_, glyph_->Height()};
}

const TButtonGlyph::TImage* TButtonGlyph::Image(TButtonState state) {
    SIZE size = GlyphSize();
    if (size.cx == 0 || size.cy == 0) return nullptr;
    TImage& image = images_[state];
    if (!image.color.Get()) BuildImage(state, image);
    return &image;
}

void TButtonGlyph::BuildImage(TButtonState state, TImage& image) {
    SIZE size = GlyphSize();
    int w = size.cx, h = size.cy;
    std::vector<uint32_t> all = glyph_->Pixels32();
    uint32_t transparent = PixelOf(glyph_->TransparentColor());
    auto source = [&](int index, int x, int y) {
        return all[static_cast<size_t>(y) * static_cast<size_t>(glyph_->Width()) + static_cast<size_t>(index * w + x)];
    };
    // The image of this state, or the one it falls back to.
    int index = state;
    if (index >= num_glyphs_) {
        if (state == bsExclusive && num_glyphs_ > bsDown) index = bsDown;
        else index = bsUp;
    }
    std::vector<uint32_t> pixels(static_cast<size_t>(w) * static_cast<size_t>(h), 0);
    std::vector<bool> clear(pixels.size(), true);
    if (state == bsDisabled && num_glyphs_ <= bsDisabled) {
        // Embossed: the shape in shadow over a highlight copy one pixel
        // down and right.
        auto ink = [&](int x, int y) {
            if (x < 0 || y < 0 || x >= w || y >= h) return false;
            uint32_t p = source(0, x, y);
            return p != transparent && !IsLight(p);
        };
        uint32_t light = PixelOf(clBtnHighlight), shadow = PixelOf(clBtnShadow);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                size_t i = static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x);
                if (ink(x, y)) pixels[i] = shadow;
                else if (ink(x - 1, y - 1)) pixels[i] = light;
                else continue;
                clear[i] = false;
            }
    } else {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                size_t i = static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x);
                pixels[i] = source(index, x, y);
                clear[i] = pixels[i] == transparent;
            }
    }
    for (size_t i = 0; i < pixels.size(); ++i)
        if (clear[i]) pixels[i] = 0;  // black: the XOR steps below keep the background there
    TGdiObject color = MakeColorBitmap(w, h, pixels);
    image.mask = MakeMask(w, h, clear);
    image.color = std::move(color);
}

void TButtonGlyph::DrawImage(HDC dc, const TImage& image, int x, int y) const {
    SIZE size = GlyphSize();
    TMemoryDC memory(dc);
    if (!memory.Get()) return;
    COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
    // Background kept where the mask is white, the picture where it is black.
    {
        TSelectedObject mask(memory, image.mask.Get());
        BitBlt(dc, x, y, size.cx, size.cy, memory, 0, 0, SRCAND);
    }
    {
        TSelectedObject color(memory, image.color.Get());
        BitBlt(dc, x, y, size.cx, size.cy, memory, 0, 0, SRCPAINT);
    }
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);
}

void TButtonGlyph::DrawCaption(TCanvas& canvas, const std::string& caption, TRect bounds, TButtonState state) {
    canvas.Brush().SetStyle(bsClear);
    int length = static_cast<int>(caption.size());
    // Not clipped to the measured box: the last glyph's ink may reach past it.
    const UINT flags = DT_CENTER | DT_VCENTER | DT_NOCLIP;
    if (state == bsDisabled) {
        TColor color = canvas.Font().Color();
        OffsetRect(&bounds, 1, 1);
        canvas.Font().SetColor(clBtnHighlight);
        DrawTextA(canvas.Handle(), caption.c_str(), length, &bounds, flags);
        OffsetRect(&bounds, -1, -1);
        canvas.Font().SetColor(clBtnShadow);
        DrawTextA(canvas.Handle(), caption.c_str(), length, &bounds, flags);
        canvas.Font().SetColor(color);
    } else {
        DrawTextA(canvas.Handle(), caption.c_str(), length, &bounds, flags);
    }
}

TRect TButtonGlyph::Draw(TCanvas& canvas, const TRect& client, TPoint offset, const std::string& caption,
                         TButtonLayout layout, int margin, int spacing, TButtonState state) {
    POINT clientSize{RectWidth(client), RectHeight(client)};
    SIZE glyph = GlyphSize();
    TRect text = Rect(0, 0, 0, 0);
    SIZE textSize{0, 0};
    if (!caption.empty()) {
        text = Rect(0, 0, clientSize.x, 0);
        DrawTextA(canvas.Handle(), caption.c_str(), static_cast<int>(caption.size()), &text, DT_CALCRECT);
        textSize = SIZE{RectWidth(text), RectHeight(text)};
    }
    bool sideways = layout == blGlyphLeft || layout == blGlyphRight;
    TPoint glyphPos{0, 0}, textPos{0, 0};
    // Centred across the layout direction.
    if (sideways) {
        glyphPos.y = (clientSize.y - glyph.cy + 1) / 2;
        textPos.y = (clientSize.y - textSize.cy + 1) / 2;
    } else {
        glyphPos.x = (clientSize.x - glyph.cx + 1) / 2;
        textPos.x = (clientSize.x - textSize.cx + 1) / 2;
    }
    // Without text or glyph there is nothing to space.
    if (textSize.cx == 0 || glyph.cx == 0) spacing = 0;
    int room = sideways ? clientSize.x : clientSize.y;
    int glyphExtent = sideways ? glyph.cx : glyph.cy;
    int textExtent = sideways ? textSize.cx : textSize.cy;
    if (margin == -1) {
        if (spacing == -1) {
            margin = (room - glyphExtent - textExtent) / 3;
            spacing = margin;
        } else {
            margin = (room - (glyphExtent + spacing + textExtent) + 1) / 2;
        }
    } else if (spacing == -1) {
        spacing = (room - (margin + glyphExtent) - textExtent) / 2;
    }
    PlaceAlongLayout(layout, margin, spacing, TPoint{glyph.cx, glyph.cy}, TPoint{textSize.cx, textSize.cy}, clientSize,
                     glyphPos, textPos);
    glyphPos.x += client.left + offset.x;
    glyphPos.y += client.top + offset.y;
    OffsetRect(&text, textPos.x + client.left + offset.x, textPos.y + client.top + offset.y);

    if (const TImage* image = Image(state)) DrawImage(canvas.Handle(), *image, glyphPos.x, glyphPos.y);
    if (!caption.empty()) DrawCaption(canvas, caption, text, state);
    return text;
}

void PlaceAlongLayout(TButtonLayout layout, int margin, int spacing, TPoint glyphSize, TPoint textSize,
                      TPoint clientSize, TPoint& glyphPos, TPoint& textPos) {
    switch (layout) {
    case blGlyphLeft:
        glyphPos.x = margin;
        textPos.x = glyphPos.x + glyphSize.x + spacing;
        break;
    case blGlyphRight:
        glyphPos.x = clientSize.x - margin - glyphSize.x;
        textPos.x = glyphPos.x - spacing - textSize.x;
        break;
    case blGlyphTop:
        glyphPos.y = margin;
        textPos.y = glyphPos.y + glyphSize.y + spacing;
        break;
    case blGlyphBottom:
        glyphPos.y = clientSize.y - margin - glyphSize.y;
        textPos.y = glyphPos.y - spacing - textSize.y;
        break;
    }
}
