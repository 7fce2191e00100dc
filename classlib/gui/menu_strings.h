// The class library's texts for shortcut keys and menus (German, code page
// 1252). Registered by ClassLibStartup.
#pragma once
#include <string>

#include "classlib/core/resstrings.h"

enum TMenuString : int {
    SmkcBkSp = 65470,   // "Rück"
    SmkcTab = 65471,    // "Tab"
    SmkcEsc = 65472,    // "Esc"
    SmkcEnter = 65473,  // "Eingabe"
    SmkcSpace = 65474,  // "Leer"
    SmkcPgUp = 65475,   // "Bild auf"
    SmkcPgDn = 65476,   // "Bild ab"
    SmkcEnd = 65477,    // "Ende"
    SmkcHome = 65478,   // "Pos1"
    SmkcLeft = 65479,   // "Links"
    SmkcUp = 65480,     // "Nach oben"
    SmkcRight = 65481,  // "Rechts"
    SmkcDown = 65482,   // "Nach unten"
    SmkcIns = 65483,    // "Einfg"
    SmkcDel = 65484,    // "Entf"
    SmkcShift = 65485,  // "Umsch+"
    SmkcCtrl = 65486,   // "Strg+"
    SmkcAlt = 65487,    // "Alt+"
    SMenuIndexError = 65488,      // "Menüindex liegt außerhalb des zulässigen Bereichs"
    SMenuReinserted = 65489,      // "Menü zweimal eingefügt"
    SMenuNotFound = 65490,        // "Untermenü ist nicht in diesem Menü"
    SInvalidCast = 65491,         // "Ungültige Typumwandlung"
};

void RegisterMenuStrings();
// One of these texts; registers them first when no start-up did.
std::string MenuStr(TMenuString ident);
