#include "runtime/older_shell_unit.h"

#include <array>
#include <cstring>
#include <utility>

#include "classlib/dialogs/message_dialogs.h"
#include "classlib/gui/application.h"
#include "classlib/gui/menus.h"
#include "classlib/gui/scoped_win32.h"
#include "shell/lists/item_id_lists.h"

namespace {

struct TOlderUnit {
    int starts = 0;
    bool oleStarted = false;
    IMalloc* allocator = nullptr;
    IShellFolder* desktop = nullptr;
    ITEMIDLIST* netHood = nullptr;
    UINT idListArrayFormat = 0;
    TLibrary shlwapi;
    FARPROC autoComplete = nullptr;
    bool nt = false;
    // Menu items kept ready for the shell's context menus, without owner.
    std::array<std::unique_ptr<TMenuItem>, kOlderShellMenuItemCount> menuItems;
};
TOlderUnit unit;

void* ShellAlloc(std::size_t size) {
    return unit.allocator ? unit.allocator->Alloc(size) : nullptr;
}
// The shell's allocator is the task allocator's: after the unit's end,
// lists that outlive it (those of forms destroyed later) go back there.
void ShellFree(void* block) {
    if (!block) return;
    if (unit.allocator) unit.allocator->Free(block);
    else TTaskMemFree{}(block);
}
const TItemIdAllocator kShellAllocator{ShellAlloc, ShellFree};

TShellIdList Owned(void* block) {
    return TShellIdList(static_cast<ITEMIDLIST*>(block));
}

}  // namespace

void TShellMallocFree::operator()(void* block) const noexcept {
    ShellFree(block);
}

void StartOlderShellUnit() {
    if (unit.starts++ > 0) return;
    unit.oleStarted = SUCCEEDED(OleInitialize(nullptr));
    if (FAILED(SHGetMalloc(&unit.allocator)) || !unit.allocator || FAILED(SHGetDesktopFolder(&unit.desktop)) ||
        !unit.desktop) {
        ShowMessage("Cannot find Shell!");
        if (Application) Application->Terminate();
        return;
    }
    ITEMIDLIST* netHood = nullptr;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_NETHOOD, &netHood))) unit.netHood = netHood;
    unit.idListArrayFormat = RegisterClipboardFormatA("Shell IDList Array");
    for (auto& item : unit.menuItems) item = std::make_unique<TMenuItem>(nullptr);
    unit.shlwapi.Reset(LoadLibraryW(L"shlwapi"));
    if (unit.shlwapi) unit.autoComplete = GetProcAddress(unit.shlwapi.Get(), "SHAutoComplete");
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);
    if (GetVersionExA(&version)) unit.nt = version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

void StopOlderShellUnit() {
    if (unit.starts == 0 || --unit.starts > 0) return;
    for (auto& item : unit.menuItems) item.reset();
    ShellFree(std::exchange(unit.netHood, nullptr));
    unit.shlwapi.Reset();
    unit.autoComplete = nullptr;
    if (unit.desktop) std::exchange(unit.desktop, nullptr)->Release();
    if (unit.allocator) std::exchange(unit.allocator, nullptr)->Release();
    if (std::exchange(unit.oleStarted, false)) OleUninitialize();
}

IMalloc* OlderShellAllocator() {
    return unit.allocator;
}

IShellFolder* OlderShellDesktop() {
    return unit.desktop;
}

bool OlderShellNTPlatform() {
    return unit.nt;
}

TMenuItem* OlderShellMenuItem(int index) {
    return index >= 0 && index < kOlderShellMenuItemCount ? unit.menuItems[static_cast<size_t>(index)].get()
                                                          : nullptr;
}

std::size_t ShellIdListSize(const ITEMIDLIST* list) {
    return IdListSize(list);
}

int ShellIdListCount(const ITEMIDLIST* list) {
    return IdListCount(list);
}

TShellIdList ShellIdListCopy(const ITEMIDLIST* list) {
    return Owned(IdListCopy(kShellAllocator, list));
}

TShellIdList ShellIdListConcat(const ITEMIDLIST* first, const ITEMIDLIST* second) {
    return Owned(IdListConcat(kShellAllocator, first, second));
}

TShellIdList ShellIdListItem(const ITEMIDLIST* list, int index) {
    return Owned(IdListItem(kShellAllocator, list, index));
}

TShellIdList ShellIdListTruncate(const ITEMIDLIST* list, int count) {
    return Owned(IdListTruncate(kShellAllocator, list, count));
}

const ITEMIDLIST* OlderEmptyIdList() {
    static const unsigned short terminator = 0;
    return reinterpret_cast<const ITEMIDLIST*>(&terminator);
}

TShellIdList NarrowPathToIdList(IShellFolder* folder, const std::string& path) {
    IShellFolder* parser = folder ? folder : unit.desktop;
    if (!parser) return nullptr;
    wchar_t wide[522];
    // A path that does not fit is no path here, never a cut one.
    if (MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, path.c_str(), -1, wide, 522) == 0) return nullptr;
    ITEMIDLIST* parsed = nullptr;
    ULONG eaten = 0;
    if (FAILED(parser->ParseDisplayName(nullptr, nullptr, wide, &eaten, &parsed, nullptr)) || !parsed) {
        ShellFree(parsed);
        return nullptr;
    }
    return TShellIdList(parsed);
}

std::string StrRetToNarrow(const ITEMIDLIST* list, STRRET& strRet) {
    switch (strRet.uType) {
    case STRRET_WSTR: {
        std::string text;
        if (wchar_t* wide = std::exchange(strRet.pOleStr, nullptr)) {
            int size = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
            if (size > 1) {
                text.resize(size - 1);
                WideCharToMultiByte(CP_ACP, 0, wide, -1, text.data(), size, nullptr, nullptr);
            }
            ShellFree(wide);
        }
        return text;
    }
    case STRRET_OFFSET:
        if (!list) return std::string();
        return reinterpret_cast<const char*>(list) + strRet.uOffset;
    case STRRET_CSTR:
        // The array need not hold a terminator.
        return std::string(strRet.cStr, strnlen(strRet.cStr, sizeof(strRet.cStr)));
    default:
        return std::string();
    }
}

std::string NarrowNetworkName(IShellFolder* folder, const ITEMIDLIST* list) {
    if (!folder || !list) return std::string();
    alignas(NETRESOURCEA) unsigned char buffer[292] = {};
    if (SHGetDataFromIDListA(folder, list, SHGDFIL_NETRESOURCE, buffer, sizeof(buffer)) != S_OK) return std::string();
    const auto* resource = reinterpret_cast<const NETRESOURCEA*>(buffer);
    bool domainOrServer = resource->dwDisplayType == RESOURCEDISPLAYTYPE_DOMAIN ||
                          resource->dwDisplayType == RESOURCEDISPLAYTYPE_SERVER;
    if (!domainOrServer || !resource->lpRemoteName) return std::string();
    return resource->lpRemoteName;
}
