// TExSpeedButton: a windowless push button with a picture and a caption.
// It can be flat (a border only while the mouse is over it), transparent,
// drop a popup menu down at its edge when pressed (with a mark on its
// face), repeat its click while held down, work in a group of exclusive
// buttons and show a grey picture while inactive. Its face is painted off screen
// and copied in one step.
#pragma once
#include <cstdint>

#include "classlib/gui/graphic_control.h"
#include "controls/ex_button_glyph.h"

class TPopupMenu;
class TTimer;

// Sent to the parent's children when a grouped button goes down: the
// group index and the button.
constexpr UINT CM_GROUPPRESSED = 0xB051;

enum TExDropDownMenuPos { dmpBottom, dmpRight };
DECLARE_ENUM_TYPE(TExDropDownMenuPos)

class TExSpeedButton : public TGraphicControl {
    DECLARE_CLASS(TExSpeedButton, TGraphicControl)
public:
    explicit TExSpeedButton(TComponent* owner);
    ~TExSpeedButton() override;

    TAlignment Alignment() const { return glyph_->Alignment(); }
    void SetAlignment(TAlignment value);
    bool AllowAllUp() const { return allow_all_up_; }
    void SetAllowAllUp(bool value);
    bool AllowTimer() const { return allow_timer_; }
    void SetAllowTimer(bool value);
    int32_t GroupIndex() const { return group_index_; }
    void SetGroupIndex(int32_t value);
    // Only grouped buttons can be down; the down button of a group goes up
    // through another member unless AllowAllUp.
    bool Down() const { return down_; }
    void SetDown(bool value);
    // Not owned; forgotten when it is freed.
    TPopupMenu* DropDownMenu() const { return drop_down_menu_; }
    void SetDropDownMenu(TPopupMenu* value);
    TExDropDownMenuPos MenuPosition() const { return menu_position_; }
    void SetMenuPosition(TExDropDownMenuPos value) { menu_position_ = value; }
    bool Flat() const { return flat_; }
    void SetFlat(bool value);
    TBitmap* Glyph() const { return glyph_->Glyph(); }
    void SetGlyph(TBitmap* value);
    bool GrayedInactive() const { return grayed_inactive_; }
    void SetGrayedInactive(bool value);
    uint16_t InitPause() const { return init_pause_; }
    void SetInitPause(uint16_t value) { init_pause_ = value; }
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout value);
    // -1 (automatic) or more; other values are ignored.
    int32_t Margin() const { return margin_; }
    void SetMargin(int32_t value);
    bool MarkDropDown() const { return mark_drop_down_; }
    void SetMarkDropDown(bool value);
    int32_t ModalResult() const { return modal_result_; }
    void SetModalResult(int32_t value) { modal_result_ = value; }
    // 1..5; larger values become 5.
    int32_t NumGlyphs() const { return glyph_->GlyphCount(); }
    void SetNumGlyphs(int32_t value);
    uint16_t RepeatInterval() const { return repeat_interval_; }
    void SetRepeatInterval(uint16_t value) { repeat_interval_ = value; }
    int32_t Spacing() const { return spacing_; }
    void SetSpacing(int32_t value);
    TButtonStyle Style() const { return style_; }
    void SetStyle(TButtonStyle value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    bool WordWrap() const { return glyph_->WordWrap(); }
    void SetWordWrap(bool value);

    TExGlyphState State() const { return state_; }
    bool MouseInControl() const { return mouse_in_control_; }
    // The repeat timer, nullptr until the first press with AllowTimer.
    TTimer* RepeatTimer() const { return repeat_timer_.get(); }
    TExButtonGlyph& ButtonGlyph() const { return *glyph_; }

    // Pops the drop-down menu up at a screen point for this button; true
    // when it was shown. Not in design mode, not without a menu, and unless
    // `manual` not when the menu's AutoPopup is off.
    bool CheckMenuDropdown(TPoint screenPos, bool manual);
    // Where the menu drops (client coordinates): at the bottom or right
    // edge, by the menu's alignment.
    TPoint DropDownMenuPos() const;
    // True while a press is handled (its menu may be open).
    bool MenuTracking() const { return menu_tracking_; }

    void Click() override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void Dispatch(TMessage& message) override;

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

protected:
    void Paint() override;
    virtual void PaintFace(TCanvas& canvas, const TRect& rect, TExGlyphState state, bool markWanted);
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    virtual void MouseEntered();
    virtual void MouseLeft();
    void ActionChange(TObject* sender, bool checkDefaults) override;

private:
    // The row at the client height counts as inside, the column at the
    // client width does not.
    bool Inside(int x, int y) { return x >= 0 && x < ClientWidth() && y >= 0 && y <= ClientHeight(); }
    void FinishPress(TMouseButton button, int x, int y);
    void SendGroupMessage();
    void GroupPressed(TMessage& m);
    void RepeatTick(TObject* sender);
    void FreeRepeatTimer();
    void UpdateMouseTracking();
    bool MouseIsOverThis();
    void PrebuildImage();

    int32_t group_index_ = 0;
    TButtonStyle style_ = bsAutoDetect;
    TOwned<TExButtonGlyph> glyph_;
    TOwned<TBitmap> face_;
    bool down_ = false;
    bool left_held_ = false;
    bool flat_ = false;
    bool mouse_in_control_ = false;
    bool allow_all_up_ = false;
    TButtonLayout layout_ = blGlyphTop;
    int32_t spacing_ = 1;
    int32_t margin_ = -1;
    int32_t modal_result_ = 0;
    bool transparent_ = false;
    bool mark_drop_down_ = true;
    TPopupMenu* drop_down_menu_ = nullptr;
    TExDropDownMenuPos menu_position_ = dmpBottom;
    bool grayed_inactive_ = true;
    bool menu_tracking_ = false;
    TOwned<TTimer> repeat_timer_;
    TOwned<TTimer> retired_timer_;  // switched off during its own tick
    bool in_tick_ = false;
    bool allow_timer_ = false;
    uint16_t init_pause_ = 500;
    uint16_t repeat_interval_ = 100;
    TExGlyphState state_ = rgsUp;
};
