#include "classlib/stdctrls/bitbtn.h"

#include "classlib/gui/scoped_win32.h"
#include "classlib/core/class_builder.h"

DEFINE_ENUM_TYPE(TBitBtnKind, "bkCustom", "bkOK", "bkCancel", "bkHelp", "bkYes", "bkNo", "bkClose", "bkAbort",
                 "bkRetry", "bkIgnore", "bkAll")

const TClassInfo& TBitBtn::StaticClass() {
    static const TClassInfo info = DefineClass<TBitBtn>("TBitBtn", &TButton::StaticClass(), [](auto& c) {
        c.Creatable();
        // What a kind sets is stored only where it differs from the kind.
        c.Publish("Cancel").StoredIf(&TBitBtn::IsCustom);
        c.Publish("Caption").StoredIf(&TBitBtn::IsCustomCaption);
        c.Publish("Default").StoredIf(&TBitBtn::IsCustom);
        c.Publish("ModalResult").StoredIf(&TBitBtn::IsCustomResult);
        PROPERTY(c, Glyph).StoredIf(&TBitBtn::IsGlyphStored);
        PROPERTY(c, Kind).Default(bkCustom);
        PROPERTY(c, Layout).Default(blGlyphLeft);
        PROPERTY(c, Margin).Default(-1);
        PROPERTY(c, NumGlyphs).Default(1).StoredIf(&TBitBtn::IsCustom);
        PROPERTY(c, Spacing).Default(4);
    });
    return info;
}

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner) {
    SetControlStyle(ControlStyle() + csReflector);
    glyph_.OnChange = [this] {
        if (!setting_kind_) glyph_modified_ = true;
        Invalidate();
    };
}

TBitBtn::~TBitBtn() = default;

TBitBtnKind TBitBtn::Kind() const {
    if (kind_ != bkCustom) {
        // Once anything differs from the kind, the button is a custom one.
        bool isDefault = kind_ == bkOK || kind_ == bkYes;
        bool isCancel = kind_ == bkCancel || kind_ == bkNo;
        if (isDefault != Default() || isCancel != Cancel() || ModalResult() != BitBtnKindResult(kind_) ||
            glyph_modified_)
            kind_ = bkCustom;
    }
    return kind_;
}

void TBitBtn::SetKind(TBitBtnKind value) {
    if (value == Kind()) return;
    if (value != bkCustom) {
        SetDefault(value == bkOK || value == bkYes);
        SetCancel(value == bkCancel || value == bkNo);
        // A layout's own caption (read before the kind) stays.
        if (!ComponentState().Contains(csLoading) || Caption().empty()) SetCaption(BitBtnKindCaption(value));
        SetModalResult(BitBtnKindResult(value));
        pending_glyph_ = value;
        {
            setting_kind_ = true;
            TScopeExit set([this] { setting_kind_ = false; });
            glyph_.SetNumGlyphs(2);
        }
        glyph_modified_ = false;
    }
    kind_ = value;
    Invalidate();
}

TBitmap* TBitBtn::Glyph() const {
    PaintPendingKindGlyph();
    return glyph_.Glyph();
}

void TBitBtn::PaintPendingKindGlyph() const {
    if (pending_glyph_ == bkCustom) return;
    const TBitBtnKind kind = pending_glyph_;
    pending_glyph_ = bkCustom;
    auto glyph = MakeOwned<TBitmap>();
    PaintBitBtnKindGlyph(kind, *glyph);
    // The kind's glyph was the button's since the kind was set: putting its
    // picture in place changes nothing the button shows or stores.
    auto onChange = std::move(glyph_.OnChange);
    glyph_.OnChange = nullptr;
    TScopeExit restore([&] { glyph_.OnChange = std::move(onChange); });
    const int32_t numGlyphs = glyph_.NumGlyphs();
    glyph_.SetGlyph(glyph.get());
    glyph_.SetNumGlyphs(numGlyphs);
}

void TBitBtn::SetGlyph(TBitmap* value) {
    pending_glyph_ = bkCustom;
    glyph_.SetGlyph(value);
    glyph_modified_ = true;
}

void TBitBtn::SetLayout(TButtonLayout value) {
    ChangeAndInvalidate(layout_, value);
}

void TBitBtn::SetMargin(int32_t value) {
    if (value < -1) value = -1;
    if (margin_ == value) return;
    margin_ = value;
    Invalidate();
}

void TBitBtn::SetSpacing(int32_t value) {
    if (value < -1) value = -1;
    if (spacing_ == value) return;
    spacing_ = value;
    Invalidate();
}

void TBitBtn::Click() {
    if (Kind() == bkClose) {
        if (TCustomForm* form = ParentForm()) {
            form->Close();
            return;
        }
    }
    TButton::Click();
}

void TBitBtn::CreateParams(TCreateParams& p) {
    TButton::CreateParams(p);
    p.Style |= BS_OWNERDRAW;
}

void TBitBtn::SetButtonStyle(bool isDefault) {
    if (looks_active_ == isDefault) return;
    looks_active_ = isDefault;
    if (HandleAllocated()) Refresh();
}

void TBitBtn::DrawItem(const DRAWITEMSTRUCT& item) {
    auto owned = MakeOwned<TCanvas>();
    TCanvasOnDC canvas(*owned, item.hDC);
    TRect r = ClientRect();
    bool down = (item.itemState & ODS_SELECTED) != 0;
    bool focused = (item.itemState & ODS_FOCUS) != 0;
    TButtonState state = !Enabled() ? bsDisabled : down ? bsDown : bsUp;
    // The button Enter would click has a dark frame around it.
    if (looks_active_ || focused) {
        canvas->Pen().SetColor(clWindowFrame);
        canvas->Pen().SetWidth(1);
        canvas->Brush().SetStyle(bsClear);
        canvas->Rectangle(r);
        InflateRect(&r, -1, -1);
    }
    if (down) {
        // Pressed: a flat face with a shadow line inside the frame.
        canvas->Pen().SetColor(clBtnShadow);
        canvas->Brush().SetStyle(bsSolid);
        canvas->Brush().SetColor(clBtnFace);
        canvas->Rectangle(r);
        InflateRect(&r, -1, -1);
        OffsetRect(&r, 1, 1);
    } else {
        UINT flags = DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | ((item.itemState & ODS_DISABLED) ? DFCS_INACTIVE : 0);
        DrawFrameControl(canvas->Handle(), &r, DFC_BUTTON, flags);
    }
    canvas->SetFont(*Font());
    PaintPendingKindGlyph();
    glyph_.Draw(*canvas, r, Point(0, 0), Caption(), layout_, margin_, spacing_, state);
    if (looks_active_ && focused) {
        TRect focus = ClientRect();
        InflateRect(&focus, -4, -4);
        SetTextColor(canvas->Handle(), static_cast<COLORREF>(ColorToRGB(clWindowText)));
        SetBkColor(item.hDC, static_cast<COLORREF>(ColorToRGB(clBtnFace)));
        ::DrawFocusRect(item.hDC, &focus);
    }
}

void TBitBtn::Dispatch(TMessage& m) {
    if (DispatchOwnerDraw(m)) return;
    switch (m.Msg) {
    case CM_FONTCHANGED:
    case CM_ENABLEDCHANGED:
        TButton::Dispatch(m);
        Invalidate();
        return;
    case CM_TEXTCHANGED:
        Invalidate();
        return;
    }
    TButton::Dispatch(m);
}
