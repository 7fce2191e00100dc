#include "classlib/gui/menu_strings.h"

#include <mutex>

namespace {
constexpr std::pair<int, const char*> kMenuTexts[] = {
    {SmkcBkSp, "R\xFC" "ck"},
    {SmkcTab, "Tab"},
    {SmkcEsc, "Esc"},
    {SmkcEnter, "Eingabe"},
    {SmkcSpace, "Leer"},
    {SmkcPgUp, "Bild auf"},
    {SmkcPgDn, "Bild ab"},
    {SmkcEnd, "Ende"},
    {SmkcHome, "Pos1"},
    {SmkcLeft, "Links"},
    {SmkcUp, "Nach oben"},
    {SmkcRight, "Rechts"},
    {SmkcDown, "Nach unten"},
    {SmkcIns, "Einfg"},
    {SmkcDel, "Entf"},
    {SmkcShift, "Umsch+"},
    {SmkcCtrl, "Strg+"},
    {SmkcAlt, "Alt+"},
    {SMenuIndexError, "Men\xFCindex liegt au\xDF" "erhalb des zul\xE4ssigen Bereichs"},
    {SMenuReinserted, "Men\xFC zweimal eingef\xFCgt"},
    {SMenuNotFound, "Untermen\xFC ist nicht in diesem Men\xFC"},
    {SInvalidCast, "Ung\xFCltige Typumwandlung"},
};
static_assert(NumbersAreOwnAndInRange(kMenuTexts));
}  // namespace

void RegisterMenuStrings() {
    for (const auto& [id, text] : kMenuTexts) RegisterResourceStrings({{id, text}});
}

std::string MenuStr(TMenuString ident) {
    static std::once_flag registered;
    std::call_once(registered, RegisterMenuStrings);
    return LoadStr(ident);
}
