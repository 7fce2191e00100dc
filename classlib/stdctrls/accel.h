// Keyboard accelerators in captions: "&Name" makes Alt+N the control's key.
#pragma once
#include <string>

// The character after the caption's accelerator "&" ("&&" is a literal
// ampersand); 0 when the caption has none.
char HotKeyOf(const std::string& caption);
// True when the character (as WM_SYSCHAR/WM_CHAR deliver it) is the
// caption's accelerator, letters compared without regard to case.
bool IsAccel(unsigned charCode, const std::string& caption);
// The caption that shows the text as typed: every "&" doubled, so that none
// marks a hot key.
std::string LiteralCaption(const std::string& text);
