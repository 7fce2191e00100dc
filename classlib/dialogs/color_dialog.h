// TColorDialog: the system's colour chooser with its sixteen custom
// colours, kept as "ColorA=BBGGRR" ... "ColorP=BBGGRR" (hexadecimal).
#pragma once
#include "classlib/core/color.h"
#include "classlib/dialogs/common_dialog.h"
#include "classlib/core/stringlist.h"

enum TColorDialogOption { cdFullOpen, cdPreventFullOpen, cdShowHelp, cdSolidColor, cdAnyColor };
DECLARE_ENUM_TYPE(TColorDialogOption)
using TColorDialogOptions = TSet<TColorDialogOption>;

// The platform's CC_* flags for the options.
uint32_t ColorOptionFlags(TColorDialogOptions options);

class TColorDialog : public TCommonDialog {
    DECLARE_CLASS(TColorDialog, TCommonDialog)
public:
    static constexpr int kCustomColorCount = 16;

    explicit TColorDialog(TComponent* owner);

    // On confirmation Color and the custom colours take the dialog's. A
    // custom colour that is not a hexadecimal $BBGGRR value raises
    // EConvertError before anything is shown.
    bool Execute() override;

    TColor Color() const { return color_; }
    void SetColor(TColor value) { color_ = value; }
    TStrings* CustomColors() const { return custom_colors_.get(); }
    void SetCustomColors(TStrings* value) { custom_colors_->Assign(value); }
    TColorDialogOptions Options() const { return options_; }
    void SetOptions(TColorDialogOptions value) { options_ = value; }

private:
    TColor color_ = clBlack;
    TOwned<TStringList> custom_colors_;
    TColorDialogOptions options_;
};
