// Buttons with glyphs: bitmap buttons and speed buttons.
#pragma once
#include "classlib/stdctrls/bitbtn.h"
#include "classlib/stdctrls/speedbutton.h"
