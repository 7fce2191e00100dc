#include "player/settings_controls.h"

#include "controls/custom_color_combo_box.h"
#include "classlib/stdctrls/stdctrls.h"

TMenuSettings TSettingsControls::Read() const {
    TMenuSettings s;
    s.Caption = Caption->Text();
    s.WindowColor = WindowColor->ColorValue();
    s.PageColor = PageColor->ColorValue();
    s.TreeColor = TreeColor->ColorValue();
    for (int i = 0; i < MenuSwitchCount; ++i)
        s.Switches[static_cast<size_t>(i)] = Switches[static_cast<size_t>(i)]->Checked();
    return s;
}

void TSettingsControls::Write(const TMenuSettings& s) const {
    Caption->SetText(s.Caption);
    WindowColor->SetColorValue(s.WindowColor);
    PageColor->SetColorValue(s.PageColor);
    TreeColor->SetColorValue(s.TreeColor);
    for (int i = 0; i < MenuSwitchCount; ++i)
        Switches[static_cast<size_t>(i)]->SetChecked(s.Switches[static_cast<size_t>(i)]);
}
