// Menu caption texts of the Unicode layer: hot-key marks, caption
// comparison and shortcut texts that name keys as the keyboard does.
#pragma once
#include <string>

#include "classlib/gui/shortcuts.h"

// Removes the hot-key marks: "&&" leaves one "&"; on a far-east locale a
// parenthesised group "(&X)" goes whole.
std::wstring StripHotKeyMarks(const std::wstring& text);
// Equal without their marks, ignoring case / exactly.
bool WideSameCaption(const std::wstring& a, const std::wstring& b);
bool WideSameStrippedCaption(const std::wstring& a, const std::wstring& b);
// Moves the marks of dest to where source has them, when the two differ
// only by their marks. Raises EUcInternalError when that fails.
void SyncHotKeyPosition(const std::wstring& source, std::wstring& dest);
// Shortcut text with the key named by the keyboard layout; empty when the
// key has no name.
std::wstring WideShortCutToText(TShortCut shortCut);
