// TCustomComboEdit: a single-line edit box with a small push button at its
// right edge (TEditButton). The button, or the click key (Alt+Down unless
// changed), runs the box's button action. The box can also drop a popup
// control down that shows and takes a value; the programs set none, so
// those paths wait for one.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "classlib/core/alignment.h"
#include "classlib/gui/graphic_control.h"
#include "classlib/stdctrls/edit.h"
#include "controls/ex_speed_button.h"

// A key with its modifiers in one word: the key code plus $2000 for Shift,
// $4000 for Ctrl and $8000 for Alt.
using TShortCut = uint16_t;
TShortCut KeyToShortCut(WORD key, TShiftState shift);
constexpr TShortCut AltDownShortCut = 0x8028;

enum TGlyphKind { gkCustom, gkDefault, gkDropDown, gkEllipsis };
DECLARE_ENUM_TYPE(TGlyphKind)

// A popup's value: a text, or none (an empty box).
using TPopupValue = std::optional<std::string>;

// What a combo edit can drop down: a control that shows a value and gives
// one back.
class TComboEditPopup : public TCustomControl {
    DECLARE_CLASS(TComboEditPopup, TCustomControl)
public:
    explicit TComboEditPopup(TComponent* owner) : TCustomControl(owner) {}
    virtual TPopupValue Value() = 0;
    virtual void SetValue(const TPopupValue& value) = 0;
};

class TCustomComboEdit;

// The combo edit's button: a speed button whose press first moves the
// focus into its box (or closes the box's popup).
class TEditButton : public TExSpeedButton {
    DECLARE_CLASS(TEditButton, TExSpeedButton)
public:
    explicit TEditButton(TComponent* owner);
    void Click() override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    TCustomComboEdit* Box() const;
    bool no_action_ = false;
};

class TCustomComboEdit : public TCustomEdit {
    DECLARE_CLASS(TCustomComboEdit, TCustomEdit)
public:
    explicit TCustomComboEdit(TComponent* owner);
    ~TCustomComboEdit() override;

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    const std::string& ButtonHint() const { return button_->Hint(); }
    void SetButtonHint(const std::string& value) { button_->SetHint(value); }
    int32_t ButtonWidth() const { return button_->Width(); }
    // Ignored from the width of the box on (once created).
    void SetButtonWidth(int32_t value);
    TShortCut ClickKey() const { return click_key_; }
    void SetClickKey(TShortCut value) { click_key_ = value; }
    // Off: the text changes only through the button or by code.
    bool DirectInput() const { return direct_input_; }
    void SetDirectInput(bool value);
    TBitmap* Glyph() const { return button_->Glyph(); }
    void SetGlyph(TBitmap* value);
    TGlyphKind GlyphKind() const { return glyph_kind_; }
    void SetGlyphKind(TGlyphKind value);
    int32_t NumGlyphs() const { return button_->NumGlyphs(); }
    void SetNumGlyphs(int32_t value);
    // Read-only boxes ignore the button and the click key too.
    virtual bool ReadOnly() const { return read_only_; }
    void SetReadOnly(bool value);
    // The button works in a read-only box as well.
    bool AlwaysEnable() const { return always_enable_; }
    void SetAlwaysEnable(bool value) { always_enable_ = value; }
    int32_t HelpContext() const { return help_context_; }
    void SetHelpContext(int32_t value) { help_context_ = value; }

    TEditButton* Button() const { return button_; }
    TWinControl* ButtonHolder() const { return holder_; }
    // The least height that shows the text.
    int32_t MinHeight();

    TComboEditPopup* Popup() const { return popup_; }
    void SetPopup(TComboEditPopup* popup);
    bool PopupVisible() const { return popup_visible_; }
    // 0: the popup's right edge at the box's; 1: its left edge.
    uint8_t PopupAlign() const { return popup_align_; }
    void SetPopupAlign(uint8_t value) { popup_align_ = value; }
    void PopupDropDown(bool disableEdit);
    void PopupCloseUp(bool accept);

    void Dispatch(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;
    void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;

    TNotifyEvent OnButtonClick;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Change() override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyPress(char& key) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

    // The picture of gkDefault; set `destroyNeeded` when the caller frees it.
    virtual TBitmap* DefaultBitmap(bool& destroyNeeded);
    virtual void ShowPopup(TPoint origin);
    virtual void HidePopup();
    virtual bool AcceptPopup(TPopupValue& value);
    virtual void AcceptValue(const TPopupValue& value);
    virtual void SetPopupValue(const TPopupValue& value);
    virtual TPopupValue PopupValue();
    virtual void PopupChange() {}
    // The button's action: OnButtonClick (descendants add their dialogs).
    virtual void ButtonClick();
    // The button and the click key lead here.
    void EditButtonClick();
    bool CanModify() const { return !read_only_; }
    // Whether the edit takes keys and pastes itself (ReadOnly or not
    // DirectInput make it read-only).
    void ApplyEditReadOnly() { TCustomEdit::SetReadOnly(read_only_ || !direct_input_); }
    void RecreateGlyph();
    void SetEditRect();
    void UpdateButtonBounds();
    void UpdateButtonBounds(int boxWidth, int boxHeight);
    bool IsButtonWidthStored() const;
    int32_t NaturalButtonWidth() const;

private:
    friend class TEditButton;
    void MakeEllipsisGlyph();
    void CreateFocusCaret();

    TEditButton* button_ = nullptr;
    TWinControl* holder_ = nullptr;
    TShortCut click_key_ = AltDownShortCut;
    bool read_only_ = false;
    bool direct_input_ = true;
    bool always_enable_ = false;
    TAlignment alignment_ = taLeftJustify;
    bool popup_visible_ = false;
    bool focused_ = false;
    uint8_t popup_align_ = 0;
    TGlyphKind glyph_kind_ = gkCustom;
    TComboEditPopup* popup_ = nullptr;
    int32_t default_num_glyphs_ = 1;
    int32_t help_context_ = 0;
};
