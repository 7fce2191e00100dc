#include "controls/combo_edit.h"

#include <algorithm>

#include "classlib/core/class_builder.h"
#include "classlib/core/scope_exit.h"
#include "classlib/gui/forms.h"
#include "classlib/gui/graphics_objects.h"
#include "classlib/gui/scoped_win32.h"

DEFINE_ENUM_TYPE(TGlyphKind, "gkCustom", "gkDefault", "gkDropDown", "gkEllipsis")

namespace {

constexpr int kNaturalButtonWidth = 21;
constexpr int kHolderHeight = 17;
constexpr int kDropDownBitmap = 32738;  // the system's combo-box arrow

// The text height the box needs: the smaller of the system font's and the
// box's font's.
int TextHeight(const TFont& font) {
    TWindowDC screen(nullptr);
    TEXTMETRICA system{}, own{};
    {
        TSelectedObject selected(screen, GetStockObject(SYSTEM_FONT));
        GetTextMetricsA(screen, &system);
    }
    {
        TSelectedObject selected(screen, FontHandle(font));
        GetTextMetricsA(screen, &own);
    }
    return std::min(system.tmHeight, own.tmHeight);
}

DWORD AlignmentStyle(TAlignment alignment) {
    switch (alignment) {
    case taRightJustify: return ES_RIGHT;
    case taCenter: return ES_CENTER;
    default: return ES_LEFT;
    }
}

}  // namespace

TShortCut KeyToShortCut(WORD key, TShiftState shift) {
    if (key > 0xFF) return 0;
    TShortCut result = key;
    if (shift.Contains(ssShift)) result |= 0x2000;
    if (shift.Contains(ssCtrl)) result |= 0x4000;
    if (shift.Contains(ssAlt)) result |= 0x8000;
    return result;
}

const TClassInfo& TComboEditPopup::StaticClass() {
    static const TClassInfo info =
        DefineClass<TComboEditPopup>("TComboEditPopup", &TCustomControl::StaticClass(), [](auto&) {});
    return info;
}

// --- TEditButton -----------------------------------------------------------

const TClassInfo& TEditButton::StaticClass() {
    static const TClassInfo info =
        DefineClass<TEditButton>("TEditButton", &TExSpeedButton::StaticClass(), [](auto&) {});
    return info;
}

TEditButton::TEditButton(TComponent* owner) : TExSpeedButton(owner) {
    SetControlStyle(ControlStyle() + csReplicatable);
    SetParentShowHint(true);
}

TCustomComboEdit* TEditButton::Box() const {
    return dynamic_cast<TCustomComboEdit*>(Owner());
}

void TEditButton::Paint() {
    TExSpeedButton::Paint();
    if (State() == rgsDown) return;
    // The seam between the box's text and the button.
    TCanvas& canvas = *Canvas();
    canvas.Pen().SetColor(clBtnFace);
    canvas.MoveTo(0, 0);
    canvas.LineTo(0, Height() - 1);
    canvas.Pen().SetColor(clBtnHighlight);
    canvas.MoveTo(1, 1);
    canvas.LineTo(1, Height() - 2);
}

void TEditButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        TCustomComboEdit* box = Box();
        no_action_ = box && box->Popup() && box->PopupVisible();
        if (box && box->PopupVisible()) {
            box->PopupCloseUp(true);
        } else if (box && box->TabStop() && box->CanFocus() && GetFocus() != box->Handle()) {
            box->SetFocus();
        }
    }
    TExSpeedButton::MouseDown(button, shift, x, y);
}

void TEditButton::Click() {
    if (no_action_) {
        no_action_ = false;
        return;
    }
    TExSpeedButton::Click();
}

// --- TCustomComboEdit --------------------------------------------------------

const TClassInfo& TCustomComboEdit::StaticClass() {
    static const TClassInfo info =
        DefineClass<TCustomComboEdit>("TCustomComboEdit", &TCustomEdit::StaticClass(), [](auto& c) {
            PROPERTY(c, ButtonHint).Hidden();
            PROPERTY(c, ButtonWidth).NoDefaultValue().StoredIf(&TCustomComboEdit::IsButtonWidthStored).Hidden();
            PROPERTY(c, ClickKey).Default(AltDownShortCut).Hidden();
            PROPERTY(c, DirectInput).Default(true).Hidden();
            PROPERTY(c, GlyphKind).Default(gkDefault).Hidden();
            PROPERTY(c, Glyph).StoredIf([](const TCustomComboEdit& e) { return e.GlyphKind() == gkCustom; }).Hidden();
            PROPERTY(c, NumGlyphs).NoDefaultValue().Hidden();
            PROPERTY(c, ReadOnly).Default(false).Hidden();
            EVENT(c, OnButtonClick).Hidden();
        });
    return info;
}

TCustomComboEdit::TCustomComboEdit(TComponent* owner) : TCustomEdit(owner) {
    SetControlStyle(ControlStyle() + csCaptureMouse);
    SetAutoSize(false);
    holder_ = New<TWinControl>(this);
    holder_->SetControlStyle(holder_->ControlStyle() + csReplicatable);
    holder_->SetBounds(0, 0, kNaturalButtonWidth, kHolderHeight);
    holder_->SetVisible(true);
    holder_->SetParent(this);
    button_ = New<TEditButton>(this);
    button_->SetBounds(0, 0, holder_->Width(), holder_->Height());
    button_->SetVisible(true);
    button_->SetParent(holder_);
    button_->OnClick = [this](TObject*) { EditButtonClick(); };
    SetHeight(21);
}

TCustomComboEdit::~TCustomComboEdit() {
    if (button_) button_->OnClick = nullptr;
    if (popup_) popup_->RemoveFreeNotification(this);
}

void TCustomComboEdit::Notification(TComponent* component, TOperation operation) {
    TCustomEdit::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == popup_) {
        popup_ = nullptr;
        popup_visible_ = false;
    }
    if (component == button_) button_ = nullptr;
    if (component == holder_) holder_ = nullptr;
}

// The button and its holder are parts of the box, never children in a
// layout.
void TCustomComboEdit::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) {
    TCustomEdit::GetChildren(
        [&](TComponent* child) {
            if (child != holder_) proc(child);
        },
        root);
}

void TCustomComboEdit::SetPopup(TComboEditPopup* popup) {
    if (popup_ == popup) return;
    if (popup_) popup_->RemoveFreeNotification(this);
    popup_ = popup;
    popup_visible_ = false;
    if (popup_) popup_->FreeNotification(this);
}

void TCustomComboEdit::SetAlignment(TAlignment value) {
    if (alignment_ == value) return;
    alignment_ = value;
    RecreateWnd();
}

void TCustomComboEdit::CreateParams(TCreateParams& params) {
    TCustomEdit::CreateParams(params);
    // Multi-line lets the formatting rectangle end before the button.
    params.Style |= ES_MULTILINE | WS_CLIPCHILDREN | AlignmentStyle(alignment_);
}

void TCustomComboEdit::CreateWnd() {
    TCustomEdit::CreateWnd();
    UpdateButtonBounds();
}

void TCustomComboEdit::SetEditRect() {
    if (!HandleAllocated() || !holder_) return;
    RECT rect{0, 0, ClientWidth() - holder_->Width() - 2, ClientHeight() + 1};
    SendMessageA(handle_, EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&rect));
}

void TCustomComboEdit::UpdateButtonBounds() {
    UpdateButtonBounds(Width(), Height());
}

void TCustomComboEdit::UpdateButtonBounds(int boxWidth, int boxHeight) {
    if (!holder_ || !button_) return;
    const int width = button_->Width();
    // Every platform we run on has the newer controls.
    if (BorderStyle() == bsSingle && Ctl3D())
        holder_->SetBounds(boxWidth - width - 4, 0, width, boxHeight - 4);
    else if (BorderStyle() == bsSingle)
        holder_->SetBounds(boxWidth - width - 2, 2, width, boxHeight - 4);
    else
        holder_->SetBounds(boxWidth - width, 0, width, boxHeight);
    button_->SetHeight(holder_->Height());
    SetEditRect();
}

int32_t TCustomComboEdit::MinHeight() {
    return TextHeight(*Font()) + 4 * GetSystemMetrics(SM_CYBORDER) + 1;
}

void TCustomComboEdit::SetButtonWidth(int32_t value) {
    if (!button_ || value == button_->Width()) return;
    holder_->SetVisible(value > 1);
    if (ControlState().Contains(csCreating)) {
        holder_->SetWidth(value);
        button_->SetWidth(value);
        button_->SetControlStyle(button_->ControlStyle() - csFixedWidth);
        RecreateGlyph();
    } else if (value < ClientWidth()) {
        button_->SetWidth(value);
        button_->SetControlStyle(button_->ControlStyle() - csFixedWidth);
        if (HandleAllocated()) RecreateWnd();
        RecreateGlyph();
    }
}

int32_t TCustomComboEdit::NaturalButtonWidth() const {
    if (glyph_kind_ == gkDefault && Glyph() && !Glyph()->Empty() && NumGlyphs() > 0)
        return std::max(Glyph()->Width() / NumGlyphs() + 6, kNaturalButtonWidth);
    if (glyph_kind_ == gkDropDown) return GetSystemMetrics(SM_CXVSCROLL);
    return kNaturalButtonWidth;
}

bool TCustomComboEdit::IsButtonWidthStored() const {
    return ButtonWidth() != NaturalButtonWidth();
}

void TCustomComboEdit::SetGlyph(TBitmap* value) {
    button_->SetGlyph(value);
    glyph_kind_ = gkCustom;
}

void TCustomComboEdit::SetNumGlyphs(int32_t value) {
    switch (glyph_kind_) {
    case gkDropDown:
    case gkEllipsis: button_->SetNumGlyphs(1); break;
    case gkDefault: button_->SetNumGlyphs(default_num_glyphs_); break;
    case gkCustom: button_->SetNumGlyphs(value); break;
    }
}

void TCustomComboEdit::SetGlyphKind(TGlyphKind value) {
    if (glyph_kind_ == value) return;
    glyph_kind_ = value;
    if (value == gkCustom && ComponentState().Contains(csReading)) button_->SetGlyph(nullptr);
    RecreateGlyph();
    if (value == gkDefault && Glyph() && !Glyph()->Empty()) {
        SetButtonWidth(std::max(Glyph()->Width() / std::max(NumGlyphs(), 1) + 6, button_->Width()));
    } else if (value == gkDropDown) {
        SetButtonWidth(GetSystemMetrics(SM_CXVSCROLL));
        button_->SetControlStyle(button_->ControlStyle() + csFixedWidth);
    }
}

TBitmap* TCustomComboEdit::DefaultBitmap(bool& destroyNeeded) {
    destroyNeeded = false;
    return nullptr;
}

void TCustomComboEdit::RecreateGlyph() {
    switch (glyph_kind_) {
    case gkCustom: return;
    case gkDefault: {
        bool destroyNeeded = false;
        TBitmap* bitmap = DefaultBitmap(destroyNeeded);
        TScopeExit release([&] {
            if (destroyNeeded && bitmap) bitmap->Free();
        });
        button_->SetGlyph(bitmap);
        button_->SetNumGlyphs(default_num_glyphs_);
        return;
    }
    case gkDropDown:
        button_->Glyph()->SetHandle(LoadBitmapA(nullptr, MAKEINTRESOURCEA(kDropDownBitmap)));
        button_->SetNumGlyphs(1);
        return;
    case gkEllipsis: MakeEllipsisGlyph(); return;
    }
}

// Three 2 x 2 dots, centred with gaps of 1 to 3 pixels.
void TCustomComboEdit::MakeEllipsisGlyph() {
    TOwned<TBitmap> bitmap(New<TBitmap>());
    bitmap->SetMonochrome(true);
    const int width = std::max(1, button_->Width() - 6);
    bitmap->SetSize(width, 4);
    constexpr int dot = 2;
    const int gap = std::clamp((width - 6) / 2, 1, 3);
    const int first = (width - 6 - 2 * gap) / 2;
    HDC dc = bitmap->Canvas()->Handle();
    PatBlt(dc, 0, 0, width, 4, WHITENESS);
    for (int i = 0; i < 3; ++i) PatBlt(dc, first + i * (gap + dot), 1, dot, dot, BLACKNESS);
    button_->SetGlyph(bitmap.get());
    button_->SetNumGlyphs(1);
}

void TCustomComboEdit::SetDirectInput(bool value) {
    direct_input_ = value;
    ApplyEditReadOnly();
}

void TCustomComboEdit::SetReadOnly(bool value) {
    if (read_only_ == value) return;
    read_only_ = value;
    ApplyEditReadOnly();
}

void TCustomComboEdit::EditButtonClick() {
    if (!read_only_ || always_enable_) ButtonClick();
}

void TCustomComboEdit::ButtonClick() {
    if (OnButtonClick) OnButtonClick(this);
    if (!popup_) return;
    if (popup_visible_) PopupCloseUp(true);
    else PopupDropDown(true);
}

void TCustomComboEdit::Change() {
    if (popup_visible_) PopupChange();
    else TCustomEdit::Change();
}

void TCustomComboEdit::KeyDown(WORD& key, TShiftState shift) {
    TCustomEdit::KeyDown(key, shift);
    if (key != 0 && KeyToShortCut(key, shift) == click_key_ && ButtonWidth() > 0) {
        EditButtonClick();
        key = 0;
    }
}

void TCustomComboEdit::KeyPress(char& key) {
    if (key != '\r' && key != '\x1B') {
        TCustomEdit::KeyPress(key);
        return;
    }
    if (popup_visible_) {
        PopupCloseUp(key == '\r');
        key = 0;
        return;
    }
    // The form's default or cancel button answers; a box without a form
    // has nobody to forward to.
    if (TCustomForm* form = ParentForm()) form->Perform(CM_DIALOGKEY, static_cast<unsigned char>(key), 0);
    TCustomEdit::KeyPress(key);
    // A multi-line edit would insert a line break.
    if (key == '\r') key = 0;
}

void TCustomComboEdit::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (popup_ && button == mbLeft) {
        if (CanFocus()) SetFocus();
        if (!focused_) return;
        if (popup_visible_) PopupCloseUp(false);
    }
    TCustomEdit::MouseDown(button, shift, x, y);
}

// --- the popup ----------------------------------------------------------------

void TCustomComboEdit::ShowPopup(TPoint origin) {
    SetWindowPos(popup_->Handle(), HWND_TOP, origin.x, origin.y, 0, 0, SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOSIZE);
    popup_->SetVisible(true);
}

void TCustomComboEdit::HidePopup() {
    SetWindowPos(popup_->Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    popup_->SetVisible(false);
}

bool TCustomComboEdit::AcceptPopup(TPopupValue&) {
    return true;
}

void TCustomComboEdit::AcceptValue(const TPopupValue& value) {
    const std::string text = value.value_or("");
    if (Text() == text) return;
    SetText(text);
    SetModified(true);
    popup_visible_ = popup_ && popup_->Visible();
    TCustomEdit::Change();
}

void TCustomComboEdit::SetPopupValue(const TPopupValue& value) {
    if (popup_) popup_->SetValue(value);
}

TPopupValue TCustomComboEdit::PopupValue() {
    return popup_ ? popup_->Value() : TPopupValue("");
}

void TCustomComboEdit::PopupDropDown(bool disableEdit) {
    if (!popup_ || ReadOnly() || popup_visible_) return;
    TPoint p = Parent() ? Parent()->ClientToScreen(Point(Left(), Top())) : Point(Left(), Top());
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    int y = p.y + Height();
    if (y + popup_->Height() > screenHeight) y = p.y - popup_->Height();
    if (popup_align_ == 0) {
        const int saved = p.x;
        p.x -= popup_->Width() - Width();
        if (p.x < 0) p.x = saved;
    } else if (p.x + popup_->Width() > screenWidth) {
        p.x -= popup_->Width() - Width();
    }
    if (p.x < 0) p.x = 0;
    else if (p.x + popup_->Width() > screenWidth) p.x = screenWidth - popup_->Width();
    const std::string text = Text();
    SetPopupValue(text.empty() ? TPopupValue() : TPopupValue(text));
    if (CanFocus()) SetFocus();
    ShowPopup(Point(p.x, y));
    popup_visible_ = true;
    if (disableEdit) {
        TCustomEdit::SetReadOnly(true);
        if (HandleAllocated()) HideCaret(handle_);
    }
}

void TCustomComboEdit::PopupCloseUp(bool accept) {
    if (!popup_ || !popup_visible_) return;
    TScopeExit hidden([this] { popup_visible_ = false; });
    if (HWND capture = GetCapture()) SendMessageA(capture, WM_CANCELMODE, 0, 0);
    TPopupValue value = PopupValue();
    HidePopup();
    try {
        if (CanFocus()) {
            SetFocus();
            if (Focused()) CreateFocusCaret();
        }
    } catch (...) {
        // The value still counts when the focus cannot come back.
    }
    ApplyEditReadOnly();
    Invalidate();
    if (accept && AcceptPopup(value) && CanModify()) {
        AcceptValue(value);
        if (focused_) SelectAll();
    }
}

// --- messages ------------------------------------------------------------------

void TCustomComboEdit::CreateFocusCaret() {
    const int width = Font()->Style().Contains(fsBold) ? 2 : 1;
    CreateCaret(handle_, nullptr, width, TextHeight(*Font()));
    ShowCaret(handle_);
}

void TCustomComboEdit::Dispatch(TMessage& m) {
    switch (m.Msg) {
    case WM_SIZE: {
        TCustomEdit::Dispatch(m);
        // The bounds are taken from the window after this message: its
        // own rectangle tells the new size.
        RECT window;
        GetWindowRect(handle_, &window);
        const int width = window.right - window.left, height = window.bottom - window.top;
        if (!ComponentState().Contains(csLoading)) {
            const int minimum = MinHeight();
            // The resize comes back through here.
            if (height < minimum) {
                SetWindowPos(handle_, nullptr, 0, 0, width, minimum, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
                return;
            }
        }
        UpdateButtonBounds(width, height);
        return;
    }
    case CM_CTL3DCHANGED:
        TCustomEdit::Dispatch(m);
        UpdateButtonBounds();
        return;
    case CM_FONTCHANGED:
        TCustomEdit::Dispatch(m);
        SetEditRect();
        return;
    case CM_ENABLEDCHANGED:
        TCustomEdit::Dispatch(m);
        if (button_) button_->SetEnabled(Enabled());
        return;
    case CM_CANCELMODE: {
        auto* sender = reinterpret_cast<TControl*>(m.LParam);
        if (sender != this && sender != popup_ && sender != button_ && popup_ &&
            !popup_->ContainsControl(sender))
            PopupCloseUp(false);
        return;
    }
    case CM_ENTER:
        if (AutoSelect() && !ControlState().Contains(csLButtonDown) && direct_input_) SelectAll();
        TCustomEdit::Dispatch(m);
        return;
    case CN_CTLCOLOREDIT: {
        TCustomEdit::Dispatch(m);
        TColor color = Font()->Color();
        if (!Enabled() && ColorToRGB(Color()) != ColorToRGB(clGrayText)) color = clGrayText;
        SetTextColor(reinterpret_cast<HDC>(m.WParam), static_cast<COLORREF>(ColorToRGB(color)));
        return;
    }
    case WM_SETFOCUS:
        TCustomEdit::Dispatch(m);
        focused_ = true;
        CreateFocusCaret();
        return;
    case WM_KILLFOCUS:
        TCustomEdit::Dispatch(m);
        focused_ = false;
        PopupCloseUp(false);
        return;
    case WM_PASTE:
    case WM_CUT:
        if (direct_input_ && !ReadOnly()) TCustomEdit::Dispatch(m);
        return;
    }
    TCustomEdit::Dispatch(m);
}
