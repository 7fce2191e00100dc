#include "classlib/stdctrls/speedbutton.h"

#include <vector>

#include "classlib/core/class_builder.h"
#include "classlib/stdctrls/accel.h"
#include "classlib/gui/scoped_win32.h"
#include "classlib/gui/wincontrol.h"

namespace {

// The face of a button held down: a fine checker of face and highlight.
TGdiObject MakeDownPatternBrush() {
    uint32_t face = static_cast<uint32_t>(ColorToRGB(clBtnFace)) & 0xFFFFFF;
    uint32_t light = static_cast<uint32_t>(ColorToRGB(clBtnHighlight)) & 0xFFFFFF;
    auto pixel = [](uint32_t bgr) { return ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | (bgr >> 16); };
    uint32_t* p = nullptr;
    TGdiObject pattern = MakeDibSection32(nullptr, 8, 8, p);
    if (!p) return TGdiObject();
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) p[y * 8 + x] = pixel((x + y) % 2 ? light : face);
    GdiFlush();
    return TGdiObject(CreatePatternBrush(static_cast<HBITMAP>(pattern.Get())));
}

}  // namespace

const TClassInfo& TSpeedButton::StaticClass() {
    static const TClassInfo info = DefineClass<TSpeedButton>("TSpeedButton", &TGraphicControl::StaticClass(), [](auto& c) {
        c.Creatable();
        PROPERTY(c, AllowAllUp).Default(false);
        // Before Down: only grouped buttons can be down.
        PROPERTY(c, GroupIndex).Default(0);
        PROPERTY(c, Down).Default(false);
        c.PublishAll("Caption", "Enabled");
        PROPERTY(c, Flat).Default(false);
        c.Publish("Font");
        PROPERTY(c, Glyph);
        PROPERTY(c, Layout).Default(blGlyphLeft);
        PROPERTY(c, Margin).Default(-1);
        PROPERTY(c, NumGlyphs).Default(1);
        c.PublishAll("ParentFont", "ParentShowHint", "ShowHint");
        PROPERTY(c, Spacing).Default(4);
        PROPERTY(c, Transparent).Default(true);
        c.PublishAll("Visible", "OnClick", "OnDblClick", "OnMouseDown", "OnMouseMove", "OnMouseUp");
    });
    return info;
}

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner) {
    SetControlStyle(TControlStyle{csCaptureMouse, csDoubleClicks});
    SetBounds(0, 0, 23, 22);
    SetColor(clBtnFace);
    glyph_.OnChange = [this] { Invalidate(); };
}

TSpeedButton::~TSpeedButton() = default;

void TSpeedButton::SetAllowAllUp(bool value) {
    if (allow_all_up_ == value) return;
    allow_all_up_ = value;
    UpdateExclusive();
}

void TSpeedButton::SetGroupIndex(int32_t value) {
    if (group_index_ == value) return;
    group_index_ = value;
    UpdateExclusive();
}

void TSpeedButton::SetDown(bool value) {
    if (group_index_ == 0) value = false;
    if (value == down_) return;
    // The last down button of a group stays down unless all may be up.
    if (down_ && !allow_all_up_) return;
    down_ = value;
    if (value) {
        if (state_ == bsUp) Invalidate();
        state_ = bsExclusive;
        UpdateExclusive();
    } else {
        state_ = bsUp;
        Invalidate();
    }
}

void TSpeedButton::SetFlat(bool value) {
    ChangeAndInvalidate(flat_, value);
}

void TSpeedButton::SetLayout(TButtonLayout value) {
    ChangeAndInvalidate(layout_, value);
}

void TSpeedButton::SetMargin(int32_t value) {
    if (value < -1) value = -1;
    if (margin_ == value) return;
    margin_ = value;
    Invalidate();
}

void TSpeedButton::SetSpacing(int32_t value) {
    if (value < -1) value = -1;
    if (spacing_ == value) return;
    spacing_ = value;
    Invalidate();
}

void TSpeedButton::SetTransparent(bool value) {
    ChangeAndInvalidate(transparent_, value);
}

void TSpeedButton::UpdateExclusive() {
    if (group_index_ == 0 || !Parent()) return;
    TMessage m{CM_BUTTONPRESSED, static_cast<WPARAM>(group_index_), reinterpret_cast<LPARAM>(this), 0};
    Parent()->Broadcast(m);
}

void TSpeedButton::CMButtonPressed(TMessage& m) {
    if (static_cast<int32_t>(m.WParam) != group_index_) return;
    auto* sender = dynamic_cast<TSpeedButton*>(reinterpret_cast<TControl*>(m.LParam));
    if (!sender || sender == this) return;
    if (sender->Down() && down_) {
        down_ = false;
        state_ = bsUp;
        Invalidate();
    }
    allow_all_up_ = sender->AllowAllUp();
}

void TSpeedButton::Click() {
    TGraphicControl::Click();
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != mbLeft || !Enabled()) return;
    if (!down_) {
        state_ = bsDown;
        Invalidate();
    }
    dragging_ = true;
}

void TSpeedButton::MouseMove(TShiftState shift, int x, int y) {
    TGraphicControl::MouseMove(shift, x, y);
    if (!dragging_) return;
    // Pressed while the mouse is over the button, released when it leaves.
    TButtonState state = down_ ? bsExclusive : bsUp;
    if (Inside(x, y)) state = down_ ? bsExclusive : bsDown;
    if (state != state_) {
        state_ = state;
        Invalidate();
    }
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseUp(button, shift, x, y);
    if (!dragging_) return;
    dragging_ = false;
    bool click = Inside(x, y);
    if (group_index_ == 0) {
        state_ = bsUp;
        mouse_in_control_ = mouse_in_control_ && click;
        Invalidate();
    } else if (click) {
        SetDown(!down_);
        if (down_) Invalidate();
    } else {
        if (down_) state_ = bsExclusive;
        Invalidate();
    }
    if (click) Click();
}

void TSpeedButton::Paint() {
    if (!Enabled()) {
        state_ = bsDisabled;
        dragging_ = false;
    } else if (state_ == bsDisabled) {
        state_ = down_ && group_index_ != 0 ? bsExclusive : bsUp;
    }
    TCanvas& canvas = *Canvas();
    canvas.SetFont(*Font());
    TRect r = Rect(0, 0, Width(), Height());
    bool pressed = state_ == bsDown || state_ == bsExclusive;
    if (!flat_) {
        DrawFrameControl(canvas.Handle(), &r, DFC_BUTTON,
                         DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (pressed ? DFCS_PUSHED : 0));
    } else {
        if (pressed || (mouse_in_control_ && state_ != bsDisabled)) {
            DrawEdge(canvas.Handle(), &r, pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER,
                     BF_RECT | (transparent_ ? 0 : BF_MIDDLE));
        } else if (!transparent_) {
            canvas.Brush().SetStyle(bsSolid);
            canvas.Brush().SetColor(Color());
            canvas.FillRect(r);
        }
        InflateRect(&r, -1, -1);
    }
    TPoint offset{0, 0};
    if (pressed) {
        if (state_ == bsExclusive && (!flat_ || !mouse_in_control_)) {
            TGdiObject pattern = MakeDownPatternBrush();
            if (pattern.Get()) ::FillRect(canvas.Handle(), &r, static_cast<HBRUSH>(pattern.Get()));
        }
        offset = Point(1, 1);
    }
    glyph_.Draw(canvas, r, offset, Caption(), layout_, margin_, spacing_, state_);
}

void TSpeedButton::Dispatch(TMessage& m) {
    switch (m.Msg) {
    case CM_BUTTONPRESSED: CMButtonPressed(m); return;
    case CM_DIALOGCHAR:
        if (IsAccel(static_cast<unsigned>(m.WParam), Caption()) && Enabled() && Visible() && Parent() &&
            Parent()->Showing()) {
            Click();
            m.Result = 1;
            return;
        }
        break;
    case CM_MOUSEENTER:
        TGraphicControl::Dispatch(m);
        if (flat_ && !mouse_in_control_ && Enabled() && !GetCapture()) {
            mouse_in_control_ = true;
            Invalidate();
        }
        return;
    case CM_MOUSELEAVE:
        TGraphicControl::Dispatch(m);
        if (flat_ && mouse_in_control_ && Enabled() && !dragging_) {
            mouse_in_control_ = false;
            Invalidate();
        }
        return;
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
        Invalidate();
        return;
    case WM_LBUTTONDBLCLK:
        TGraphicControl::Dispatch(m);
        if (down_) DblClick();
        return;
    }
    TGraphicControl::Dispatch(m);
}
