#include "classlib/gui/window_atoms.h"

#include <cstdint>
#include <cstdio>

namespace {

std::string Hex8(const char* prefix, uint32_t a) {
    char text[32];
    std::snprintf(text, sizeof text, "%s%.8X", prefix, static_cast<unsigned>(a));
    return text;
}

// Global atoms outlive the program unless deleted; the holder gives the
// atom back when its thread (or the program) ends. The atom value itself
// stays readable for windows destroyed later still.
struct TAtomRelease {
    ATOM* atom;
    ~TAtomRelease() {
        if (*atom) GlobalDeleteAtom(*atom);
    }
};

thread_local ATOM t_control_atom = 0;

}  // namespace

std::string ControlAtomName() {
    auto instance = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(GetModuleHandleA(nullptr)));
    return Hex8("ControlOfs", instance) + Hex8("", GetCurrentThreadId());
}

std::string ProcessAtomName() {
    return Hex8("Ambit", GetCurrentProcessId());
}

ATOM ControlAtom() {
    if (!t_control_atom) {
        thread_local TAtomRelease release{&t_control_atom};
        t_control_atom = GlobalAddAtomA(ControlAtomName().c_str());
    }
    return t_control_atom;
}

ATOM ProcessAtom() {
    static ATOM atom = GlobalAddAtomA(ProcessAtomName().c_str());
    static TAtomRelease release{&atom};
    return atom;
}
