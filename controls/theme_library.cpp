#include "controls/theme_library.h"

#include <memory>
#include <mutex>
#include <string>

#include "classlib/core/syncobjs.h"
#include "classlib/core/unit_starts.h"
#include "classlib/gui/scoped_win32.h"

TThemeEntryPoints ThemeEntries{};

namespace {

static_assert(sizeof(TThemeEntryPoints) == ThemeEntryPointCount * sizeof(FARPROC));

// The exported names, in the order of the table's members.
const char* const EntryNames[ThemeEntryPointCount] = {
    "OpenThemeData", "CloseThemeData", "DrawThemeBackground", "DrawThemeText",
    "GetThemeBackgroundContentRect", "GetThemePartSize", "GetThemeTextExtent", "GetThemeTextMetrics",
    "GetThemeBackgroundRegion", "HitTestThemeBackground", "DrawThemeEdge", "DrawThemeIcon",
    "IsThemePartDefined", "IsThemeBackgroundPartiallyTransparent", "GetThemeColor", "GetThemeMetric",
    "GetThemeString", "GetThemeBool", "GetThemeInt", "GetThemeEnumValue", "GetThemePosition", "GetThemeFont",
    "GetThemeRect", "GetThemeMargins", "GetThemeIntList", "GetThemePropertyOrigin", "SetWindowTheme",
    "GetThemeFilename", "GetThemeSysColor", "GetThemeSysColorBrush", "GetThemeSysBool", "GetThemeSysSize",
    "GetThemeSysFont", "GetThemeSysString", "GetThemeSysInt", "IsThemeActive", "IsAppThemed",
    "GetWindowTheme", "EnableThemeDialogTexture", "IsThemeDialogTextureEnabled", "GetThemeAppProperties",
    "SetThemeAppProperties", "GetCurrentThemeName", "GetThemeDocumentationProperty",
    "DrawThemeParentBackground", "EnableTheming"};

FARPROC* EntrySlots() { return reinterpret_cast<FARPROC*>(&ThemeEntries); }

TLibrary library;
int referenceCount = 0;
int loadAttempts = 0;
int freeCalls = 0;
std::string libraryName = "uxtheme.dll";
std::unique_ptr<TCriticalSection> lock;
TUnitStartCount themeLibraryStarts;

TCriticalSection& Lock() {
    // Acquisition before the unit's start-up still runs under a lock.
    if (!lock) lock = std::make_unique<TCriticalSection>();
    return *lock;
}

}  // namespace

bool AcquireThemeLibrary() {
    std::lock_guard<TCriticalSection> guard(Lock());
    ++referenceCount;
    if (!library) {
        ++loadAttempts;
        library.Reset(LoadLibraryA(libraryName.c_str()));
        if (library)
            for (size_t i = 0; i < ThemeEntryPointCount; ++i)
                EntrySlots()[i] = GetProcAddress(library.Get(), EntryNames[i]);
    }
    return static_cast<bool>(library);
}

void ReleaseThemeLibrary() {
    std::lock_guard<TCriticalSection> guard(Lock());
    if (referenceCount > 0) --referenceCount;
    if (library && referenceCount == 0) {
        library.Reset();
        ++freeCalls;
        ThemeEntries = TThemeEntryPoints{};
    }
}

bool ThemesActive() {
    if (!library) return false;
    if (!ThemeEntries.IsAppThemed || !ThemeEntries.IsAppThemed()) return false;
    return ThemeEntries.IsThemeActive && ThemeEntries.IsThemeActive();
}

void StartThemeLibraryUnit() {
    if (!themeLibraryStarts.Start()) return;
    Lock();
}

void StopThemeLibraryUnit() {
    if (!themeLibraryStarts.Stop()) return;
    while (referenceCount > 0) ReleaseThemeLibrary();
    lock.reset();
}

namespace theme_library_testing {
void SetLibraryName(const char* name) { libraryName = name ? name : "uxtheme.dll"; }
int ReferenceCount() { return referenceCount; }
HMODULE LibraryHandle() { return library.Get(); }
int LoadAttempts() { return loadAttempts; }
int FreeCalls() { return freeCalls; }
}  // namespace theme_library_testing
