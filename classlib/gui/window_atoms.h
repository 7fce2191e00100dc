// The names under which the visual layer marks windows. A control's window
// carries its object under an atom named for the program's module and the
// window's thread, so no other program and no other thread using this layer
// shares it; the process atom names the whole program.
#pragma once
#include <string>

#include "classlib/gui/win32.h"

// "ControlOfs" + module instance (low 32 bits) + current thread id, in hex.
std::string ControlAtomName();
// "Ambit" + current process id, in hex.
std::string ProcessAtomName();

// The global atoms of those names, added at first use (per thread for the
// control atom) and deleted again when the thread or program ends.
ATOM ControlAtom();
ATOM ProcessAtom();
