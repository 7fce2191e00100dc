// Wide system calls for both kinds of Windows: on the Unicode platform the
// W function, elsewhere the A function with the wide arguments made ANSI
// (system code page) and ANSI results made wide.
#pragma once
#include <cstdint>

#include "classlib/gui/win32.h"

BOOL ApiSetWindowText(HWND window, const wchar_t* text);
HANDLE ApiCreateFile(const wchar_t* name, DWORD access, DWORD share, SECURITY_ATTRIBUTES* security, DWORD creation,
                     DWORD flags, HANDLE templateFile);
// count -1: up to the terminator.
int ApiDrawText(HDC dc, const wchar_t* text, int count, RECT* rect, UINT format);
DWORD ApiGetModuleFileName(HMODULE module, wchar_t* buffer, DWORD size);
UINT ApiGetWindowsDirectory(wchar_t* buffer, UINT size);
// 1 less, 2 equal, 3 greater, 0 failure (CompareString's results).
int ApiCompareString(LCID locale, DWORD flags, const wchar_t* s1, int count1, const wchar_t* s2, int count2);
// A zero-terminated buffer (upper-cased in place and returned), or one
// character in the low 16 bits of the argument (its upper case returned so).
wchar_t* ApiCharUpper(wchar_t* textOrChar);
DWORD ApiCharUpperBuff(wchar_t* buffer, DWORD count);
int ApiLoadString(HINSTANCE module, UINT id, wchar_t* buffer, int size);

// A resource name given as a number (its high 16 bits zero).
bool IsResourceOrdinal(uintptr_t value);
