// Wide texts the program is given: its command-line arguments and its
// resource strings.
#pragma once
#include <cstdint>
#include <string>

// Index 0: the program's file name; else that argument of the command line
// (empty when there are fewer).
std::wstring WideParamStr(int index);

// A resource string: the module whose string table holds it, and either a
// string-table number below 65536 or the address of zero-terminated 8-bit
// text (UTF-8 after EF BB BF, else the system ANSI code page).
struct TResStringRec {
    void* const* Module;
    uintptr_t Identifier;
};

// Empty for no record.
std::wstring LoadWideResString(const TResStringRec* record);
