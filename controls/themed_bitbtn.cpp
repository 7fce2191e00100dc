#include "controls/themed_bitbtn.h"

#include "classlib/core/class_builder.h"
#include "classlib/core/scope_exit.h"


namespace {
// Visual-style parts and states of the push button.
constexpr int BP_PUSHBUTTON_PART = 1;
constexpr int PBS_HOT_STATE = 1, PBS_PRESSED_STATE = 3, PBS_DISABLED_STATE = 4;
}  // namespace

const TClassInfo& TThemedBitBtn::StaticClass() {
    static const TClassInfo info =
        DefineClass<TThemedBitBtn>("TThemedBitBtn", &TButton::StaticClass(), [](auto& c) {
            c.Creatable();
            c.Publish("Action");
            // TButton's properties as it publishes them; what a kind sets is
            // stored only where it differs from the kind.
            c.Publish("Cancel").StoredIf(&TThemedBitBtn::IsCustom);
            c.Publish("Caption").StoredIf(&TThemedBitBtn::IsCaptionStored);
            c.Publish("Default").StoredIf(&TThemedBitBtn::IsCustom);
            PROPERTY(c, Glyph).StoredIf(&TThemedBitBtn::IsCustom);
            PROPERTY(c, Kind).Default(themed_buttons::bkCustom);
            PROPERTY(c, Layout).Default(blGlyphLeft);
            PROPERTY(c, Margin).Default(-1);
            c.Publish("ModalResult").StoredIf(&TThemedBitBtn::IsCustom);
            PROPERTY(c, NumGlyphs).Default(1).StoredIf(&TThemedBitBtn::IsCustom);
            PROPERTY(c, Style).Default(bsAutoDetect);
            PROPERTY(c, Spacing).Default(4);
        });
    return info;
}

TThemedBitBtn::TThemedBitBtn(TComponent* owner)
    : TButton(owner), canvas_(New<TCanvas>()), glyph_(New<themed_buttons::TButtonGlyph>()) {
    glyph_->OnChange = [this](TObject*) { Invalidate(); };
    SetControlStyle(ControlStyle() + csReflector);
    AcquireThemeLibrary();
    if (ThemesActive()) theme_ = ThemeEntries.OpenThemeData(nullptr, L"BUTTON");
}

TThemedBitBtn::~TThemedBitBtn() {
    // The library stays loaded (the binding's shut-down gives it back).
    if (ThemesActive() && theme_) ThemeEntries.CloseThemeData(theme_);
}

TThemedBitBtn::TKind TThemedBitBtn::Kind() const {
    if (kind_ != themed_buttons::bkCustom &&
        (Default() != themed_buttons::KindIsDefault(kind_) || Cancel() != themed_buttons::KindIsCancel(kind_) ||
         ModalResult() != themed_buttons::KindModalResult(kind_) || glyph_modified_))
        kind_ = themed_buttons::bkCustom;
    return kind_;
}

void TThemedBitBtn::SetKind(TKind value) {
    if (value == kind_) return;
    if (value != themed_buttons::bkCustom) {
        SetDefault(themed_buttons::KindIsDefault(value));
        SetCancel(themed_buttons::KindIsCancel(value));
        // A layout's own caption (read before the kind) stays.
        if (!ComponentState().Contains(csLoading) || Caption().empty()) SetCaption(themed_buttons::KindCaption(value));
        SetModalResult(themed_buttons::KindModalResult(value));
        glyph_->SetGlyph(themed_buttons::LoadKindGlyph(value));
        glyph_->SetNumGlyphs(2);
        glyph_modified_ = false;
    }
    kind_ = value;
    Invalidate();
}

bool TThemedBitBtn::IsCaptionStored() const {
    // The case counts: "&Cancel" on a Cancel button is its own caption.
    return Caption() != themed_buttons::KindCaption(Kind());
}

void TThemedBitBtn::SetGlyph(TBitmap* value) {
    glyph_->SetGlyph(value);
    glyph_modified_ = true;
    Invalidate();
}

void TThemedBitBtn::SetNumGlyphs(int32_t value) {
    if (value > 4) value = 4;
    if (value == glyph_->NumGlyphs()) return;
    glyph_->SetNumGlyphs(value);
    Invalidate();
}

void TThemedBitBtn::SetLayout(TButtonLayout value) {
    ChangeAndInvalidate(layout_, value);
}

void TThemedBitBtn::SetMargin(int32_t value) {
    if (value == margin_ || value < -1) return;
    margin_ = value;
    Invalidate();
}

void TThemedBitBtn::SetSpacing(int32_t value) {
    ChangeAndInvalidate(spacing_, value);
}

void TThemedBitBtn::SetStyle(TButtonStyle value) {
    ChangeAndInvalidate(style_, value);
}

void TThemedBitBtn::Click() {
    // The kind as stored: a Close button closes even when changed since.
    if (kind_ == themed_buttons::bkClose) {
        if (TCustomForm* form = ParentForm()) {
            form->Close();
            return;
        }
    }
    // bkHelp: no control of the class library carries a help context, so
    // the search for one ends at the ordinary click.
    TButton::Click();
}

void TThemedBitBtn::CreateParams(TCreateParams& p) {
    TButton::CreateParams(p);
    p.Style |= BS_OWNERDRAW;
}

void TThemedBitBtn::CreateWnd() {
    const TButtonState state = Enabled() ? bsUp : bsDisabled;
    TButton::CreateWnd();
    // The first paint finds its image ready.
    glyph_->BuildStateImage(state);
}

void TThemedBitBtn::SetButtonStyle(bool isDefault) {
    if (isDefault == looks_active_) return;
    looks_active_ = isDefault;
    if (HandleAllocated()) Refresh();
}

void TThemedBitBtn::DrawItem(const DRAWITEMSTRUCT& item) {
    TCanvas& canvas = *canvas_;
    canvas.SetHandle(item.hDC);
    TScopeExit release([&canvas] { canvas.SetHandle(nullptr); });
    const bool themed = ThemesActive() && theme_;
    TRect r = ClientRect();
    if (themed) {
        // Clears also the corners a themed face leaves open.
        canvas.Pen().SetColor(Color());
        canvas.Brush().SetColor(Color());
        canvas.Brush().SetStyle(bsSolid);
        canvas.Pen().SetWidth(1);
        canvas.Rectangle(r);
    }
    const bool down = (item.itemState & ODS_SELECTED) != 0;
    const bool focused = (item.itemState & ODS_FOCUS) != 0;
    const TButtonState state = !Enabled() ? bsDisabled : down ? bsDown : bsUp;
    UINT flags = DFCS_BUTTONPUSH | DFCS_ADJUSTRECT;
    if (down) flags |= DFCS_PUSHED;
    if (item.itemState & ODS_DISABLED) flags |= DFCS_INACTIVE;

    if ((looks_active_ || focused) && !themed) {
        canvas.Pen().SetColor(clWindowFrame);
        canvas.Pen().SetWidth(1);
        canvas.Brush().SetStyle(bsClear);
        canvas.Rectangle(r);
        InflateRect(&r, -1, -1);
    }
    if (down) {
        if (themed) {
            ThemeEntries.DrawThemeBackground(theme_, canvas.Handle(), BP_PUSHBUTTON_PART, PBS_PRESSED_STATE, &r,
                                             nullptr);
        } else {
            canvas.Pen().SetColor(clBtnShadow);
            canvas.Pen().SetWidth(1);
            canvas.Brush().SetColor(clBtnFace);
            canvas.Brush().SetStyle(bsSolid);
            canvas.Rectangle(r);
        }
        InflateRect(&r, -1, -1);
    } else if (themed) {
        const int themeState = state == bsDisabled                ? PBS_DISABLED_STATE
                               : looks_active_ || focused ? PBS_HOT_STATE
                                                          : 0;
        ThemeEntries.DrawThemeBackground(theme_, canvas.Handle(), BP_PUSHBUTTON_PART, themeState, &r, nullptr);
    } else {
        DrawFrameControl(item.hDC, &r, DFC_BUTTON, flags);
    }
    if (looks_active_) {
        r = ClientRect();
        InflateRect(&r, -1, -1);
    }
    canvas.SetFont(*Font());
    if (down) OffsetRect(&r, 1, 1);
    glyph_->Draw(canvas, r, Caption(), layout_, margin_, spacing_, state, DT_LEFT);
    if (looks_active_ && focused) {
        r = ClientRect();
        InflateRect(&r, -4, -4);
        canvas.Pen().SetColor(clWindowFrame);
        canvas.Brush().SetColor(clBtnFace);
        canvas.Brush().SetStyle(bsSolid);
        ::DrawFocusRect(canvas.Handle(), &r);
    }
}

void TThemedBitBtn::Dispatch(TMessage& m) {
    if (DispatchOwnerDraw(m)) return;
    switch (m.Msg) {
    case CM_FONTCHANGED:
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
        TButton::Dispatch(m);
        Invalidate();
        return;
    }
    TButton::Dispatch(m);
}
