// The document settings: the player window's caption, three colours, seven
// display switches. The two fonts are held by the player's font dialogs.
#pragma once
#include <array>
#include <string>

#include "classlib/core/color.h"

enum TMenuSwitch {
    msStatusBar, msButtonPanel, msInstallButton, msCopyButton, msQuitButton, msTabsStyle, msBorder3D
};
constexpr int MenuSwitchCount = 7;

struct TMenuSettings {
    std::string Caption = "Quillory";
    TColor WindowColor = 0xD8E9EC;
    TColor PageColor = clWhite;
    TColor TreeColor = clWhite;
    std::array<bool, MenuSwitchCount> Switches{true, true, true, true, true, true, true};

    bool operator==(const TMenuSettings&) const = default;
};
