// TThemedBitBtn: the editor's push button with a caption and a glyph, in
// one of eleven kinds (OK, Cancel, ... or custom). The platform button is
// owner-drawn: with visual styles active the face comes from the
// visual-style library, otherwise a classic raised face is drawn. A kind
// button whose Default, Cancel, ModalResult or Glyph is changed turns
// custom, so that a layout written from it keeps every part.
#pragma once
#include <cstdint>

#include "classlib/stdctrls/button.h"
#include "controls/button_style.h"
#include "controls/theme_library.h"
#include "controls/themed_button_glyph.h"
#include "controls/themed_button_kinds.h"

class TThemedBitBtn : public TButton {
    DECLARE_CLASS(TThemedBitBtn, TButton)
public:
    using TKind = themed_buttons::TThemedBitBtnKind;

    explicit TThemedBitBtn(TComponent* owner);
    ~TThemedBitBtn() override;

    TBitmap* Glyph() const { return glyph_->Glyph(); }
    void SetGlyph(TBitmap* value);
    // Reads as bkCustom once anything the kind set was changed.
    TKind Kind() const;
    void SetKind(TKind value);
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout value);
    // Pixels from the edge to the glyph; -1 centres. Below -1 is ignored.
    int32_t Margin() const { return margin_; }
    void SetMargin(int32_t value);
    // 1..4; larger values become 4, 0 is ignored.
    int32_t NumGlyphs() const { return glyph_->NumGlyphs(); }
    void SetNumGlyphs(int32_t value);
    // Pixels between glyph and caption; -1 spreads them.
    int32_t Spacing() const { return spacing_; }
    void SetSpacing(int32_t value);
    // Kept for layouts; the drawing does not depend on it.
    TButtonStyle Style() const { return style_; }
    void SetStyle(TButtonStyle value);

    // The button is the one Enter clicks (focused, or the default one).
    bool LooksActive() const { return looks_active_; }
    themed_buttons::TButtonGlyph& ButtonGlyph() const { return *glyph_; }
    HTHEME Theme() const { return theme_; }

    // bkClose closes the parent form without OnClick.
    void Click() override;
    void Dispatch(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void SetButtonStyle(bool isDefault) override;
    void DrawItem(const DRAWITEMSTRUCT& item) override;

private:
    bool IsCustom() const { return Kind() == themed_buttons::bkCustom; }
    bool IsCaptionStored() const;

    HTHEME theme_ = nullptr;
    TOwned<TCanvas> canvas_;
    TOwned<themed_buttons::TButtonGlyph> glyph_;
    TButtonStyle style_ = bsAutoDetect;
    mutable TKind kind_ = themed_buttons::bkCustom;
    TButtonLayout layout_ = blGlyphLeft;
    int32_t spacing_ = 4;
    int32_t margin_ = -1;
    bool looks_active_ = false;
    bool glyph_modified_ = false;
};
