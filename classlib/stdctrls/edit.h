// TEdit: the system single-line edit. OnChange reports every real change
// of the text: typing, and setting Text from code (not setting the text it
// already has), before the window exists too. Text, selection and the
// modified flag live in the window once it exists and are kept without it.
#pragma once
#include "classlib/gui/wincontrol.h"

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
DECLARE_ENUM_TYPE(TEditCharCase)

class TCustomEdit : public TWinControl {
    DECLARE_CLASS(TCustomEdit, TWinControl)
public:
    explicit TCustomEdit(TComponent* owner);

    // Selects the whole text when the focus arrives by keyboard.
    bool AutoSelect() const { return auto_select_; }
    void SetAutoSelect(bool value) { auto_select_ = value; }
    // The height follows the font (single border only).
    bool AutoSize() const { return auto_size_; }
    void SetAutoSize(bool value);
    TBorderStyle BorderStyle() const { return border_style_; }
    void SetBorderStyle(TBorderStyle value);
    // Typed and assigned text is converted to this case.
    TEditCharCase CharCase() const { return char_case_; }
    void SetCharCase(TEditCharCase value);
    bool HideSelection() const { return hide_selection_; }
    void SetHideSelection(bool value);
    // Characters the user may type; 0: no limit.
    int32_t MaxLength() const { return max_length_; }
    void SetMaxLength(int32_t value);
    bool Modified() const;
    void SetModified(bool value);
    char PasswordChar() const { return password_char_; }
    void SetPasswordChar(char value);
    bool ReadOnly() const { return read_only_; }
    void SetReadOnly(bool value);

    int32_t SelStart() const;
    void SetSelStart(int32_t value);
    int32_t SelLength() const;
    void SetSelLength(int32_t value);
    std::string SelText() const;
    void SetSelText(const std::string& value);
    void SelectAll();
    void ClearSelection() { SetSelText(""); }
    void Clear() { SetText(""); }

    void Dispatch(TMessage& message) override;

    TNotifyEvent OnChange;

protected:
    virtual void Change();
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void SetTextValue(const std::string& value) override;
    // The text as the control's case rule turns it.
    std::string ApplyCharCase(const std::string& text) const;
    // Sets the height the font needs (AutoSize with a single border).
    void UpdateHeight();

private:
    void AdjustHeight();
    void Selection(int32_t& start, int32_t& end) const;
    void SetSelection(int32_t start, int32_t end);

    bool auto_select_ = true;
    bool auto_size_ = true;
    TBorderStyle border_style_ = bsSingle;
    TEditCharCase char_case_ = ecNormal;
    bool hide_selection_ = true;
    int32_t max_length_ = 0;
    bool modified_ = false;
    char password_char_ = 0;
    bool read_only_ = false;
    // The selection while there is no window.
    int32_t sel_start_ = 0, sel_end_ = 0;
    // EN_CHANGE of the window's creation and of our own text changes are
    // not the user's: Change runs for those from SetTextValue.
    bool creating_ = false;
    int quiet_changes_ = 0;
};

class TEdit : public TCustomEdit {
    DECLARE_CLASS(TEdit, TCustomEdit)
public:
    explicit TEdit(TComponent* owner) : TCustomEdit(owner) {}
};
