// Buttons with glyphs: bitmap buttons and speed buttons.
#pragma once
#include "bitbtn.h"
#include "speedbutton.h"
