// TLabel: a windowless caption. It sizes itself to its text (AutoSize),
// draws "&X" as an underlined accelerator and passes Alt+X on to its
// FocusControl.
#pragma once
#include "classlib/gui/graphic_control.h"
#include "classlib/stdctrls/label_settings.h"

class TCustomLabel : public TGraphicControl, public TLabelSettings {
    DECLARE_CLASS(TCustomLabel, TGraphicControl)
public:
    explicit TCustomLabel(TComponent* owner);

    void SetAlignment(TAlignment value);
    void SetAutoSize(bool value);
    void SetFocusControl(TWinControl* value);
    void SetLayout(TTextLayout value);
    void SetShowAccelChar(bool value);
    // Without an opaque background the parent shows through.
    bool Transparent() const { return !ControlStyle().Contains(csOpaque); }
    void SetTransparent(bool value);
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
};

class TLabel : public TCustomLabel {
    DECLARE_CLASS(TLabel, TCustomLabel)
public:
    explicit TLabel(TComponent* owner) : TCustomLabel(owner) {}
};
