#include "unicode/wide_sysutils.h"

#include <vector>

#include "classlib/core/exceptions.h"
#include "classlib/core/strutils.h"
#include "classlib/core/unit_starts.h"
#include "classlib/gui/scoped_win32.h"
#include "classlib/gui/win32.h"
#include "unicode/api_wrappers.h"
#include "unicode/code_pages.h"
#include "unicode/text/platform_flags.h"

namespace {
TUnitStartCount sysutils_starts;

HANDLE AsHandle(intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

intptr_t FromHandle(HANDLE handle) {
    return handle == INVALID_HANDLE_VALUE ? -1 : reinterpret_cast<intptr_t>(handle);
}

int Compare(DWORD flags, const std::wstring& a, const std::wstring& b) {
    return ApiCompareString(GetThreadLocale(), flags, a.c_str(), static_cast<int>(a.size()), b.c_str(),
                            static_cast<int>(b.size())) -
           2;
}
}  // namespace

void StartWideSystemUtilities() {
    if (!sysutils_starts.Start()) return;
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);
    if (GetVersionExA(&version)) SetPlatformFlags(version.dwPlatformId, version.dwMajorVersion, version.dwMinorVersion);
}

void StopWideSystemUtilities() {
    sysutils_starts.Stop();
}

void RaiseLastSystemError() {
    DWORD code = GetLastError();
    char* text = nullptr;
    DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                      FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ARGUMENT_ARRAY,
                                  nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    TLocalMemory owned(text);
    std::string message = text ? std::string(text, length) : std::string();
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
        message.pop_back();
    throw EOSError("Systemfehler. Code: " + IntToStr(code) + ".\r\n" + message);
}

int CheckWin32Result(int value) {
    if (value == 0) RaiseLastSystemError();
    return value;
}

int WideCompareStr(const std::wstring& a, const std::wstring& b) {
    return Compare(0, a, b);
}

bool WideSameStr(const std::wstring& a, const std::wstring& b) {
    return WideCompareStr(a, b) == 0;
}

int WideCompareText(const std::wstring& a, const std::wstring& b) {
    return Compare(NORM_IGNORECASE, a, b);
}

bool WideSameText(const std::wstring& a, const std::wstring& b) {
    return WideCompareText(a, b) == 0;
}

std::wstring WideUpperCase(const std::wstring& s) {
    std::wstring result = s;
    if (!result.empty()) ApiCharUpperBuff(result.data(), static_cast<DWORD>(result.size()));
    return result;
}

intptr_t WideFileCreate(const std::wstring& name) {
    return FromHandle(ApiCreateFile(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
}

intptr_t WideFileOpen(const std::wstring& name, uint16_t mode) {
    static const DWORD access[] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE};
    static const DWORD share[] = {0, 0, FILE_SHARE_READ, FILE_SHARE_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE};
    unsigned a = mode & 3u, s = (mode & 0xF0u) >> 4;
    if (a > 2 || s > 4) return -1;  // not a file mode
    return FromHandle(
        ApiCreateFile(name.c_str(), access[a], share[s], nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

void WideFileClose(intptr_t handle) {
    if (handle != -1) CloseHandle(AsHandle(handle));
}

std::wstring WideGetModuleFileName(void* module) {
    wchar_t buffer[MAX_PATH + 1] = {};
    DWORD length = ApiGetModuleFileName(static_cast<HMODULE>(module), buffer, MAX_PATH);
    CheckWin32Result(static_cast<int>(length));
    buffer[MAX_PATH] = 0;
    return std::wstring(buffer);
}

bool IsWideCharMappable(wchar_t c) {
    BOOL usedDefault = FALSE;
    WideCharToMultiByte(DefaultAnsiCodePage, 0, &c, 1, nullptr, 0, nullptr, &usedDefault);
    return !usedDefault;
}
