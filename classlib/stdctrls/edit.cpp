#include "classlib/stdctrls/edit.h"

#include <algorithm>

#include "classlib/core/class_builder.h"
#include "classlib/gui/graphics_objects.h"
#include "classlib/core/scoped_count.h"
#include "classlib/gui/scoped_win32.h"

DEFINE_ENUM_TYPE(TEditCharCase, "ecNormal", "ecUpperCase", "ecLowerCase")

const TClassInfo& TCustomEdit::StaticClass() {
    static const TClassInfo info = DefineClass<TCustomEdit>("TCustomEdit", &TWinControl::StaticClass(), [](auto& c) {
        PROPERTY(c, AutoSelect).Default(true).Hidden();
        PROPERTY(c, AutoSize).Default(true).Hidden();
        PROPERTY(c, BorderStyle, BorderStyleType()).Default(bsSingle).Hidden();
        PROPERTY(c, CharCase).Default(ecNormal).Hidden();
        PROPERTY(c, HideSelection).Default(true).Hidden();
        PROPERTY(c, MaxLength).Default(0).Hidden();
        PROPERTY(c, PasswordChar).Default(0).Hidden();
        PROPERTY(c, ReadOnly).Default(false).Hidden();
        EVENT(c, OnChange).Hidden();
    });
    return info;
}

const TClassInfo& TEdit::StaticClass() {
    static const TClassInfo info = DefineClass<TEdit>("TEdit", &TCustomEdit::StaticClass(), [](auto& c) {
        c.Creatable();
        c.PublishAll("AutoSelect", "AutoSize", "BorderStyle", "CharCase", "Color", "Ctl3D", "DragCursor",
                     "DragMode", "Enabled", "Font", "HideSelection", "MaxLength", "ParentColor", "ParentCtl3D",
                     "ParentFont", "ParentShowHint", "PasswordChar", "ReadOnly", "ShowHint", "TabOrder", "TabStop",
                     "Text", "Visible", "OnChange", "OnClick", "OnDblClick", "OnEnter", "OnExit", "OnKeyDown",
                     "OnKeyPress", "OnKeyUp", "OnMouseDown", "OnMouseMove", "OnMouseUp");
        c.Publish("ParentColor").Default(false);
        c.Publish("TabStop").Default(true);
    });
    return info;
}

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
    SetControlStyle(TControlStyle{csClickEvents, csSetCaption, csDoubleClicks, csFixedHeight});
    SetBounds(0, 0, 121, 25);
    SetTabStop(true);
    SetParentColor(false);
    AdjustHeight();
}

std::string TCustomEdit::ApplyCharCase(const std::string& text) const {
    if (char_case_ == ecNormal || text.empty()) return text;
    std::string result = text;
    DWORD n = static_cast<DWORD>(result.size());
    if (char_case_ == ecUpperCase) CharUpperBuffA(result.data(), n);
    else CharLowerBuffA(result.data(), n);
    return result;
}

void TCustomEdit::SetTextValue(const std::string& value) {
    std::string text = ApplyCharCase(value);
    std::string old = GetText();
    if (text == old) return;
    {
        TScopedCount quiet(quiet_changes_);
        TWinControl::SetTextValue(text);
    }
    // Like the window, text set from code is not a modification.
    if (!HandleAllocated()) modified_ = false;
    if (GetText() != old) Change();
}

void TCustomEdit::Change() {
    if (OnChange) OnChange(this);
}

void TCustomEdit::SetAutoSize(bool value) {
    if (auto_size_ == value) return;
    auto_size_ = value;
    UpdateHeight();
}

void TCustomEdit::SetBorderStyle(TBorderStyle value) {
    if (border_style_ == value) return;
    border_style_ = value;
    UpdateHeight();
    RecreateWnd();
}

void TCustomEdit::SetCharCase(TEditCharCase value) {
    if (char_case_ == value) return;
    char_case_ = value;
    RecreateWnd();
    SetText(Text());
}

void TCustomEdit::SetHideSelection(bool value) {
    if (hide_selection_ == value) return;
    hide_selection_ = value;
    RecreateWnd();
}

void TCustomEdit::SetMaxLength(int32_t value) {
    if (value < 0) value = 0;
    if (max_length_ == value) return;
    max_length_ = value;
    if (HandleAllocated()) SendMessageA(handle_, EM_LIMITTEXT, static_cast<WPARAM>(max_length_), 0);
}

bool TCustomEdit::Modified() const {
    if (HandleAllocated()) return SendMessageA(handle_, EM_GETMODIFY, 0, 0) != 0;
    return modified_;
}

void TCustomEdit::SetModified(bool value) {
    modified_ = value;
    if (HandleAllocated()) SendMessageA(handle_, EM_SETMODIFY, value ? TRUE : FALSE, 0);
}

void TCustomEdit::SetPasswordChar(char value) {
    if (password_char_ == value) return;
    password_char_ = value;
    if (HandleAllocated()) {
        SendMessageA(handle_, EM_SETPASSWORDCHAR, static_cast<unsigned char>(value), 0);
        Invalidate();
    }
}

void TCustomEdit::SetReadOnly(bool value) {
    if (read_only_ == value) return;
    read_only_ = value;
    if (HandleAllocated()) SendMessageA(handle_, EM_SETREADONLY, value ? TRUE : FALSE, 0);
}

void TCustomEdit::Selection(int32_t& start, int32_t& end) const {
    if (HandleAllocated()) {
        DWORD s = 0, e = 0;
        SendMessageA(handle_, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
        start = static_cast<int32_t>(s);
        end = static_cast<int32_t>(e);
        return;
    }
    int32_t length = static_cast<int32_t>(StoredText().size());
    start = std::clamp(sel_start_, 0, length);
    end = std::clamp(sel_end_, start, length);
}

void TCustomEdit::SetSelection(int32_t start, int32_t end) {
    if (HandleAllocated()) {
        SendMessageA(handle_, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
        SendMessageA(handle_, EM_SCROLLCARET, 0, 0);
        return;
    }
    int32_t length = static_cast<int32_t>(StoredText().size());
    sel_start_ = std::clamp(start, 0, length);
    sel_end_ = std::clamp(end, sel_start_, length);
}

int32_t TCustomEdit::SelStart() const {
    int32_t start, end;
    Selection(start, end);
    return start;
}

void TCustomEdit::SetSelStart(int32_t value) {
    SetSelection(value, value);
}

int32_t TCustomEdit::SelLength() const {
    int32_t start, end;
    Selection(start, end);
    return end - start;
}

void TCustomEdit::SetSelLength(int32_t value) {
    int32_t start, end;
    Selection(start, end);
    SetSelection(start, start + std::max(value, 0));
}

std::string TCustomEdit::SelText() const {
    int32_t start, end;
    Selection(start, end);
    std::string text = Text();
    if (start >= end || static_cast<size_t>(start) >= text.size()) return "";
    return text.substr(static_cast<size_t>(start), static_cast<size_t>(end - start));
}

void TCustomEdit::SetSelText(const std::string& value) {
    int32_t start, end;
    Selection(start, end);
    std::string old = Text();
    if (HandleAllocated()) {
        {
            TScopedCount quiet(quiet_changes_);
            SendMessageA(handle_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(value.c_str()));
        }
        if (GetText() != old) Change();
        return;
    }
    std::string text = old;
    text.replace(static_cast<size_t>(start), static_cast<size_t>(end - start), ApplyCharCase(value));
    int32_t caret = start + static_cast<int32_t>(value.size());
    SetText(text);
    sel_start_ = sel_end_ = caret;
}

void TCustomEdit::SelectAll() {
    if (HandleAllocated()) SendMessageA(handle_, EM_SETSEL, 0, -1);
    else SetSelection(0, static_cast<int32_t>(StoredText().size()));
}

void TCustomEdit::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, "EDIT");
    p.Style |= ES_AUTOHSCROLL | ES_AUTOVSCROLL;
    if (border_style_ == bsSingle) {
        if (Ctl3D()) p.ExStyle |= WS_EX_CLIENTEDGE;
        else p.Style |= WS_BORDER;
    }
    if (password_char_) p.Style |= ES_PASSWORD;
    if (read_only_) p.Style |= ES_READONLY;
    if (char_case_ == ecUpperCase) p.Style |= ES_UPPERCASE;
    if (char_case_ == ecLowerCase) p.Style |= ES_LOWERCASE;
    if (!hide_selection_) p.Style |= ES_NOHIDESEL;
    p.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TCustomEdit::CreateWnd() {
    {
        creating_ = true;
        TScopeExit created([this] { creating_ = false; });
        TWinControl::CreateWnd();
    }
    SendMessageA(handle_, EM_LIMITTEXT, static_cast<WPARAM>(max_length_), 0);
    SendMessageA(handle_, EM_SETMODIFY, modified_ ? TRUE : FALSE, 0);
    if (password_char_) SendMessageA(handle_, EM_SETPASSWORDCHAR, static_cast<unsigned char>(password_char_), 0);
    int32_t length = static_cast<int32_t>(StoredText().size());
    SendMessageA(handle_, EM_SETSEL, static_cast<WPARAM>(std::clamp(sel_start_, 0, length)),
                 static_cast<LPARAM>(std::clamp(sel_end_, 0, length)));
    UpdateHeight();
}

void TCustomEdit::DestroyWnd() {
    modified_ = Modified();
    Selection(sel_start_, sel_end_);
    TWinControl::DestroyWnd();
}

void TCustomEdit::AdjustHeight() {
    TEXTMETRICA metrics{};
    {
        TWindowDC screen(nullptr);
        TSelectedObject font(screen, FontHandle(*Font()));
        GetTextMetricsA(screen, &metrics);
    }
    int border = GetSystemMetrics(SM_CYBORDER) * (Ctl3D() ? 8 : 6);
    SetHeight(metrics.tmHeight + border);
}

void TCustomEdit::UpdateHeight() {
    if (auto_size_ && border_style_ == bsSingle) {
        SetControlStyle(ControlStyle() + csFixedHeight);
        AdjustHeight();
    } else {
        SetControlStyle(ControlStyle() - csFixedHeight);
    }
}

void TCustomEdit::Dispatch(TMessage& m) {
    switch (m.Msg) {
    case CN_COMMAND:
        if (HIWORD(m.WParam) == EN_CHANGE && !creating_ && quiet_changes_ == 0) Change();
        return;
    case CM_ENTER:
        // Tabbing into a single-line edit selects its text; a click places
        // the caret instead.
        if (auto_select_ && !ControlState().Contains(csLButtonDown) && HandleAllocated() &&
            !(GetWindowLongA(handle_, GWL_STYLE) & ES_MULTILINE))
            SelectAll();
        break;
    case CM_FONTCHANGED:
        TWinControl::Dispatch(m);
        if (ControlStyle().Contains(csFixedHeight)) AdjustHeight();
        return;
    }
    TWinControl::Dispatch(m);
}
