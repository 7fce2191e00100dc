// The controls that hold a document's settings on a holder window (the
// editor's options page, the runtime's hidden form): the caption box, the
// three colour boxes, the seven switches.
#pragma once
#include <array>

#include "editor/document/menu_settings.h"

class TEdit;
class TCheckBox;
class TCustomColorComboBox;

struct TSettingsControls {
    TEdit* Caption;
    TCustomColorComboBox* WindowColor;
    TCustomColorComboBox* PageColor;
    TCustomColorComboBox* TreeColor;
    std::array<TCheckBox*, MenuSwitchCount> Switches;

    TMenuSettings Read() const;
    // In order: caption, window, page and tree colour, the switches.
    void Write(const TMenuSettings& settings) const;
};
