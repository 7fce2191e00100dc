#include "controls/drawing_utils.h"

#include <commctrl.h>

#include <memory>

#include "classlib/comctrls/imglist.h"
#include "classlib/core/scope_exit.h"
#include "classlib/graphics/bitmap.h"
#include "classlib/gui/canvas.h"
#include "classlib/gui/scoped_win32.h"
#include "classlib/gui/wincontrol.h"

COLORREF PaletteRelativeColor(TColor color) {
    return static_cast<COLORREF>(ColorToRGB(color)) | 0x02000000;
}

namespace {

// Reaches the protected painting of a window's own face.
struct TWindowPainter : TWinControl {
    using TWinControl::PaintWindow;
};

void SetPaintCopy(TControl* control, bool on) {
    TControlState state = control->ControlState();
    control->SetControlState(on ? state + csPaintCopy : state - csPaintCopy);
}

// A monochrome copy of a device context's pixels: white where they have
// the colour `white`, black elsewhere.
TGdiObject MonochromeCopy(HDC source, int width, int height, COLORREF white) {
    TGdiObject mono(CreateBitmap(width, height, 1, 1, nullptr));
    TMemoryDC dc(source);
    TSelectedObject selected(dc.Get(), mono.Get());
    COLORREF oldBack = SetBkColor(source, white);
    BitBlt(dc.Get(), 0, 0, width, height, source, 0, 0, SRCCOPY);
    SetBkColor(source, oldBack);
    return mono;
}

// Paints `brush` where the monochrome mask is white, offset by (x, y).
void PaintThroughMask(HDC destination, int x, int y, int width, int height, HBITMAP mask, TColor brush,
                      COLORREF maskWhiteAs, COLORREF maskBlackAs) {
    TMemoryDC dc(destination);
    TSelectedObject selectedMask(dc.Get(), mask);
    TGdiObject solid(CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(brush))));
    TSelectedObject selectedBrush(destination, solid.Get());
    COLORREF oldText = SetTextColor(destination, maskBlackAs);
    COLORREF oldBack = SetBkColor(destination, maskWhiteAs);
    BitBlt(destination, x, y, width, height, dc.Get(), 0, 0, ROP_DisabledPaint);
    SetTextColor(destination, oldText);
    SetBkColor(destination, oldBack);
}

}  // namespace

void DrawParentBackground(TControl* control, TCanvas& canvas) {
    if (!control || !control->Parent()) return;
    TWinControl* parent = control->Parent();
    SetPaintCopy(parent, true);
    TScopeExit unmark([parent] { SetPaintCopy(parent, false); });
    HDC dc = canvas.Handle();
    const TRect bounds = control->BoundsRect();
    const int shiftX = -control->Left(), shiftY = -control->Top();
    {
        TSavedDC saved(dc);
        SetViewportOrgEx(dc, shiftX, shiftY, nullptr);
        IntersectClipRect(dc, 0, 0, parent->ClientWidth(), parent->ClientHeight());
        parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        (parent->*(&TWindowPainter::PaintWindow))(dc);
    }
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* sibling = parent->Controls(i);
        if (sibling == control) break;
        if (dynamic_cast<TWinControl*>(sibling) || !sibling->Visible()) continue;
        TRect siblingBounds = sibling->BoundsRect(), overlap;
        if (!IntersectRect(&overlap, &siblingBounds, &bounds)) continue;
        SetPaintCopy(sibling, true);
        TScopeExit unmarkSibling([sibling] { SetPaintCopy(sibling, false); });
        TSavedDC saved(dc);
        SetViewportOrgEx(dc, sibling->Left() + shiftX, sibling->Top() + shiftY, nullptr);
        IntersectClipRect(dc, 0, 0, sibling->Width(), sibling->Height());
        sibling->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    }
}

void BlitStretchedTransparent(HDC destination, int x, int y, int width, int height, HDC source, int sourceX,
                              int sourceY, int sourceWidth, int sourceHeight, HPALETTE palette,
                              COLORREF transparent) {
    TMemoryDC backDC(destination), objectDC(destination), memoryDC(destination), saveDC(destination);
    TGdiObject backBitmap(CreateBitmap(sourceWidth, sourceHeight, 1, 1, nullptr));
    TGdiObject objectBitmap(CreateBitmap(sourceWidth, sourceHeight, 1, 1, nullptr));
    TGdiObject memoryBitmap(CreateCompatibleBitmap(destination, width, height));
    TGdiObject saveBitmap(CreateCompatibleBitmap(destination, sourceWidth, sourceHeight));
    TSelectedObject back(backDC.Get(), backBitmap.Get()), object(objectDC.Get(), objectBitmap.Get());
    TSelectedObject memory(memoryDC.Get(), memoryBitmap.Get()), save(saveDC.Get(), saveBitmap.Get());

    TSelectedPalette destinationPalette(destination, palette, true);
    TSelectedPalette savePalette(saveDC.Get(), palette, false);
    TSelectedPalette objectPalette(objectDC.Get(), palette, false);
    TSelectedPalette memoryPalette(memoryDC.Get(), palette, true);
    if (palette) {
        RealizePalette(destination);
        RealizePalette(saveDC.Get());
        RealizePalette(objectDC.Get());
        RealizePalette(memoryDC.Get());
    }
    const int mapMode = GetMapMode(destination);
    SetMapMode(source, mapMode);
    SetMapMode(saveDC.Get(), mapMode);

    BitBlt(saveDC.Get(), 0, 0, sourceWidth, sourceHeight, source, sourceX, sourceY, SRCCOPY);
    COLORREF oldBack = SetBkColor(saveDC.Get(), transparent);
    BitBlt(objectDC.Get(), 0, 0, sourceWidth, sourceHeight, saveDC.Get(), 0, 0, SRCCOPY);
    SetBkColor(saveDC.Get(), oldBack);
    BitBlt(backDC.Get(), 0, 0, sourceWidth, sourceHeight, objectDC.Get(), 0, 0, NOTSRCCOPY);

    BitBlt(memoryDC.Get(), 0, 0, width, height, destination, x, y, SRCCOPY);
    StretchBlt(memoryDC.Get(), 0, 0, width, height, objectDC.Get(), 0, 0, sourceWidth, sourceHeight, SRCAND);
    BitBlt(saveDC.Get(), 0, 0, sourceWidth, sourceHeight, backDC.Get(), 0, 0, SRCAND);
    StretchBlt(memoryDC.Get(), 0, 0, width, height, saveDC.Get(), 0, 0, sourceWidth, sourceHeight, SRCPAINT);
    BitBlt(destination, x, y, width, height, memoryDC.Get(), 0, 0, SRCCOPY);
}

void DrawBitmapTransparent(TCanvas& canvas, TBitmap& bitmap, TColor transparent, int x, int y, int width,
                           int height, int sourceX, int sourceY, int sourceWidth, int sourceHeight) {
    if (width < 1) width = bitmap.Width();
    if (height < 1) height = bitmap.Height();
    if (sourceWidth < 1 || sourceHeight < 1) {
        sourceX = sourceY = 0;
        sourceWidth = bitmap.Width();
        sourceHeight = bitmap.Height();
    }
    const bool monochrome = bitmap.Monochrome();
    if (!monochrome) SetStretchBltMode(canvas.Handle(), COLORONCOLOR);
    // Drawing from the bitmap's canvas is no change of the bitmap.
    TNotifyEvent onChange = bitmap.OnChange;
    bitmap.OnChange = nullptr;
    TScopeExit restore([&bitmap, &onChange] { bitmap.OnChange = onChange; });
    HDC source = bitmap.Canvas()->Handle();
    if (transparent == clNone) {
        StretchBlt(canvas.Handle(), x, y, width, height, source, sourceX, sourceY, sourceWidth, sourceHeight,
                   static_cast<DWORD>(canvas.CopyMode()));
        return;
    }
    if (transparent == clDefault) transparent = bitmap.Canvas()->Pixel(0, bitmap.Height() - 1);
    // A two-colour DIB shows its own palette's colours; only a monochrome
    // device bitmap is black and white, where the colour picks one of them.
    COLORREF colour = static_cast<COLORREF>(ColorToRGB(transparent));
    if (monochrome && bitmap.HandleType() == bmDDB) colour = (colour & 0xFFFFFF) == 0 ? RGB(0, 0, 0) : RGB(255, 255, 255);
    BlitStretchedTransparent(canvas.Handle(), x, y, width, height, source, sourceX, sourceY, sourceWidth,
                             sourceHeight, bitmap.Palette(), colour);
}

void DrawBitmapRectTransparent(TCanvas& canvas, int x, int y, int width, int height, const TRect& source,
                               TBitmap& bitmap, TColor transparent) {
    DrawBitmapTransparent(canvas, bitmap, transparent, x, y, width, height, source.left, source.top,
                          RectWidth(source), RectHeight(source));
}

TBitmap* CreateDisabledImage(TBitmap& bitmap, TColor outline, TColor back, TColor highlight, TColor shadow,
                             bool drawHighlight) {
    const int width = bitmap.Width(), height = bitmap.Height();
    TOwned<TBitmap> result(New<TBitmap>());
    result->SetSize(width, height);
    if (width <= 0 || height <= 0) return result.release();
    COLORREF white = bitmap.Monochrome() ? RGB(255, 255, 255) : static_cast<COLORREF>(ColorToRGB(outline));
    TGdiObject mono = MonochromeCopy(bitmap.Canvas()->Handle(), width, height, white);
    TCanvas& canvas = *result->Canvas();
    canvas.Brush().SetColor(back);
    canvas.FillRect(Rect(0, 0, width, height));
    HDC dc = canvas.Handle();
    HBITMAP mask = static_cast<HBITMAP>(mono.Get());
    if (drawHighlight) PaintThroughMask(dc, 1, 1, width, height, mask, highlight, RGB(255, 255, 255), RGB(0, 0, 0));
    PaintThroughMask(dc, 0, 0, width, height, mask, shadow, RGB(255, 255, 255), RGB(0, 0, 0));
    return result.release();
}

TBitmap* MakeDisabledBitmap(TBitmap& bitmap, TColor outline) {
    return CreateDisabledImage(bitmap, outline, clBtnFace, clBtnHighlight, clBtnShadow, true);
}

void DrawImageListItem(TCustomImageList& images, TCanvas& canvas, int x, int y, int index, TColor highlight,
                       TColor shadow, bool drawHighlight) {
    const TColor oldBrush = canvas.Brush().Color();
    TScopeExit restore([&canvas, oldBrush] { canvas.Brush().SetColor(oldBrush); });
    const int width = images.Width(), height = images.Height();
    TOwned<TBitmap> maskPicture(New<TBitmap>());
    maskPicture->SetSize(width, height);
    HDC maskDC = maskPicture->Canvas()->Handle();
    maskPicture->Canvas()->Brush().SetColor(clWhite);
    maskPicture->Canvas()->FillRect(Rect(0, 0, width, height));
    ImageList_Draw(images.Handle(), index, maskDC, 0, 0, ILD_MASK);
    // Opaque parts of the image are black in the mask: they take the brush.
    TGdiObject mono = MonochromeCopy(maskDC, width, height, RGB(0, 0, 0));
    HBITMAP mask = static_cast<HBITMAP>(mono.Get());
    HDC dc = canvas.Handle();
    if (drawHighlight) PaintThroughMask(dc, x + 1, y + 1, width, height, mask, highlight, RGB(255, 255, 255), RGB(0, 0, 0));
    PaintThroughMask(dc, x, y, width, height, mask, shadow, RGB(255, 255, 255), RGB(0, 0, 0));
}
