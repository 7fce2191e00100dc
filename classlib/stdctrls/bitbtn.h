// TBitBtn: an owner-drawn push button with a glyph. A Kind other than
// bkCustom gives it the caption, modal result, Default / Cancel and glyph
// of that kind; changing any of those (the glyph too) makes it custom, so
// that a layout written from it keeps every part.
#pragma once
#include "classlib/stdctrls/button.h"
#include "classlib/stdctrls/button_glyph.h"

enum TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };
DECLARE_ENUM_TYPE(TBitBtnKind)

// What a kind gives a button.
std::string BitBtnKindCaption(TBitBtnKind kind);
TModalResult BitBtnKindResult(TBitBtnKind kind);
// The kind's glyph: two images (up, disabled), drawn in code.
void PaintBitBtnKindGlyph(TBitBtnKind kind, TBitmap& glyph);

class TBitBtn : public TButton {
    DECLARE_CLASS(TBitBtn, TButton)
public:
    explicit TBitBtn(TComponent* owner);
    ~TBitBtn() override;

    TBitmap* Glyph() const;
    void SetGlyph(TBitmap* value);
    TBitBtnKind Kind() const;
    void SetKind(TBitBtnKind value);
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout value);
    // Pixels from the edge to the glyph; -1 centres glyph and caption.
    int32_t Margin() const { return margin_; }
    void SetMargin(int32_t value);
    int32_t NumGlyphs() const { return glyph_.NumGlyphs(); }
    void SetNumGlyphs(int32_t value) { glyph_.SetNumGlyphs(value); }
    // Pixels between glyph and caption; -1 spreads them evenly.
    int32_t Spacing() const { return spacing_; }
    void SetSpacing(int32_t value);

    // bkClose closes the parent form.
    void Click() override;
    void Dispatch(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    // The active look is drawn by the button itself.
    void SetButtonStyle(bool isDefault) override;
    void DrawItem(const DRAWITEMSTRUCT& item) override;

private:
    bool IsCustom() const { return Kind() == bkCustom; }
    bool IsCustomCaption() const { return Caption() != BitBtnKindCaption(Kind()); }
    bool IsCustomResult() const { return ModalResult() != BitBtnKindResult(Kind()); }
    bool IsGlyphStored() const { return IsCustom() || glyph_modified_; }
    // A kind's glyph is painted when it is first asked for or drawn.
    void PaintPendingKindGlyph() const;

    mutable TButtonGlyph glyph_;
    mutable TBitBtnKind pending_glyph_ = bkCustom;
    mutable TBitBtnKind kind_ = bkCustom;
    TButtonLayout layout_ = blGlyphLeft;
    int32_t margin_ = -1;
    int32_t spacing_ = 4;
    bool glyph_modified_ = false;
    bool setting_kind_ = false;
    bool looks_active_ = false;
};
