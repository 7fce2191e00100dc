// TSpeedButton: a windowless button with a glyph, pressed by the mouse
// (Click on release inside). Buttons of one GroupIndex work like radio
// buttons and stay Down; flat buttons show a raised edge only while the
// mouse is over them.
#pragma once
#include "classlib/stdctrls/button_glyph.h"
#include "classlib/gui/graphic_control.h"

class TSpeedButton : public TGraphicControl {
    DECLARE_CLASS(TSpeedButton, TGraphicControl)
public:
    explicit TSpeedButton(TComponent* owner);
    ~TSpeedButton() override;

    // Whether the last down button of a group may be released.
    bool AllowAllUp() const { return allow_all_up_; }
    void SetAllowAllUp(bool value);
    // 0: an ordinary button; else the group it belongs to.
    int32_t GroupIndex() const { return group_index_; }
    void SetGroupIndex(int32_t value);
    // Only buttons of a group stay down.
    bool Down() const { return down_; }
    void SetDown(bool value);
    bool Flat() const { return flat_; }
    void SetFlat(bool value);
    TBitmap* Glyph() const { return glyph_.Glyph(); }
    void SetGlyph(TBitmap* value) { glyph_.SetGlyph(value); }
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout value);
    int32_t Margin() const { return margin_; }
    void SetMargin(int32_t value);
    int32_t NumGlyphs() const { return glyph_.NumGlyphs(); }
    void SetNumGlyphs(int32_t value) { glyph_.SetNumGlyphs(value); }
    int32_t Spacing() const { return spacing_; }
    void SetSpacing(int32_t value);
    // Flat buttons leave their background unpainted.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    TButtonState State() const { return state_; }
    bool MouseInControl() const { return mouse_in_control_; }

    void Click() override;
    void Dispatch(TMessage& message) override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    bool Inside(int x, int y) const { return x >= 0 && x < Width() && y >= 0 && y <= Height(); }
    // Tells the other buttons of the group that this one went down.
    void UpdateExclusive();
    void CMButtonPressed(TMessage& m);

    TButtonGlyph glyph_;
    bool allow_all_up_ = false;
    int32_t group_index_ = 0;
    bool down_ = false;
    bool flat_ = false;
    TButtonLayout layout_ = blGlyphLeft;
    int32_t margin_ = -1;
    int32_t spacing_ = 4;
    bool transparent_ = true;
    TButtonState state_ = bsUp;
    bool dragging_ = false;
    bool mouse_in_control_ = false;
};
