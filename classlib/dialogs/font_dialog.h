// TFontDialog: the system's font chooser, working on a TFont that layouts
// file as a sub-object ("FontDialog1.Font.Name = 'Arial Black'").
#pragma once
#include "classlib/dialogs/common_dialog.h"
#include "classlib/core/font.h"

enum TFontDialogDevice { fdScreen, fdPrinter, fdBoth };
DECLARE_ENUM_TYPE(TFontDialogDevice)

enum TFontDialogOption {
    fdAnsiOnly, fdTrueTypeOnly, fdEffects, fdFixedPitchOnly, fdForceFontExist, fdNoFaceSel, fdNoOEMFonts,
    fdNoSimulations, fdNoSizeSel, fdNoStyleSel, fdNoVectorFonts, fdShowHelp, fdWysiwyg, fdLimitSize,
    fdScalableOnly, fdApplyButton
};
DECLARE_ENUM_TYPE(TFontDialogOption)
using TFontDialogOptions = TSet<TFontDialogOption>;

// The platform's CF_* flags for the options (without the device's).
uint32_t FontOptionFlags(TFontDialogOptions options);

class TFontDialog : public TCommonDialog {
    DECLARE_CLASS(TFontDialog, TCommonDialog)
public:
    explicit TFontDialog(TComponent* owner);

    // Shows Font; on confirmation Font takes the chosen face, height,
    // style, character set, pitch and (with fdEffects) colour, in one change.
    bool Execute() override;

    TFont* Font() const { return font_.get(); }
    void SetFont(TFont* font) { font_->Assign(font); }
    TFontDialogDevice Device() const { return device_; }
    void SetDevice(TFontDialogDevice value) { device_ = value; }
    // Point sizes the dialog accepts with fdLimitSize.
    int32_t MinFontSize() const { return min_font_size_; }
    void SetMinFontSize(int32_t value) { min_font_size_ = value; }
    int32_t MaxFontSize() const { return max_font_size_; }
    void SetMaxFontSize(int32_t value) { max_font_size_ = value; }
    TFontDialogOptions Options() const { return options_; }
    void SetOptions(TFontDialogOptions value) { options_ = value; }

private:
    TOwned<TFont> font_;
    TFontDialogDevice device_ = fdScreen;
    int32_t min_font_size_ = 0;
    int32_t max_font_size_ = 0;
    TFontDialogOptions options_{fdEffects};
};
