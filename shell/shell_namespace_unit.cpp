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
TNamespaceUnit namespaceUnit;

}  // namespace

void StartShellNamespaceUnit() {
    if (namespaceUnit.starts++ > 0) return;
    if (FAILED(SHGetDesktopFolder(namespaceUnit.desktop.Put())) || !namespaceUnit.desktop)
        throw Exception("Qarkit: Cannot open Shell!");
    ITEMIDLIST* netHood = nullptr;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_NETHOOD, &netHood))) namespaceUnit.netHood.reset(netHood);
    namespaceUnit.idListArrayFormat = RegisterClipboardFormatA("Shell IDList Array");
    for (auto& item : namespaceUnit.menuItems) item = std::make_unique<TMenuItem>(nullptr);

    namespaceUnit.shlwapi = LoadLibraryW(L"shlwapi");
    if (!namespaceUnit.shlwapi) throw Exception("Qarkit: Cannot open SHLWAPI.DLL!");
    namespaceUnit.strFormatByteSize = reinterpret_cast<TStrFormatByteSizeW>(
        reinterpret_cast<void*>(GetProcAddress(namespaceUnit.shlwapi, "StrFormatByteSizeW")));

    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);  // 148 bytes
    if (GetVersionExA(&version)) {
        DWORD major = version.dwMajorVersion, minor = version.dwMinorVersion;
        namespaceUnit.flags.NTPlatform = version.dwPlatformId == VER_PLATFORM_WIN32_NT;
        namespaceUnit.flags.OldShell = major == 4 && minor <= 10;
        namespaceUnit.flags.XP = major == 5 && minor == 1;
        namespaceUnit.flags.XPOrLater = namespaceUnit.flags.XP || major > 5;
        namespaceUnit.flags.VistaOrLater = major > 5;
    }

    wchar_t windows[MAX_PATH] = {};
    std::wstring folder = ApiGetWindowsDirectory(windows, MAX_PATH) ? windows : L"C:\\Windows";
    namespaceUnit.windowsDriveRoot = WideIncludeTrailingBackslash(WideExtractFileDrive(folder));
}

void StopShellNamespaceUnit() {
    if (namespaceUnit.starts == 0 || --namespaceUnit.starts > 0) return;
    for (auto& item : namespaceUnit.menuItems) item.reset();
    namespaceUnit.netHood.reset();
    namespaceUnit.desktop.Reset();
    namespaceUnit.windowsDriveRoot.clear();
}

IShellFolder* ShellDesktopFolder() {
    return namespaceUnit.desktop.Get();
}

const ITEMIDLIST* ShellNetHoodList() {
    return namespaceUnit.netHood.get();
}

UINT ShellIdListArrayFormat() {
    return namespaceUnit.idListArrayFormat;
}

const TShellSystemFlags& ShellSystemFlags() {
    return namespaceUnit.flags;
}

TScopedShellSystemFlags::TScopedShellSystemFlags(const TShellSystemFlags& flags) : saved_(namespaceUnit.flags) {
    namespaceUnit.flags = flags;
}

TScopedShellSystemFlags::~TScopedShellSystemFlags() {
    namespaceUnit.flags = saved_;
}

TMenuItem* ShellMenuItem(int index) {
    return index >= 0 && index < kShellMenuItemCount ? namespaceUnit.menuItems[static_cast<size_t>(index)].get() : nullptr;
}

const std::wstring& WindowsDriveRoot() {
    return namespaceUnit.windowsDriveRoot;
}
