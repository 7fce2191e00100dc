// TLabel: a windowless caption. It sizes itself to its text (AutoSize),
// draws "&X" as an underlined accelerator and passes Alt+X on to its
// FocusControl.
#pragma once
#include "classlib/core/alignment.h"
#include "classlib/gui/graphic_control.h"

enum TTextLayout { tlTop, tlCenter, tlBottom };
DECLARE_ENUM_TYPE(TTextLayout)

class TCustomLabel : public TGraphicControl {
    DECLARE_CLASS(TCustomLabel, TGraphicControl)
public:
    explicit TCustomLabel(TComponent* owner);

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    bool AutoSize() const { return auto_size_; }
    void SetAutoSize(bool value);
    TWinControl* FocusControl() const { return focus_control_; }
    void SetFocusControl(TWinControl* value);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout value);
    bool ShowAccelChar() const { return show_accel_char_; }
    void SetShowAccelChar(bool value);
    // Without an opaque background the parent shows through.
    bool Transparent() const { return !ControlStyle().Contains(csOpaque); }
    void SetTransparent(bool value);
    bool WordWrap() const { return word_wrap_; }
    void SetWordWrap(bool value);

    void Dispatch(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;
    void AfterConstruction() override;
    void Loaded() override;

protected:
    virtual std::string GetLabelText() const { return Caption(); }
    // Draws (or with DT_CALCRECT measures) the text into rect with the
    // label's font; disabled text is embossed.
    virtual void DoDrawText(TCanvas& canvas, TRect& rect, UINT flags);
    void Paint() override;
    // Sizes the label to its text when AutoSize (keeping the right edge of
    // right-aligned labels).
    virtual void AdjustBounds();

private:
    TAlignment alignment_ = taLeftJustify;
    bool auto_size_ = true;
    TWinControl* focus_control_ = nullptr;
    TTextLayout layout_ = tlTop;
    bool show_accel_char_ = true;
    bool word_wrap_ = false;
};

class TLabel : public TCustomLabel {
    DECLARE_CLASS(TLabel, TCustomLabel)
public:
    explicit TLabel(TComponent* owner) : TCustomLabel(owner) {}
};
