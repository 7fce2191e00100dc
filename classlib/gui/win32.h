// The one place the visual layer includes <windows.h>. Macros that would
// rename our own functions and methods are removed; call the A functions
// explicitly (MessageBoxA, DrawTextA, ...).
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#undef RegisterClass
#undef DeleteFile
#undef MessageBox
#undef ShellExecute
#undef TextOut
#undef DrawText
#undef GetObject
#undef LoadString
#undef CreateWindow
#undef GetClassName
#undef CopyFile
#undef FindText
#undef Rectangle
#undef GetCurrentTime
