#include "classlib/gui/canvas.h"

#include <vector>

#include "classlib/core/class_builder.h"
#include "classlib/gui/control.h"
#include "classlib/gui/graphic.h"
#include "classlib/gui/wincontrol.h"

const TClassInfo& TCanvas::StaticClass() {
    static const TClassInfo info = DefineClass<TCanvas>("TCanvas", &TPersistent::StaticClass(), [](auto&) {});
    return info;
}

TCanvas::TCanvas() : font_(MakeOwned<TFont>()), pen_(MakeOwned<TPen>()), brush_(MakeOwned<TBrush>()) {
    // Realised again on the next Handle read.
    auto changed = [this](TObject*) { DeselectObjects(); };
    font_->OnChange = changed;
    pen_->OnChange = changed;
    brush_->OnChange = changed;
}

TCanvas::~TCanvas() {
    SetHandle(nullptr);
}

void TCanvas::SetHandle(HDC dc) {
    if (dc_ == dc) return;
    DeselectObjects();
    dc_ = dc;
}

void TCanvas::DeselectObjects() {
    if (!dc_) return;
    if (old_font_) SelectObject(dc_, old_font_);
    if (old_pen_) SelectObject(dc_, old_pen_);
    if (old_brush_) SelectObject(dc_, old_brush_);
    old_font_ = old_pen_ = old_brush_ = nullptr;
}

void TCanvas::Realize() {
    HGDIOBJ f = SelectObject(dc_, FontHandle(*font_));
    if (!old_font_) old_font_ = f;
    SetTextColor(dc_, static_cast<COLORREF>(ColorToRGB(font_->Color())));
    HGDIOBJ p = SelectObject(dc_, pen_->Handle());
    if (!old_pen_) old_pen_ = p;
    static const int rop2[] = {R2_BLACK, R2_WHITE, R2_NOP, R2_NOT, R2_COPYPEN, R2_NOTCOPYPEN, R2_MERGEPENNOT,
                               R2_MASKPENNOT, R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN, R2_NOTMERGEPEN,
                               R2_MASKPEN, R2_NOTMASKPEN, R2_XORPEN, R2_NOTXORPEN};
    SetROP2(dc_, rop2[pen_->Mode()]);
    HGDIOBJ b = SelectObject(dc_, brush_->Handle());
    if (!old_brush_) old_brush_ = b;
    SetBkColor(dc_, static_cast<COLORREF>(ColorToRGB(brush_->Color())));
    SetBkMode(dc_, brush_->Style() == bsSolid ? OPAQUE : TRANSPARENT);
}

HDC TCanvas::Handle() {
    if (!dc_) CreateHandle();
    if (dc_) Realize();
    return dc_;
}

void TCanvas::Changing() {
    if (OnChanging) OnChanging(this);
}

void TCanvas::Changed() {
    if (OnChange) OnChange(this);
}

TPoint TCanvas::PenPos() {
    POINT p{};
    GetCurrentPositionEx(Handle(), &p);
    return p;
}

void TCanvas::MoveTo(int x, int y) {
    MoveToEx(Handle(), x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
    Changing();
    ::LineTo(Handle(), x, y);
    Changed();
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    Changing();
    ::Rectangle(Handle(), x1, y1, x2, y2);
    Changed();
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3) {
    Changing();
    ::RoundRect(Handle(), x1, y1, x2, y2, x3, y3);
    Changed();
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
    Changing();
    ::Ellipse(Handle(), x1, y1, x2, y2);
    Changed();
}

void TCanvas::Polygon(const TPoint* points, int count) {
    Changing();
    ::Polygon(Handle(), points, count);
    Changed();
}

void TCanvas::Polyline(const TPoint* points, int count) {
    Changing();
    ::Polyline(Handle(), points, count);
    Changed();
}

void TCanvas::FillRect(const TRect& r) {
    Changing();
    ::FillRect(Handle(), &r, brush_->Handle());
    Changed();
}

void TCanvas::FrameRect(const TRect& r) {
    Changing();
    ::FrameRect(Handle(), &r, brush_->Handle());
    Changed();
}

void TCanvas::DrawFocusRect(const TRect& r) {
    Changing();
    ::DrawFocusRect(Handle(), &r);
    Changed();
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
    Changing();
    ExtTextOutA(Handle(), x, y, 0, nullptr, text.data(), static_cast<UINT>(text.size()), nullptr);
    MoveToEx(dc_, x + TextWidth(text), y, nullptr);
    Changed();
}

void TCanvas::TextRect(const TRect& r, int x, int y, const std::string& text) {
    Changing();
    UINT options = ETO_CLIPPED | (brush_->Style() != bsClear ? ETO_OPAQUE : 0);
    ExtTextOutA(Handle(), x, y, options, &r, text.data(), static_cast<UINT>(text.size()), nullptr);
    Changed();
}

SIZE TCanvas::TextExtent(const std::string& text) {
    SIZE s{};
    GetTextExtentPoint32A(Handle(), text.data(), static_cast<int>(text.size()), &s);
    if (text.empty()) {
        TEXTMETRICA tm{};
        GetTextMetricsA(dc_, &tm);
        s.cy = tm.tmHeight;
    }
    return s;
}

TColor TCanvas::Pixel(int x, int y) {
    return static_cast<TColor>(::GetPixel(Handle(), x, y));
}

void TCanvas::SetPixel(int x, int y, TColor color) {
    Changing();
    ::SetPixel(Handle(), x, y, static_cast<COLORREF>(ColorToRGB(color)));
    Changed();
}

void TCanvas::Draw(int x, int y, TGraphic* graphic) {
    if (!graphic || graphic->Empty()) return;
    Changing();
    graphic->Draw(this, Bounds(x, y, graphic->Width(), graphic->Height()));
    Changed();
}

void TCanvas::StretchDraw(const TRect& r, TGraphic* graphic) {
    if (!graphic || graphic->Empty()) return;
    Changing();
    graphic->Draw(this, r);
    Changed();
}

void TCanvas::CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect) {
    Changing();
    StretchBlt(Handle(), dest.left, dest.top, RectWidth(dest), RectHeight(dest), source.Handle(), sourceRect.left,
               sourceRect.top, RectWidth(sourceRect), RectHeight(sourceRect), static_cast<DWORD>(copy_mode_));
    Changed();
}

TControlCanvas::~TControlCanvas() {
    FreeHandle();
}

void TControlCanvas::FreeHandle() {
    if (!owned_dc_) return;
    SetHandle(nullptr);
    owned_dc_.reset();
}

void TControlCanvas::CreateHandle() {
    if (!control_) return;
    if (auto* win = dynamic_cast<TWinControl*>(control_)) {
        owned_dc_.emplace(win->Handle());
    } else {
        TWinControl* parent = control_->Parent();
        if (!parent) return;
        owned_dc_.emplace(parent->Handle());
        TRect bounds = control_->BoundsRect();
        IntersectClipRect(*owned_dc_, bounds.left, bounds.top, bounds.right, bounds.bottom);
        SetWindowOrgEx(*owned_dc_, -bounds.left, -bounds.top, nullptr);
    }
    SetHandle(owned_dc_->Get());
}
