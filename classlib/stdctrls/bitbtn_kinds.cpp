// Captions, modal results and glyphs of the bitmap button kinds.
#include <vector>

#include "classlib/stdctrls/bitbtn.h"

namespace {

constexpr int kCell = 18;            // one image of a kind glyph
constexpr TColor kBackground = clOlive;  // the glyphs' transparent colour

struct TKindInfo {
    const char* Caption;
    TModalResult Result;
};

const TKindInfo kKinds[] = {
    {"", mrNone},          {"OK", mrOk},       {"Cancel", mrCancel}, {"&Help", mrNone},
    {"&Yes", mrYes},       {"&No", mrNo},      {"&Close", mrNone},   {"Abort", mrAbort},
    {"&Retry", mrRetry},   {"&Ignore", mrIgnore}, {"&All", mrAll},
};

void Lines(TCanvas& c, TColor color, int width, std::initializer_list<TPoint> points) {
    c.Pen().SetColor(color);
    c.Pen().SetWidth(width);
    std::vector<TPoint> p(points);
    c.Polyline(p.data(), static_cast<int>(p.size()));
}

void Check(TCanvas& c, int dx, int dy) {
    Lines(c, clGreen, 3, {Point(3 + dx, 9 + dy), Point(7 + dx, 13 + dy), Point(14 + dx, 4 + dy)});
}

void Cross(TCanvas& c, TColor color, int width, int from, int to) {
    Lines(c, color, width, {Point(from, from), Point(to, to)});
    Lines(c, color, width, {Point(to, from), Point(from, to)});
}

// The up image of a kind, drawn in the cell at the left.
void PaintKind(TBitBtnKind kind, TCanvas& c) {
    c.Brush().SetStyle(bsSolid);
    switch (kind) {
    case bkOK:
    case bkYes: Check(c, 0, 0); break;
    case bkAll:
        Check(c, -2, 0);
        Check(c, 3, 2);
        break;
    case bkCancel: Cross(c, clRed, 3, 4, 13); break;
    case bkNo:
        c.Brush().SetStyle(bsClear);
        c.Pen().SetColor(clRed);
        c.Pen().SetWidth(2);
        c.Ellipse(3, 3, 15, 15);
        Lines(c, clRed, 2, {Point(5, 12), Point(12, 5)});
        break;
    case bkAbort:
        c.Pen().SetColor(clMaroon);
        c.Pen().SetWidth(1);
        c.Brush().SetColor(clRed);
        c.Ellipse(1, 1, 17, 17);
        Cross(c, clWhite, 2, 6, 11);
        break;
    case bkHelp:
        Lines(c, clNavy, 2, {Point(5, 6), Point(6, 3), Point(9, 2), Point(12, 3), Point(13, 6), Point(12, 8),
                             Point(9, 10), Point(9, 12)});
        c.Pen().SetWidth(1);
        c.Pen().SetColor(clNavy);
        c.Brush().SetColor(clNavy);
        c.Rectangle(8, 14, 11, 17);
        break;
    case bkClose:
        // A door standing open.
        c.Pen().SetColor(clBlack);
        c.Pen().SetWidth(1);
        c.Brush().SetColor(clTeal);
        c.Rectangle(3, 1, 12, 17);
        c.Brush().SetColor(clMaroon);
        {
            TPoint door[] = {Point(3, 1), Point(8, 3), Point(8, 17), Point(3, 16)};
            c.Polygon(door, 4);
        }
        c.SetPixel(7, 9, clYellow);
        break;
    case bkRetry:
        c.Brush().SetStyle(bsClear);
        c.Pen().SetColor(clGreen);
        c.Pen().SetWidth(2);
        ::Arc(c.Handle(), 3, 3, 15, 15, 15, 9, 9, 3);
        c.Brush().SetStyle(bsSolid);
        c.Brush().SetColor(clGreen);
        c.Pen().SetWidth(1);
        {
            TPoint head[] = {Point(10, 0), Point(10, 6), Point(6, 3)};
            c.Polygon(head, 3);
        }
        break;
    case bkIgnore:
        c.Pen().SetWidth(1);
        c.Pen().SetColor(clGray);
        c.Brush().SetColor(clSilver);
        c.Rectangle(8, 9, 11, 17);
        Lines(c, clBlue, 2, {Point(2, 14), Point(4, 7), Point(9, 4), Point(14, 7), Point(15, 13)});
        Lines(c, clBlue, 2, {Point(12, 12), Point(15, 14), Point(16, 10)});
        break;
    case bkCustom: break;
    }
}

}  // namespace

std::string BitBtnKindCaption(TBitBtnKind kind) {
    return kKinds[kind].Caption;
}

TModalResult BitBtnKindResult(TBitBtnKind kind) {
    return kKinds[kind].Result;
}

void PaintBitBtnKindGlyph(TBitBtnKind kind, TBitmap& glyph) {
    if (kind == bkCustom) {
        glyph.SetSize(0, 0);
        return;
    }
    glyph.SetPixelFormat(pf24bit);
    glyph.SetSize(2 * kCell, kCell);
    TCanvas& c = *glyph.Canvas();
    c.Brush().SetStyle(bsSolid);
    c.Brush().SetColor(kBackground);
    c.FillRect(Rect(0, 0, 2 * kCell, kCell));
    PaintKind(kind, c);
    // The disabled image: the shape embossed in the right cell.
    std::vector<uint32_t> pixels = glyph.Pixels32();
    auto ink = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= kCell || y >= kCell) return false;
        uint32_t p = pixels[static_cast<size_t>(y) * 2 * kCell + static_cast<size_t>(x)];
        uint32_t bgr = static_cast<uint32_t>(kBackground);
        return p != (((bgr & 0xFF) << 16) | (bgr & 0xFF00) | (bgr >> 16));
    };
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x) {
            if (ink(x, y)) c.SetPixel(kCell + x, y, clBtnShadow);
            else if (ink(x - 1, y - 1)) c.SetPixel(kCell + x, y, clBtnHighlight);
        }
}
