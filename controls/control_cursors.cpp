#include "controls/control_cursors.h"

#include "classlib/gui/screen.h"

void RegisterControlCursors() {
    HINSTANCE program = GetModuleHandleA(nullptr);
    Screen->SetCursors(crHandCursor, LoadCursorA(program, "EX_HANDCUR"));
    Screen->SetCursors(crDragHandCursor, LoadCursorA(program, "EX_DRAGCUR"));
}
