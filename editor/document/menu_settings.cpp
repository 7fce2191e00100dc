#include "editor/document/menu_settings.h"

TMenuSettings StartMenuSettings() {
    return TMenuSettings{};
}

TMenuSettings NewMenuSettings() {
    TMenuSettings s;
    s.WindowColor = clBtnFace;
    return s;
}
