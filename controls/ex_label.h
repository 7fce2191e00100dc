// TExLabel: a windowless label that draws its caption twice, first as a
// shadow in a second colour shifted by a few pixels, then the text itself,
// so that it looks raised or engraved. It can frame itself while its focus
// control has the focus, reports the mouse entering and leaving, and its
// accelerator moves the focus to the focus control.
#pragma once
#include <cstdint>
#include <string>

#include "classlib/gui/graphic_control.h"
#include "classlib/stdctrls/label_settings.h"

enum TShadowPosition { spLeftTop, spLeftBottom, spRightBottom, spRightTop };
DECLARE_ENUM_TYPE(TShadowPosition)

// Draws the text as a shadow of `size` pixels towards `position` in
// `shadowColor`, then in the context's text colour. The rectangle becomes
// the union of text and shadow (with DT_CALCRECT: both measured, and wide
// enough for ink that reaches past the measured text). Returns
// the shadow's text height plus the size (0 when nothing was drawn).
int DrawTextWithShadow(HDC dc, const char* text, int length, TRect& rect, UINT format, int size,
                       COLORREF shadowColor, TShadowPosition position);

class TExCustomLabel : public TGraphicControl, public TLabelSettings {
    DECLARE_CLASS(TExCustomLabel, TGraphicControl)
public:
    explicit TExCustomLabel(TComponent* owner);

    void SetAlignment(TAlignment value);
    void SetAutoSize(bool value);
    // Unlike the plain label's, repaints the focus frame and keeps the
    // free notification of the control it replaces.
    void SetFocusControl(TWinControl* value);
    void SetLayout(TTextLayout value);
    TColor ShadowColor() const { return shadow_color_; }
    void SetShadowColor(TColor value);
    uint8_t ShadowSize() const { return shadow_size_; }
    void SetShadowSize(uint8_t value);
    TShadowPosition ShadowPos() const { return shadow_pos_; }
    void SetShadowPos(TShadowPosition value);
    // Only repaints: the size stays as it was.
    void SetShowAccelChar(bool value);
    bool ShowFocus() const { return show_focus_; }
    void SetShowFocus(bool value);
    // Without csOpaque the parent shows through.
    bool Transparent() const { return !ControlStyle().Contains(csOpaque); }
    void SetTransparent(bool value);
    // Resizes without repainting a label that keeps its size.
    void SetWordWrap(bool value);

    bool MouseInControl() const { return mouse_in_control_; }
    bool FocusShown() const { return focus_shown_; }

    void Notification(TComponent* component, TOperation operation) override;
    void Dispatch(TMessage& message) override;

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

protected:
    void Paint() override;
    // The colour of the text and the text drawn; descendants change them.
    virtual TColor GetLabelFontColor() const { return Font()->Color(); }
    virtual std::string GetLabelCaption() const { return Caption(); }
    virtual void MouseEntered();
    virtual void MouseLeft();
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    // Draws (with DT_CALCRECT: measures) the caption and its shadow on the
    // canvas; the rectangle becomes the union of both.
    void DrawLabelText(TCanvas& canvas, TRect& rect, UINT format);
    // Sizes the label to its text and shadow when AutoSize, keeping the
    // right edge of a right-aligned label.
    void AdjustLabelBounds();

private:
    void UpdateMouseTracking();
    bool MouseIsOverThis();
    void FocusChanged(TMessage& m);
    void DialogChar(TMessage& m);

    TColor shadow_color_ = clBtnHighlight;
    uint8_t shadow_size_ = 1;
    TShadowPosition shadow_pos_ = spLeftTop;
    bool show_focus_ = false;
    bool focus_shown_ = false;
    bool mouse_in_control_ = false;
    bool left_held_ = false;
};

class TExLabel : public TExCustomLabel {
    DECLARE_CLASS(TExLabel, TExCustomLabel)
public:
    explicit TExLabel(TComponent* owner) : TExCustomLabel(owner) {}
};
