#include "classlib/gui/shortcuts.h"

#include <cstdio>

#include "classlib/core/resstrings.h"
#include "classlib/gui/menu_strings.h"

TShortCut ShortCut(WORD key, TShiftState shift) {
    if (key & 0xFF00) return scNone;
    TShortCut result = key;
    if (shift.Contains(ssShift)) result |= scShift;
    if (shift.Contains(ssCtrl)) result |= scCtrl;
    if (shift.Contains(ssAlt)) result |= scAlt;
    return result;
}

void ShortCutToKey(TShortCut shortCut, WORD& key, TShiftState& shift) {
    key = shortCut & 0xFF;
    shift = {};
    if (shortCut & scShift) shift.Include(ssShift);
    if (shortCut & scCtrl) shift.Include(ssCtrl);
    if (shortCut & scAlt) shift.Include(ssAlt);
}

namespace {

TMenuString NamedKeyText(WORD key) {
    switch (key) {
    case VK_BACK: return SmkcBkSp;
    case VK_TAB: return SmkcTab;
    case VK_RETURN: return SmkcEnter;
    case VK_ESCAPE: return SmkcEsc;
    case VK_SPACE: return SmkcSpace;
    case VK_PRIOR: return SmkcPgUp;
    case VK_NEXT: return SmkcPgDn;
    case VK_END: return SmkcEnd;
    case VK_HOME: return SmkcHome;
    case VK_LEFT: return SmkcLeft;
    case VK_UP: return SmkcUp;
    case VK_RIGHT: return SmkcRight;
    case VK_DOWN: return SmkcDown;
    case VK_INSERT: return SmkcIns;
    case VK_DELETE: return SmkcDel;
    }
    return TMenuString{};
}

}  // namespace

std::string ShortCutKeyName(WORD key) {
    if (TMenuString text = NamedKeyText(key)) return MenuStr(text);
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, static_cast<char>(key));
    if (key >= VK_F1 && key <= VK_F24) {
        char name[8];
        snprintf(name, sizeof name, "F%d", key - VK_F1 + 1);
        return name;
    }
    UINT scan = MapVirtualKeyA(key, 0);
    if (!scan) return {};
    char name[256] = {};
    int n = GetKeyNameTextA(static_cast<LONG>(scan << 16), name, sizeof name);
    return n > 0 ? std::string(name, static_cast<size_t>(n)) : std::string();
}

std::string ShortCutToText(TShortCut shortCut) {
    std::string name = ShortCutKeyName(shortCut & 0xFF);
    if (name.empty()) return {};
    std::string result;
    if (shortCut & scShift) result += MenuStr(SmkcShift);
    if (shortCut & scCtrl) result += MenuStr(SmkcCtrl);
    if (shortCut & scAlt) result += MenuStr(SmkcAlt);
    return result + name;
}
