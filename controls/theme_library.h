// The visual-style library ("uxtheme.dll"), bound by name at run time and
// never linked, so that the programs start and draw classic controls where
// it is missing. The binding is process-wide and counted: the first
// acquisition loads the library and looks up its entry points, the release
// of the last reference unloads it and clears them. Every change happens
// under one lock; ThemesActive and calls through the table take none.
#pragma once
#include <cstddef>

#include "classlib/gui/win32.h"

using HTHEME = HANDLE;

// The library's entry points, nullptr while it is not loaded or where it
// does not export the name. The programs call the typed ones.
struct TThemeEntryPoints {
    HTHEME(WINAPI* OpenThemeData)(HWND window, const wchar_t* classList);
    HRESULT(WINAPI* CloseThemeData)(HTHEME theme);
    HRESULT(WINAPI* DrawThemeBackground)(HTHEME theme, HDC dc, int part, int state, const RECT* rect,
                                         const RECT* clip);
    FARPROC DrawThemeText, GetThemeBackgroundContentRect, GetThemePartSize, GetThemeTextExtent,
        GetThemeTextMetrics, GetThemeBackgroundRegion, HitTestThemeBackground, DrawThemeEdge, DrawThemeIcon,
        IsThemePartDefined, IsThemeBackgroundPartiallyTransparent, GetThemeColor, GetThemeMetric,
        GetThemeString, GetThemeBool, GetThemeInt, GetThemeEnumValue, GetThemePosition, GetThemeFont,
        GetThemeRect, GetThemeMargins, GetThemeIntList, GetThemePropertyOrigin, SetWindowTheme,
        GetThemeFilename, GetThemeSysColor, GetThemeSysColorBrush, GetThemeSysBool, GetThemeSysSize,
        GetThemeSysFont, GetThemeSysString, GetThemeSysInt;
    BOOL(WINAPI* IsThemeActive)();
    BOOL(WINAPI* IsAppThemed)();
    FARPROC GetWindowTheme, EnableThemeDialogTexture, IsThemeDialogTextureEnabled, GetThemeAppProperties,
        SetThemeAppProperties, GetCurrentThemeName, GetThemeDocumentationProperty, DrawThemeParentBackground,
        EnableTheming;
};
constexpr size_t ThemeEntryPointCount = 46;

extern TThemeEntryPoints ThemeEntries;

// Takes one reference (also when loading fails; every acquisition while
// the library is not loaded tries again); true when the library is loaded.
bool AcquireThemeLibrary();
// Gives one reference back; the last one unloads the library.
void ReleaseThemeLibrary();
// The library is loaded, the application is themed and a visual style is
// active. A missing entry point counts as "no".
bool ThemesActive();

// Unit start-up (creates the lock) and shut-down (gives back every
// reference, then frees the lock); each runs once.
void StartThemeLibraryUnit();
void StopThemeLibraryUnit();

// What tests look at and replace: the library's name (nullptr restores
// "uxtheme.dll"), the count, and how often it was loaded and freed.
namespace theme_library_testing {
void SetLibraryName(const char* name);
int ReferenceCount();
HMODULE LibraryHandle();
int LoadAttempts();
int FreeCalls();
}  // namespace theme_library_testing
