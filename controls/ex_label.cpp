#include "controls/ex_label.h"

#include "classlib/core/class_builder.h"
#include "classlib/gui/text_ink.h"
#include "classlib/gui/wincontrol.h"
#include "controls/window_utils.h"

DEFINE_ENUM_TYPE(TShadowPosition, "spLeftTop", "spLeftBottom", "spRightBottom", "spRightTop")

int DrawTextWithShadow(HDC dc, const char* text, int length, TRect& rect, UINT format, int size,
                       COLORREF shadowColor, TShadowPosition position) {
    TRect textRect = rect, shadowRect = rect;
    const COLORREF previous = SetTextColor(dc, shadowColor);
    switch (position) {
    case spLeftTop: OffsetRect(&shadowRect, -size, -size); break;
    case spLeftBottom: OffsetRect(&shadowRect, -size, size); break;
    case spRightBottom: OffsetRect(&shadowRect, size, size); break;
    case spRightTop: OffsetRect(&shadowRect, size, -size); break;
    }
    // Drawn also at size 0, under the text.
    int height = DrawTextA(dc, text, length, &shadowRect, format);
    if (height > 0) height += size;
    SetTextColor(dc, previous);
    DrawTextA(dc, text, length, &textRect, format);
    UnionRect(&rect, &textRect, &shadowRect);
    // Measured, the box holds the ink of the last glyph as well.
    if (format & DT_CALCRECT) rect.right += TextInkOverhang(dc, text, length, textRect, format);
    return height;
}

const TClassInfo& TExCustomLabel::StaticClass() {
    static const TClassInfo info =
        DefineClass<TExCustomLabel>("TExCustomLabel", &TGraphicControl::StaticClass(), [](auto& c) {
            PROPERTY(c, Alignment).Default(taLeftJustify).Hidden();
            PROPERTY(c, AutoSize).Default(true).Hidden();
            PROPERTY(c, FocusControl).Hidden();
            PROPERTY(c, Layout).Default(tlTop).Hidden();
            PROPERTY(c, ShadowColor, TypeInfoColor()).Default(clBtnHighlight).Hidden();
            PROPERTY(c, ShadowSize).Default(1).Hidden();
            PROPERTY(c, ShadowPos).Default(spLeftTop).Hidden();
            PROPERTY(c, ShowAccelChar).Default(true).Hidden();
            PROPERTY(c, ShowFocus).Default(false).Hidden();
            PROPERTY(c, Transparent).Default(false).Hidden();
            PROPERTY(c, WordWrap).Default(false).Hidden();
            EVENT(c, OnMouseEnter).Hidden();
            EVENT(c, OnMouseLeave).Hidden();
        });
    return info;
}

const TClassInfo& TExLabel::StaticClass() {
    static const TClassInfo info = DefineClass<TExLabel>("TExLabel", &TExCustomLabel::StaticClass(), [](auto& c) {
        c.Creatable();
        c.PublishAll("Align", "Alignment", "AutoSize", "Caption", "Color", "DragCursor", "DragMode", "Enabled",
                     "FocusControl", "Font", "Layout", "ParentColor", "ParentFont", "ParentShowHint", "PopupMenu",
                     "ShadowColor", "ShadowSize", "ShadowPos", "ShowAccelChar", "ShowFocus", "ShowHint",
                     "Transparent", "Visible", "WordWrap", "OnClick", "OnDblClick", "OnDragDrop", "OnDragOver",
                     "OnEndDrag", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnMouseEnter", "OnMouseLeave",
                     "OnStartDrag", "OnContextPopup");
    });
    return info;
}

TExCustomLabel::TExCustomLabel(TComponent* owner) : TGraphicControl(owner) {
    SetControlStyle(ControlStyle() + csOpaque + csReplicatable);
    SetBounds(0, 0, 65, 17);
}

void TExCustomLabel::SetAlignment(TAlignment value) {
    ChangeAndInvalidate(alignment_, value);
}

void TExCustomLabel::SetAutoSize(bool value) {
    if (auto_size_ == value) return;
    auto_size_ = value;
    AdjustLabelBounds();
}

void TExCustomLabel::SetFocusControl(TWinControl* value) {
    focus_control_ = value;
    if (value) value->FreeNotification(this);
    if (show_focus_) Invalidate();
}

void TExCustomLabel::SetLayout(TTextLayout value) {
    ChangeAndInvalidate(layout_, value);
}

void TExCustomLabel::SetShadowColor(TColor value) {
    ChangeAndInvalidate(shadow_color_, value);
}

void TExCustomLabel::SetShadowSize(uint8_t value) {
    if (shadow_size_ == value) return;
    shadow_size_ = value;
    AdjustLabelBounds();
    Invalidate();
}

void TExCustomLabel::SetShadowPos(TShadowPosition value) {
    ChangeAndInvalidate(shadow_pos_, value);
}

void TExCustomLabel::SetShowAccelChar(bool value) {
    ChangeAndInvalidate(show_accel_char_, value);
}

void TExCustomLabel::SetShowFocus(bool value) {
    ChangeAndInvalidate(show_focus_, value);
}

void TExCustomLabel::SetTransparent(bool value) {
    if (Transparent() == value) return;
    SetControlStyle(value ? ControlStyle() - csOpaque : ControlStyle() + csOpaque);
    // What lies below shows (or goes) too.
    InvalidateControl(Visible(), false);
}

void TExCustomLabel::SetWordWrap(bool value) {
    if (word_wrap_ == value) return;
    word_wrap_ = value;
    AdjustLabelBounds();
}

void TExCustomLabel::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == opRemove && component == focus_control_) SetFocusControl(nullptr);
}

void TExCustomLabel::DrawLabelText(TCanvas& canvas, TRect& rect, UINT format) {
    std::string text = GetLabelCaption();
    PrepareText(text, format);
    canvas.SetFont(*Font());
    canvas.Font().SetColor(GetLabelFontColor());
    TShadowPosition position = shadow_pos_;
    int size = shadow_size_;
    TColor shadow = shadow_color_;
    if (!Enabled()) {
        // Engraved: grey text over a highlight, down and right at least.
        if (size == 0) {
            position = spRightBottom;
            size = 1;
        }
        canvas.Font().SetColor(clGrayText);
        shadow = clBtnHighlight;
    }
    DrawTextWithShadow(canvas.Handle(), text.c_str(), static_cast<int>(text.size()), rect, format, size,
                       static_cast<COLORREF>(ColorToRGB(shadow)), position);
}

void TExCustomLabel::Paint() {
    if (!Enabled() && !ComponentState().Contains(csDesigning)) left_held_ = false;
    TCanvas& canvas = *Canvas();
    const TRect client = ClientRect();
    if (!Transparent()) {
        canvas.Brush().SetColor(Color());
        canvas.Brush().SetStyle(bsSolid);
        canvas.FillRect(client);
    }
    canvas.Brush().SetStyle(bsClear);
    TRect rect = client;
    InflateRect(&rect, -1, 0);
    const UINT format = TextFormat();
    if (layout_ != tlTop) {
        DrawLabelText(canvas, rect, format | DT_CALCRECT);
        rect.left = client.left;
        rect.right = client.right;
        OffsetRect(&rect, 0, LayoutOffset(Height(), rect.bottom));
    }
    DrawLabelText(canvas, rect, format);
    if (show_focus_ && focus_control_ && focus_shown_ && !ComponentState().Contains(csDesigning)) {
        InflateRect(&rect, 1, 0);
        canvas.Brush().SetColor(Color());
        canvas.DrawFocusRect(rect);
    }
}

void TExCustomLabel::AdjustLabelBounds() {
    if (!auto_size_) return;
    TRect rect = ClientRect();
    // A pixel of margin on either side of the text.
    InflateRect(&rect, -1, 0);
    const UINT format = (word_wrap_ ? DT_WORDBREAK : 0) | DT_EXPANDTABS | DT_CALCRECT;
    MeasureOnScreen([&](TCanvas& canvas) { DrawLabelText(canvas, rect, format); });
    InflateRect(&rect, 1, 0);
    SetBounds(AutoSizedLeft(Left(), Width(), rect.right), Top(), rect.right, rect.bottom);
}

bool TExCustomLabel::MouseIsOverThis() {
    if (!Parent() || !Parent()->HandleAllocated()) return false;
    POINT cursor;
    return GetCursorPos(&cursor) && FindDragTarget(Point(cursor.x, cursor.y), true) == this;
}

void TExCustomLabel::UpdateMouseTracking() {
    const bool was = mouse_in_control_;
    mouse_in_control_ = Enabled() && MouseIsOverThis() && IsActiveWindowOfThisThread();
    if (mouse_in_control_ == was) return;
    if (mouse_in_control_) MouseEntered();
    else MouseLeft();
}

void TExCustomLabel::MouseEntered() {
    if (OnMouseEnter) OnMouseEnter(this);
}

void TExCustomLabel::MouseLeft() {
    if (OnMouseLeave) OnMouseLeave(this);
}

void TExCustomLabel::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button == mbLeft && Enabled()) left_held_ = true;
}

void TExCustomLabel::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseUp(button, shift, x, y);
    if (button == mbLeft) left_held_ = false;
    UpdateMouseTracking();
}

void TExCustomLabel::FocusChanged(TMessage& m) {
    const bool shown = focus_control_ && reinterpret_cast<TControl*>(m.LParam) == focus_control_;
    if (shown == focus_shown_) return;
    focus_shown_ = shown;
    if (show_focus_) Invalidate();
}

void TExCustomLabel::DialogChar(TMessage& m) {
    if (FocusOnAccel(static_cast<unsigned>(m.WParam), Enabled(), GetLabelCaption())) m.Result = 1;
}

void TExCustomLabel::Dispatch(TMessage& m) {
    switch (m.Msg) {
    case CM_FOCUSCHANGED:
        FocusChanged(m);
        break;
    case CM_TEXTCHANGED:
        Invalidate();
        AdjustLabelBounds();
        return;
    case CM_FONTCHANGED:
        TGraphicControl::Dispatch(m);
        AdjustLabelBounds();
        return;
    case CM_DIALOGCHAR: DialogChar(m); return;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case CM_ENABLEDCHANGED:
        TGraphicControl::Dispatch(m);
        UpdateMouseTracking();
        return;
    case CM_VISIBLECHANGED:
        TGraphicControl::Dispatch(m);
        if (Visible()) UpdateMouseTracking();
        return;
    case CM_MOUSEENTER:
        TGraphicControl::Dispatch(m);
        if (!mouse_in_control_ && Enabled() && IsActiveWindowOfThisThread()) {
            mouse_in_control_ = true;
            MouseEntered();
        }
        return;
    case CM_MOUSELEAVE:
        TGraphicControl::Dispatch(m);
        // While the left button is held on the label, leaving fires nothing:
        // the release tracks again.
        if (mouse_in_control_ && Enabled() && !left_held_) {
            mouse_in_control_ = false;
            MouseLeft();
        }
        return;
    }
    TGraphicControl::Dispatch(m);
}
