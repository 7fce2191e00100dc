#include "classlib/dialogs/color_dialog.h"

#include <commdlg.h>

#include <array>
#include <cctype>
#include <string>

#include "classlib/core/class_builder.h"
#include "classlib/core/exceptions.h"
#include "classlib/core/strutils.h"

DEFINE_ENUM_TYPE(TColorDialogOption, "cdFullOpen", "cdPreventFullOpen", "cdShowHelp", "cdSolidColor", "cdAnyColor")

const TClassInfo& TColorDialog::StaticClass() {
    static const TClassInfo info =
        DefineClass<TColorDialog>("TColorDialog", &TCommonDialog::StaticClass(), [](auto& c) {
            c.Creatable();
            PROPERTY(c, Color, TypeInfoColor()).Default(clBlack);
            PROPERTY(c, CustomColors);
            PROPERTY(c, Options).Default(0);
        });
    return info;
}

uint32_t ColorOptionFlags(TColorDialogOptions options) {
    uint32_t flags = 0;
    if (options.Contains(cdFullOpen)) flags |= CC_FULLOPEN;
    if (options.Contains(cdPreventFullOpen)) flags |= CC_PREVENTFULLOPEN;
    if (options.Contains(cdShowHelp)) flags |= CC_SHOWHELP;
    if (options.Contains(cdSolidColor)) flags |= CC_SOLIDCOLOR;
    if (options.Contains(cdAnyColor)) flags |= CC_ANYCOLOR;
    return flags;
}

TColorDialog::TColorDialog(TComponent* owner) : TCommonDialog(owner), custom_colors_(MakeOwned<TStringList>()) {}

namespace {

std::string CustomColorName(int index) {
    return std::string("Color") + static_cast<char>('A' + index);
}

// A missing entry is white; anything but up to six hex digits is refused.
COLORREF ParseCustomColor(const std::string& name, const std::string& value) {
    std::string digits = Trim(value);
    if (digits.empty()) return RGB(255, 255, 255);
    bool valid = digits.size() <= 6;
    for (char ch : digits) valid = valid && std::isxdigit(static_cast<unsigned char>(ch));
    if (!valid) throw EConvertError("Invalid custom colour " + name + "=" + value);
    return static_cast<COLORREF>(std::stoul(digits, nullptr, 16));
}

}  // namespace

bool TColorDialog::Execute() {
    std::array<COLORREF, kCustomColorCount> custom{};
    for (int i = 0; i < kCustomColorCount; ++i) {
        std::string name = CustomColorName(i);
        custom[static_cast<size_t>(i)] = ParseCustomColor(name, custom_colors_->Values(name));
    }
    const COLORREF shown = static_cast<COLORREF>(ColorToRGB(color_)) & 0xFFFFFF;

    HWND owner = DialogOwnerWindow();
    CHOOSECOLORA cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = owner;
    cc.rgbResult = shown;
    cc.lpCustColors = custom.data();
    cc.Flags = CC_RGBINIT | ColorOptionFlags(options_);
    if (!RunDialog(cdkColor, &cc, owner)) return false;

    // An unchanged colour keeps its system-colour identity.
    if ((cc.rgbResult & 0xFFFFFF) != shown) color_ = static_cast<TColor>(cc.rgbResult & 0xFFFFFF);
    custom_colors_->BeginUpdate();
    for (int i = 0; i < kCustomColorCount; ++i)
        custom_colors_->SetValue(CustomColorName(i), IntToHex(custom[static_cast<size_t>(i)] & 0xFFFFFF, 6));
    custom_colors_->EndUpdate();
    return true;
}
