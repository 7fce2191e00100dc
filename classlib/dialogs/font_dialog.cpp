#include "classlib/dialogs/font_dialog.h"

#include <commdlg.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <string>

#include "classlib/core/class_builder.h"
#include "classlib/gui/graphics_objects.h"
#include "classlib/gui/scoped_win32.h"
#include "classlib/gui/screen.h"

DEFINE_ENUM_TYPE(TFontDialogDevice, "fdScreen", "fdPrinter", "fdBoth")
DEFINE_ENUM_TYPE(TFontDialogOption, "fdAnsiOnly", "fdTrueTypeOnly", "fdEffects", "fdFixedPitchOnly",
                 "fdForceFontExist", "fdNoFaceSel", "fdNoOEMFonts", "fdNoSimulations", "fdNoSizeSel",
                 "fdNoStyleSel", "fdNoVectorFonts", "fdShowHelp", "fdWysiwyg", "fdLimitSize", "fdScalableOnly",
                 "fdApplyButton")

const TClassInfo& TFontDialog::StaticClass() {
    static const TClassInfo info = DefineClass<TFontDialog>("TFontDialog", &TCommonDialog::StaticClass(), [](auto& c) {
        c.Creatable();
        PROPERTY(c, Font);
        PROPERTY(c, Device).Default(fdScreen);
        PROPERTY(c, MinFontSize).Default(0);
        PROPERTY(c, MaxFontSize).Default(0);
        PROPERTY(c, Options).Default(TFontDialogOptions{fdEffects}.Bits());
    });
    return info;
}

uint32_t FontOptionFlags(TFontDialogOptions options) {
    static const struct {
        TFontDialogOption option;
        uint32_t flag;
    } table[] = {
        {fdAnsiOnly, CF_ANSIONLY},
        {fdTrueTypeOnly, CF_TTONLY},
        {fdEffects, CF_EFFECTS},
        {fdFixedPitchOnly, CF_FIXEDPITCHONLY},
        {fdForceFontExist, CF_FORCEFONTEXIST},
        {fdNoFaceSel, CF_NOFACESEL},
        {fdNoOEMFonts, CF_NOOEMFONTS},
        {fdNoSimulations, CF_NOSIMULATIONS},
        {fdNoSizeSel, CF_NOSIZESEL},
        {fdNoStyleSel, CF_NOSTYLESEL},
        {fdNoVectorFonts, CF_NOVECTORFONTS},
        {fdShowHelp, CF_SHOWHELP},
        {fdWysiwyg, CF_WYSIWYG},
        {fdLimitSize, CF_LIMITSIZE},
        {fdScalableOnly, CF_SCALABLEONLY},
        {fdApplyButton, CF_APPLY},
    };
    uint32_t flags = 0;
    for (const auto& entry : table)
        if (options.Contains(entry.option)) flags |= entry.flag;
    return flags;
}

TFontDialog::TFontDialog(TComponent* owner) : TCommonDialog(owner), font_(MakeOwned<TFont>()) {}

namespace {

// The default printer's device context; none when there is no printer.
TCreatedDC DefaultPrinterDC() {
    char device[512] = {};
    GetProfileStringA("windows", "device", "", device, sizeof device);
    std::string name = device;
    name = name.substr(0, name.find(','));
    if (name.empty()) return TCreatedDC();
    return TCreatedDC(CreateDCA("WINSPOOL", name.c_str(), nullptr, nullptr));
}

int32_t ScreenPPI() {
    return Screen ? Screen->PixelsPerInch() : ScreenPixelsPerInch();
}

}  // namespace

bool TFontDialog::Execute() {
    // The dialog measures heights in the screen's pixels; the font converts
    // between its own pixels per inch and the screen's as Assign does it.
    TFont shown;
    shown.SetPixelsPerInch(ScreenPPI());
    shown.Assign(font_.get());
    LOGFONTA logFont = FontToLogFont(shown);
    const COLORREF shownColor = static_cast<COLORREF>(ColorToRGB(font_->Color())) & 0xFFFFFF;

    HWND owner = DialogOwnerWindow();
    CHOOSEFONTA cf{};
    cf.lStructSize = sizeof cf;
    cf.hwndOwner = owner;
    cf.lpLogFont = &logFont;
    cf.rgbColors = shownColor;
    cf.Flags = CF_INITTOLOGFONTSTRUCT | FontOptionFlags(options_);
    // Printer fonts need the printer; without one the screen's are listed.
    TCreatedDC printer = device_ == fdScreen ? TCreatedDC() : DefaultPrinterDC();
    if (printer.Get()) {
        cf.hDC = printer;
        cf.Flags |= device_ == fdPrinter ? CF_PRINTERFONTS : CF_BOTH;
    } else {
        cf.Flags = (cf.Flags & ~static_cast<DWORD>(CF_WYSIWYG)) | CF_SCREENFONTS;
    }
    if (cf.Flags & CF_LIMITSIZE) {
        // No maximum means no upper limit; limits that exclude every size
        // would leave the user nothing to choose, so they are dropped.
        cf.nSizeMin = std::max(min_font_size_, 0);
        cf.nSizeMax = max_font_size_ > 0 ? max_font_size_ : INT_MAX;
        if (cf.nSizeMin > cf.nSizeMax) cf.Flags &= ~static_cast<DWORD>(CF_LIMITSIZE);
    }
    if (!RunDialog(cdkFont, &cf, owner)) return false;

    TFont chosen;
    chosen.SetPixelsPerInch(ScreenPPI());
    chosen.Assign(&shown);
    LogFontToFont(logFont, chosen);
    const COLORREF chosenColor = cf.rgbColors & 0xFFFFFF;
    if (options_.Contains(fdEffects) && chosenColor != shownColor) chosen.SetColor(static_cast<TColor>(chosenColor));
    font_->Assign(&chosen);
    return true;
}
