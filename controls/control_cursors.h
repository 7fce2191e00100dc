// The controls' own screen cursors, loaded from the program's resources
// ("EX_HANDCUR", "EX_DRAGCUR") at start-up.
#pragma once
#include "classlib/core/color.h"

constexpr TCursor crHandCursor = 14000;
constexpr TCursor crDragHandCursor = 14001;

// Installs both cursors in the screen's cursor table.
void RegisterControlCursors();
