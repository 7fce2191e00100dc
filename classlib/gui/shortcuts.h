// Keyboard shortcuts of menu items and actions: a key code in the low byte
// with modifier bits above it, and the text a menu shows for one.
#pragma once
#include <cstdint>
#include <string>

#include "classlib/gui/control.h"

using TShortCut = uint16_t;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut scNone = 0;

TShortCut ShortCut(WORD key, TShiftState shift);
void ShortCutToKey(TShortCut shortCut, WORD& key, TShiftState& shift);
// The menu text of a shortcut: the modifier prefixes (Shift, Ctrl, Alt, in
// that order) and the key's name; empty when the key has no name.
std::string ShortCutToText(TShortCut shortCut);
// The key's name alone ("" when the system knows none).
std::string ShortCutKeyName(WORD key);
