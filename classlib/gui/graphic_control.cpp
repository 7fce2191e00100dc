#include "classlib/gui/graphic_control.h"

#include "classlib/core/class_builder.h"

namespace {

// Paints on a device context someone else owns and detaches from it again,
// also when painting throws.
template <class Paint>
void PaintOn(TControlCanvas& canvas, HDC dc, Paint paint) {
    canvas.SetHandle(dc);
    try {
        paint();
    } catch (...) {
        canvas.SetHandle(nullptr);
        throw;
    }
    canvas.SetHandle(nullptr);
}

}  // namespace

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
        PaintOn(*canvas_, reinterpret_cast<HDC>(m.WParam), [this] { Paint(); });
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
    PaintOn(*canvas_, dc, [this] { Paint(); });
}

void TCustomControl::DestroyWindowHandle() {
    canvas_->FreeHandle();
    TWinControl::DestroyWindowHandle();
}
