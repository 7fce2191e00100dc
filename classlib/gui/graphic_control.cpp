#include "graphic_control.h"

const TClassInfo& TGraphicControl::StaticClass() {
    static const TClassInfo info =
        DefineClass<TGraphicControl>("TGraphicControl", &TControl::StaticClass(), [](auto&) {});
    return info;
}

TGraphicControl::TGraphicControl(TComponent* owner)
    : TControl(owner), canvas_(std::make_unique<TControlCanvas>(this)) {}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::Dispatch(TMessage& m) {
    if (m.Msg == WM_PAINT && m.WParam) {
        // The parent paints us on its own device context, already offset
        // and clipped to our rectangle.
        canvas_->SetHandle(reinterpret_cast<HDC>(m.WParam));
        try {
            Paint();
        } catch (...) {
            canvas_->SetHandle(nullptr);
            throw;
        }
        canvas_->SetHandle(nullptr);
        return;
    }
    TControl::Dispatch(m);
}

const TClassInfo& TCustomControl::StaticClass() {
    static const TClassInfo info =
        DefineClass<TCustomControl>("TCustomControl", &TWinControl::StaticClass(), [](auto&) {});
    return info;
}

TCustomControl::TCustomControl(TComponent* owner)
    : TWinControl(owner), canvas_(std::make_unique<TControlCanvas>(this)) {}

TCustomControl::~TCustomControl() = default;

void TCustomControl::Dispatch(TMessage& m) {
    if (m.Msg == WM_PAINT) {
        SetControlState(ControlState() + csCustomPaint);
        try {
            TWinControl::Dispatch(m);
        } catch (...) {
            SetControlState(ControlState() - csCustomPaint);
            throw;
        }
        SetControlState(ControlState() - csCustomPaint);
        return;
    }
    TWinControl::Dispatch(m);
}

void TCustomControl::PaintWindow(HDC dc) {
    canvas_->FreeHandle();
    canvas_->SetHandle(dc);
    try {
        Paint();
    } catch (...) {
        canvas_->SetHandle(nullptr);
        throw;
    }
    canvas_->SetHandle(nullptr);
}

void TCustomControl::DestroyWindowHandle() {
    canvas_->FreeHandle();
    TWinControl::DestroyWindowHandle();
}
