// Wide counterparts of the class library's system utilities, and the start
// of the Unicode layer's platform flags.
#pragma once
#include <cstdint>
#include <string>

// Sets UnicodePlatform and XPOrLater from the system's version. Run once
// from the program's entry (a counter keeps repeated starts harmless).
void StartWideSystemUtilities();
void StopWideSystemUtilities();

// Raises EOSError with the system's message for the thread's last error.
[[noreturn]] void RaiseLastSystemError();
// value when non-zero; 0 raises the last system error.
int CheckWin32Result(int value);

// Ordinal-free comparisons by the system's collation in the thread's
// locale: -1, 0, 1 (-2 when the system comparison fails).
int WideCompareStr(const std::wstring& a, const std::wstring& b);
bool WideSameStr(const std::wstring& a, const std::wstring& b);
// The same, ignoring case.
int WideCompareText(const std::wstring& a, const std::wstring& b);
bool WideSameText(const std::wstring& a, const std::wstring& b);
std::wstring WideUpperCase(const std::wstring& s);

// File handles: -1 when the file cannot be created or opened (no error
// raised). Create truncates; Open takes the class library's file mode
// (access in bits 0..1, sharing in bits 4..7).
intptr_t WideFileCreate(const std::wstring& name);
intptr_t WideFileOpen(const std::wstring& name, uint16_t mode);
void WideFileClose(intptr_t handle);

// The module's file name (module 0: the program); raises the last system
// error when the system gives none.
std::wstring WideGetModuleFileName(void* module);

// The character has a form in the layer's default ANSI code page.
bool IsWideCharMappable(wchar_t c);
