// Drawing surfaces. Reading Handle gives a device context with the current
// font, pen and brush selected and the text colours set, so code may call
// GDI on it directly; a solid brush means an opaque text background.
#pragma once
#include <memory>
#include <optional>
#include <string>

#include "classlib/core/font.h"
#include "classlib/gui/geometry.h"
#include "classlib/gui/graphics_objects.h"
#include "classlib/core/persistent.h"

class TGraphic;
class TControl;

class TCanvas : public TPersistent {
    DECLARE_CLASS(TCanvas, TPersistent)
public:
    TCanvas();
    ~TCanvas() override;

    HDC Handle();
    // Uses an existing device context (not owned); nullptr detaches.
    void SetHandle(HDC dc);
    bool HandleAllocated() const { return dc_ != nullptr; }

    TFont& Font() { return *font_; }
    TPen& Pen() { return *pen_; }
    TBrush& Brush() { return *brush_; }
    void SetFont(const TFont& font) { font_->Assign(&font); }
    int32_t CopyMode() const { return copy_mode_; }
    void SetCopyMode(int32_t rop) { copy_mode_ = rop; }
    TPoint PenPos();
    void SetPenPos(TPoint p) { MoveTo(p.x, p.y); }

    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const TRect& r) { Rectangle(r.left, r.top, r.right, r.bottom); }
    void RoundRect(int x1, int y1, int x2, int y2, int x3, int y3);
    void Ellipse(int x1, int y1, int x2, int y2);
    void Polygon(const TPoint* points, int count);
    void Polyline(const TPoint* points, int count);
    void FillRect(const TRect& r);
    void FrameRect(const TRect& r);
    void DrawFocusRect(const TRect& r);
    void TextOut(int x, int y, const std::string& text);
    void TextRect(const TRect& r, int x, int y, const std::string& text);
    SIZE TextExtent(const std::string& text);
    int TextWidth(const std::string& text) { return TextExtent(text).cx; }
    int TextHeight(const std::string& text) { return TextExtent(text).cy; }
    TColor Pixel(int x, int y);
    void SetPixel(int x, int y, TColor color);
    void Draw(int x, int y, TGraphic* graphic);
    void StretchDraw(const TRect& r, TGraphic* graphic);
    void CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect);

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    // Called when Handle is read without a device context; descendants
    // acquire one (SetHandle) here.
    virtual void CreateHandle() {}
    void Changing();
    void Changed();

private:
    friend class TCanvasOnDC;  // reads the device context it gives back
    void Realize();
    void DeselectObjects();

    HDC dc_ = nullptr;
    TOwned<TFont> font_;
    TOwned<TPen> pen_;
    TOwned<TBrush> brush_;
    HGDIOBJ old_font_ = nullptr, old_pen_ = nullptr, old_brush_ = nullptr;
    int32_t copy_mode_ = SRCCOPY;
};

// The canvas of a control: a windowed control's client area, or for a
// windowless control its rectangle on the parent, offset so that (0, 0) is
// the control's corner and clipped to it.
class TControlCanvas : public TCanvas {
public:
    explicit TControlCanvas(TControl* control) : control_(control) {}
    ~TControlCanvas() override;
    TControl* Control() const { return control_; }
    // Releases the device context (after painting, or when the window goes).
    void FreeHandle();

protected:
    void CreateHandle() override;

private:
    TControl* control_;
    std::optional<TWindowDC> owned_dc_;
};
