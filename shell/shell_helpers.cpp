#include "shell/shell_helpers.h"

#include <cwchar>
#include <utility>

#include "classlib/core/exceptions.h"
#include "classlib/dialogs/message_dialogs.h"
#include "classlib/gui/application.h"
#include "shell/com_ptr.h"
#include "shell/error_mode.h"
#include "shell/lists/wildcard.h"
#include "shell/shell_namespace_unit.h"
#include "unicode/code_pages.h"
#include "unicode/text/wide_paths.h"

namespace {

using TPathMatchSpecW = BOOL(WINAPI*)(const wchar_t* name, const wchar_t* mask);
using TStrRetToStrW = HRESULT(WINAPI*)(STRRET* strRet, const ITEMIDLIST* list, wchar_t** text);

struct THelpersUnit {
    int starts = 0;
    TLibrary shell32;
    TLibrary shlwapi;
    TPathMatchSpecW pathMatchSpec = nullptr;
    TStrRetToStrW strRetToStr = nullptr;
};
THelpersUnit helpersUnit;

template <class F>
F Bind(HMODULE module, const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

void StartShellHelpers() {
    if (helpersUnit.starts++ > 0) return;
    OleInitialize(nullptr);
    helpersUnit.shell32.Reset(LoadLibraryW(L"Shell32"));
    if (!helpersUnit.shell32) throw Exception("Qarkit: Cannot open SHELL32.DLL!");
    helpersUnit.shlwapi.Reset(LoadLibraryW(L"shlwapi"));
    if (!helpersUnit.shlwapi) throw Exception("Qarkit: Cannot open SHLWAPI.DLL!");
    helpersUnit.pathMatchSpec = Bind<TPathMatchSpecW>(helpersUnit.shlwapi.Get(), "PathMatchSpecW");
    helpersUnit.strRetToStr = Bind<TStrRetToStrW>(helpersUnit.shlwapi.Get(), "StrRetToStrW");
}

void StopShellHelpers() {
    if (helpersUnit.starts == 0 || --helpersUnit.starts > 0) return;
    // The bound entry points die with their library.
    helpersUnit.pathMatchSpec = nullptr;
    helpersUnit.strRetToStr = nullptr;
    helpersUnit.shlwapi.Reset();
    helpersUnit.shell32.Reset();
}

TItemIdList PathToItemIdList(IShellFolder* folder, const std::wstring& path) {
    if (path.empty()) {
        ITEMIDLIST* drives = nullptr;
        if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &drives))) return nullptr;
        return AdoptItemIdList(drives);
    }
    std::wstring text = path.size() == 2 && path[1] == L':' ? WideIncludeTrailingBackslash(path) : path;
    TComPtr<IShellFolder> parser = TComPtr<IShellFolder>::Share(folder ? folder : ShellDesktopFolder());
    if (!parser && FAILED(SHGetDesktopFolder(parser.Put()))) return nullptr;
    ITEMIDLIST* parsed = nullptr;
    ULONG eaten = 0;
    HRESULT result;
    {
        TErrorModeScope errorMode(SEM_FAILCRITICALERRORS);
        result = parser->ParseDisplayName(nullptr, nullptr, text.data(), &eaten, &parsed, nullptr);
    }
    TItemIdList list = AdoptItemIdList(parsed);
    if (FAILED(result) || !list) {
        SetLastError(static_cast<DWORD>(result));
        return nullptr;
    }
    return list;
}

std::wstring StrRetToWideString(const ITEMIDLIST* list, STRRET strRet) {
    if (!helpersUnit.strRetToStr) {
        if (Application && !Application->Terminated()) {
            MessageDlg("A Dll, which is needed to execute this program, is not installed. \r\n"
                       "Please install Internet Explorer 5.5 or higher to use this program.",
                       mtError, TMsgDlgButtons{mbOK}, 0);
            Application->Terminate();
        }
        return std::wstring();
    }
    wchar_t* text = nullptr;
    const HRESULT converted = helpersUnit.strRetToStr(&strRet, list, &text);
    TTaskMemory<wchar_t> owned(text);
    return SUCCEEDED(converted) && owned ? std::wstring(owned.get()) : std::wstring();
}

std::wstring SystemErrorText(uint32_t code) {
    char buffer[1024] = {};
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                  buffer, 1023, nullptr);
    if (length == 0) {
        wchar_t unknown[32];
        swprintf(unknown, 32, L"System error $%.8X", static_cast<unsigned>(code));
        return unknown;
    }
    return WideFromSystemAnsi(buffer);
}

std::wstring NetworkRemoteName(IShellFolder* folder, const ITEMIDLIST* list) {
    if (!folder || !list) return std::wstring();
    alignas(NETRESOURCEA) unsigned char buffer[292] = {};
    if (SHGetDataFromIDListA(folder, list, SHGDFIL_NETRESOURCE, buffer, sizeof(buffer)) != S_OK)
        return std::wstring();
    const auto* resource = reinterpret_cast<const NETRESOURCEA*>(buffer);
    bool domainOrServer = resource->dwDisplayType == RESOURCEDISPLAYTYPE_DOMAIN ||
                          resource->dwDisplayType == RESOURCEDISPLAYTYPE_SERVER;
    if (!domainOrServer || !resource->lpRemoteName) return std::wstring();
    return WideFromSystemAnsi(resource->lpRemoteName);
}

namespace {

// The steps both forms share: the link object, its file interface, the load.
template <class Link>
TComPtr<Link> LoadShellLink(const std::wstring& linkPath, REFIID linkInterface) {
    TComPtr<Link> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, linkInterface, link.PutVoid())) ||
        !link)
        return TComPtr<Link>();
    TComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.PutVoid())) || !file) return TComPtr<Link>();
    if (FAILED(file->Load(linkPath.c_str(), 0))) return TComPtr<Link>();
    return link;
}

}  // namespace

std::wstring ResolveShellLinkA(const std::wstring& linkPath) {
    TComPtr<IShellLinkA> link = LoadShellLink<IShellLinkA>(linkPath, IID_IShellLinkA);
    if (!link) return std::wstring();
    char target[MAX_PATH] = {};
    WIN32_FIND_DATAA found{};
    if (link->GetPath(target, MAX_PATH, &found, SLGP_UNCPRIORITY) != S_OK) return std::wstring();
    return WideFromSystemAnsi(target);
}

std::wstring ResolveShellLinkW(const std::wstring& linkPath) {
    TComPtr<IShellLinkW> link = LoadShellLink<IShellLinkW>(linkPath, IID_IShellLinkW);
    if (!link) return std::wstring();
    wchar_t target[MAX_PATH] = {};
    WIN32_FIND_DATAW found{};
    if (link->GetPath(target, MAX_PATH, &found, SLGP_UNCPRIORITY) != S_OK) return std::wstring();
    return target;
}

bool MatchesFileMask(const std::wstring& name, const std::wstring& mask) {
    if (mask == L"*.*") return name.find(L'.') != std::wstring::npos;
    // Without the shell's matcher our own follows the same wildcards.
    if (!helpersUnit.pathMatchSpec) return WildcardMatches(name, mask);
    return helpersUnit.pathMatchSpec(name.c_str(), mask.c_str()) != 0;
}
