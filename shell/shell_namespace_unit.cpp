#include "shell/shell_namespace_unit.h"

#include <array>
#include <memory>

#include "classlib/core/exceptions.h"
#include "classlib/gui/menus.h"
#include "shell/com_ptr.h"
#include "unicode/api_wrappers.h"
#include "unicode/text/wide_paths.h"

namespace {

using TStrFormatByteSizeW = wchar_t*(WINAPI*)(LONGLONG size, wchar_t* buffer, UINT length);

struct TNamespaceUnit {
    int starts = 0;
    TComPtr<IShellFolder> desktop;
    TItemIdList netHood;
    UINT idListArrayFormat = 0;
    HMODULE shlwapi = nullptr;
    TStrFormatByteSizeW strFormatByteSize = nullptr;
    TShellSystemFlags flags;
    std::wstring windowsDriveRoot;
    // Menu items kept ready for the shell's context menus, without owner.
    std::array<std::unique_ptr<TMenuItem>, kShellMenuItemCount> menuItems;
};
TNamespaceUnit unit;

}  // namespace

void StartShellNamespaceUnit() {
    if (unit.starts++ > 0) return;
    if (FAILED(SHGetDesktopFolder(unit.desktop.Put())) || !unit.desktop)
        throw Exception("Qarkit: Cannot open Shell!");
    ITEMIDLIST* netHood = nullptr;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_NETHOOD, &netHood))) unit.netHood.reset(netHood);
    unit.idListArrayFormat = RegisterClipboardFormatA("Shell IDList Array");
    for (auto& item : unit.menuItems) item = std::make_unique<TMenuItem>(nullptr);

    unit.shlwapi = LoadLibraryW(L"shlwapi");
    if (!unit.shlwapi) throw Exception("Qarkit: Cannot open SHLWAPI.DLL!");
    unit.strFormatByteSize = reinterpret_cast<TStrFormatByteSizeW>(
        reinterpret_cast<void*>(GetProcAddress(unit.shlwapi, "StrFormatByteSizeW")));

    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);  // 148 bytes
    if (GetVersionExA(&version)) {
        DWORD major = version.dwMajorVersion, minor = version.dwMinorVersion;
        unit.flags.NTPlatform = version.dwPlatformId == VER_PLATFORM_WIN32_NT;
        unit.flags.OldShell = major == 4 && minor <= 10;
        unit.flags.XP = major == 5 && minor == 1;
        unit.flags.XPOrLater = unit.flags.XP || major > 5;
        unit.flags.VistaOrLater = major > 5;
    }

    wchar_t windows[MAX_PATH] = {};
    std::wstring folder = ApiGetWindowsDirectory(windows, MAX_PATH) ? windows : L"C:\\Windows";
    unit.windowsDriveRoot = WideIncludeTrailingBackslash(WideExtractFileDrive(folder));
}

void StopShellNamespaceUnit() {
    if (unit.starts == 0 || --unit.starts > 0) return;
    for (auto& item : unit.menuItems) item.reset();
    unit.netHood.reset();
    unit.desktop.Reset();
    unit.windowsDriveRoot.clear();
}

IShellFolder* ShellDesktopFolder() {
    return unit.desktop.Get();
}

const ITEMIDLIST* ShellNetHoodList() {
    return unit.netHood.get();
}

UINT ShellIdListArrayFormat() {
    return unit.idListArrayFormat;
}

const TShellSystemFlags& ShellSystemFlags() {
    return unit.flags;
}

TScopedShellSystemFlags::TScopedShellSystemFlags(const TShellSystemFlags& flags) : saved_(unit.flags) {
    unit.flags = flags;
}

TScopedShellSystemFlags::~TScopedShellSystemFlags() {
    unit.flags = saved_;
}

TMenuItem* ShellMenuItem(int index) {
    return index >= 0 && index < kShellMenuItemCount ? unit.menuItems[static_cast<size_t>(index)].get() : nullptr;
}

const std::wstring& WindowsDriveRoot() {
    return unit.windowsDriveRoot;
}
