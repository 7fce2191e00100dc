// TPanel: a container that draws raised or lowered bevels around its
// client area and its caption in the middle.
#pragma once
#include "classlib/core/alignment.h"
#include "classlib/gui/graphic_control.h"

enum TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };
DECLARE_ENUM_TYPE(TPanelBevel)

class TCustomPanel : public TCustomControl {
    DECLARE_CLASS(TCustomPanel, TCustomControl)
public:
    explicit TCustomPanel(TComponent* owner);

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    TPanelBevel BevelInner() const { return bevel_inner_; }
    void SetBevelInner(TPanelBevel value);
    TPanelBevel BevelOuter() const { return bevel_outer_; }
    void SetBevelOuter(TPanelBevel value);
    // At least 1.
    int32_t BevelWidth() const { return bevel_width_; }
    void SetBevelWidth(int32_t value);
    // The plain frame between the bevels; at least 0.
    int32_t BorderWidth() const { return border_width_; }
    void SetBorderWidth(int32_t value);
    TBorderStyle BorderStyle() const { return border_style_; }
    void SetBorderStyle(TBorderStyle value);
    bool FullRepaint() const { return full_repaint_; }
    void SetFullRepaint(bool value) { full_repaint_ = value; }

    // Children are laid out inside the bevels and the border.
    void AdjustClientRect(TRect& rect) override;
    void Dispatch(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;

private:
    int32_t FrameWidth() const;
    void FrameChanged();

    TAlignment alignment_ = taCenter;
    TPanelBevel bevel_inner_ = bvNone;
    TPanelBevel bevel_outer_ = bvRaised;
    int32_t bevel_width_ = 1;
    int32_t border_width_ = 0;
    TBorderStyle border_style_ = bsNone;
    bool full_repaint_ = true;
};

class TPanel : public TCustomPanel {
    DECLARE_CLASS(TPanel, TCustomPanel)
public:
    explicit TPanel(TComponent* owner) : TCustomPanel(owner) {}
};
