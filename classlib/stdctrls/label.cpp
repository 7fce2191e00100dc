#include "classlib/stdctrls/label.h"

#include "classlib/core/class_builder.h"
#include "classlib/gui/text_ink.h"
#include "classlib/gui/wincontrol.h"

const TClassInfo& TCustomLabel::StaticClass() {
    static const TClassInfo info = DefineClass<TCustomLabel>("TCustomLabel", &TGraphicControl::StaticClass(), [](auto& c) {
        PROPERTY(c, Alignment).Default(taLeftJustify).Hidden();
        PROPERTY(c, AutoSize).Default(true).Hidden();
        PROPERTY(c, FocusControl).Hidden();
        PROPERTY(c, Layout).Default(tlTop).Hidden();
        PROPERTY(c, ShowAccelChar).Default(true).Hidden();
        PROPERTY(c, Transparent).Default(false).Hidden();
        PROPERTY(c, WordWrap).Default(false).Hidden();
    });
    return info;
}

const TClassInfo& TLabel::StaticClass() {
    static const TClassInfo info = DefineClass<TLabel>("TLabel", &TCustomLabel::StaticClass(), [](auto& c) {
        c.Creatable();
        c.PublishAll("Align", "Alignment", "AutoSize", "Caption", "Color", "DragCursor", "DragMode", "Enabled",
                     "FocusControl", "Font", "ParentColor", "ParentFont", "ParentShowHint", "ShowAccelChar",
                     "ShowHint", "Transparent", "Layout", "Visible", "WordWrap", "OnClick", "OnDblClick",
                     "OnMouseDown", "OnMouseMove", "OnMouseUp");
    });
    return info;
}

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner) {
    SetControlStyle(ControlStyle() + csOpaque + csReplicatable);
    SetBounds(0, 0, 65, 17);
}

void TCustomLabel::AfterConstruction() {
    TGraphicControl::AfterConstruction();
    // Sized to its text from the start, as it is once read from a layout.
    // A label made while its owner's layout is read is sized when it is
    // loaded, with its text.
    if (Owner() && Owner()->ComponentState().Contains(csReading)) return;
    AdjustBounds();
}

void TCustomLabel::SetAlignment(TAlignment value) {
    ChangeAndInvalidate(alignment_, value);
}

void TCustomLabel::SetAutoSize(bool value) {
    if (auto_size_ == value) return;
    auto_size_ = value;
    AdjustBounds();
}

void TCustomLabel::SetFocusControl(TWinControl* value) {
    if (focus_control_ == value) return;
    if (focus_control_) focus_control_->RemoveFreeNotification(this);
    focus_control_ = value;
    if (value) value->FreeNotification(this);
}

void TCustomLabel::SetLayout(TTextLayout value) {
    ChangeAndInvalidate(layout_, value);
}

void TCustomLabel::SetShowAccelChar(bool value) {
    if (show_accel_char_ == value) return;
    show_accel_char_ = value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetTransparent(bool value) {
    if (Transparent() == value) return;
    SetControlStyle(value ? ControlStyle() - csOpaque : ControlStyle() + csOpaque);
    // Repaint what lies below too.
    InvalidateControl(Visible(), false);
}

void TCustomLabel::SetWordWrap(bool value) {
    if (word_wrap_ == value) return;
    word_wrap_ = value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == opRemove && component == focus_control_) focus_control_ = nullptr;
}

void TCustomLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustBounds();
}

void TCustomLabel::DoDrawText(TCanvas& canvas, TRect& rect, UINT flags) {
    std::string text = GetLabelText();
    PrepareText(text, flags);
    canvas.SetFont(*Font());
    canvas.Brush().SetStyle(bsClear);
    int length = static_cast<int>(text.size());
    if (!Enabled()) {
        OffsetRect(&rect, 1, 1);
        canvas.Font().SetColor(clBtnHighlight);
        DrawTextA(canvas.Handle(), text.c_str(), length, &rect, flags);
        OffsetRect(&rect, -1, -1);
        canvas.Font().SetColor(clBtnShadow);
        DrawTextA(canvas.Handle(), text.c_str(), length, &rect, flags);
    } else {
        DrawTextA(canvas.Handle(), text.c_str(), length, &rect, flags);
    }
    // Measured, the box holds the ink of the last glyph as well.
    if (flags & DT_CALCRECT) rect.right += TextInkOverhang(canvas.Handle(), text.c_str(), length, rect, flags);
}

void TCustomLabel::Paint() {
    TCanvas& canvas = *Canvas();
    TRect client = ClientRect();
    if (!Transparent()) {
        canvas.Brush().SetStyle(bsSolid);
        canvas.Brush().SetColor(Color());
        canvas.FillRect(client);
    }
    const UINT style = TextFormat();
    TRect rect = client;
    if (layout_ != tlTop) {
        TRect calc = rect;
        DoDrawText(canvas, calc, style | DT_CALCRECT);
        OffsetRect(&rect, 0, LayoutOffset(Height(), calc.bottom));
    }
    DoDrawText(canvas, rect, style);
}

void TCustomLabel::AdjustBounds() {
    if (ComponentState().Contains(csReading) || !auto_size_) return;
    TRect rect = ClientRect();
    // Measured left-aligned: the alignment only moves the left edge.
    const UINT style = DT_EXPANDTABS | DT_CALCRECT | (word_wrap_ ? DT_WORDBREAK : 0);
    MeasureOnScreen([&](TCanvas& canvas) { DoDrawText(canvas, rect, style); });
    SetBounds(AutoSizedLeft(Left(), Width(), rect.right), Top(), rect.right, rect.bottom);
}

void TCustomLabel::Dispatch(TMessage& m) {
    switch (m.Msg) {
    case CM_TEXTCHANGED:
        Invalidate();
        AdjustBounds();
        return;
    case CM_FONTCHANGED:
        TGraphicControl::Dispatch(m);
        AdjustBounds();
        return;
    case CM_DIALOGCHAR:
        if (FocusOnAccel(static_cast<unsigned>(m.WParam), Enabled(), Caption())) {
            m.Result = 1;
            return;
        }
        break;
    }
    TGraphicControl::Dispatch(m);
}
