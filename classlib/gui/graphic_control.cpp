#include "classlib/gui/graphic_control.h"

#include "classlib/gui/scoped_win32.h"
#include "classlib/core/class_builder.h"

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
        TCanvasOnDC canvas(*canvas_, reinterpret_cast<HDC>(m.WParam));
        Paint();
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
        TScopeExit painted([this] { SetControlState(ControlState() - csCustomPaint); });
        TWinControl::Dispatch(m);
        return;
    }
    TWinControl::Dispatch(m);
}

void TCustomControl::PaintWindow(HDC dc) {
    canvas_->FreeHandle();
    TCanvasOnDC canvas(*canvas_, dc);
    Paint();
}

void TCustomControl::DestroyWindowHandle() {
    canvas_->FreeHandle();
    TWinControl::DestroyWindowHandle();
}
