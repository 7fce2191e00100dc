#include "unicode/api_wrappers.h"

#include <cstring>
#include <string>

#include "unicode/code_pages.h"
#include "unicode/text/platform_flags.h"
#include "unicode/text/result_copy.h"
#include "unicode/text/string_table.h"
#include "unicode/text/wide_buffers.h"
#include "unicode/wide_sysutils.h"

namespace {
// The A functions fill at most this many bytes.
constexpr DWORD kAnsiPathBuffer = MAX_PATH;

uintptr_t AsNumber(const void* p) {
    return reinterpret_cast<uintptr_t>(p);
}
}  // namespace

bool IsResourceOrdinal(uintptr_t value) {
    return (value >> 16) == 0;
}

BOOL ApiSetWindowText(HWND window, const wchar_t* text) {
    if (UnicodePlatform) return SetWindowTextW(window, text);
    return SetWindowTextA(window, SystemAnsiFromWide(WideStringFromBuffer(text, -1)).c_str());
}

HANDLE ApiCreateFile(const wchar_t* name, DWORD access, DWORD share, SECURITY_ATTRIBUTES* security, DWORD creation,
                     DWORD flags, HANDLE templateFile) {
    if (UnicodePlatform) return CreateFileW(name, access, share, security, creation, flags, templateFile);
    return CreateFileA(SystemAnsiFromWide(WideStringFromBuffer(name, -1)).c_str(), access, share, security, creation,
                       flags, templateFile);
}

int ApiDrawText(HDC dc, const wchar_t* text, int count, RECT* rect, UINT format) {
    if (UnicodePlatform) return DrawTextW(dc, text, count, rect, format);
    std::string ansi = SystemAnsiFromWide(WideStringFromBuffer(text, count));
    return DrawTextA(dc, ansi.c_str(), -1, rect, format);
}

DWORD ApiGetModuleFileName(HMODULE module, wchar_t* buffer, DWORD size) {
    if (UnicodePlatform) return GetModuleFileNameW(module, buffer, size);
    char ansi[kAnsiPathBuffer];
    DWORD got = GetModuleFileNameA(module, ansi, kAnsiPathBuffer);
    if (got == 0) return 0;
    // A name that fills the buffer may come without a terminator: never
    // read past the buffer's end.
    std::string name(ansi, strnlen(ansi, kAnsiPathBuffer));
    return static_cast<DWORD>(
        CopyAnsiResultToWide(static_cast<int>(size), buffer, WideFromSystemAnsi(name), rcTruncating));
}

UINT ApiGetWindowsDirectory(wchar_t* buffer, UINT size) {
    if (UnicodePlatform) return GetWindowsDirectoryW(buffer, size);
    char ansi[kAnsiPathBuffer];
    UINT got = GetWindowsDirectoryA(ansi, kAnsiPathBuffer);
    if (got == 0 || got >= kAnsiPathBuffer) return 0;
    return static_cast<UINT>(
        CopyAnsiResultToWide(static_cast<int>(size), buffer, WideFromSystemAnsi(std::string(ansi, got)), rcPlain));
}

int ApiCompareString(LCID locale, DWORD flags, const wchar_t* s1, int count1, const wchar_t* s2, int count2) {
    if (UnicodePlatform) return CompareStringW(locale, flags, s1, count1, s2, count2);
    std::wstring a = WideStringFromBuffer(s1, count1), b = WideStringFromBuffer(s2, count2);
    if (flags == 0) {
        int c = a.compare(b);
        return c < 0 ? CSTR_LESS_THAN : c == 0 ? CSTR_EQUAL : CSTR_GREATER_THAN;
    }
    return CompareStringA(locale, flags, SystemAnsiFromWide(a).c_str(), -1, SystemAnsiFromWide(b).c_str(), -1);
}

wchar_t* ApiCharUpper(wchar_t* textOrChar) {
    if (UnicodePlatform) return CharUpperW(textOrChar);
    if (!IsResourceOrdinal(AsNumber(textOrChar))) {
        for (wchar_t* p = textOrChar; *p; ++p)
            *p = static_cast<wchar_t>(AsNumber(ApiCharUpper(reinterpret_cast<wchar_t*>(static_cast<uintptr_t>(*p)))));
        return textOrChar;
    }
    wchar_t c = static_cast<wchar_t>(AsNumber(textOrChar));
    if (IsWideCharMappable(c)) {
        std::string ansi = SystemAnsiFromWide(std::wstring(1, c));
        CharUpperBuffA(ansi.data(), static_cast<DWORD>(ansi.size()));
        std::wstring upper = WideFromSystemAnsi(ansi);
        if (upper.size() == 1) return reinterpret_cast<wchar_t*>(static_cast<uintptr_t>(upper[0]));
    }
    return textOrChar;
}

DWORD ApiCharUpperBuff(wchar_t* buffer, DWORD count) {
    if (UnicodePlatform) return CharUpperBuffW(buffer, count);
    for (DWORD i = 0; i < count; ++i)
        buffer[i] = static_cast<wchar_t>(AsNumber(ApiCharUpper(reinterpret_cast<wchar_t*>(static_cast<uintptr_t>(buffer[i])))));
    return count;
}

int ApiLoadString(HINSTANCE module, UINT id, wchar_t* buffer, int size) {
    if (UnicodePlatform) return LoadStringW(module, id, buffer, size);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(StringTableBlock(id)), MAKEINTRESOURCEA(6));
    if (!found) return 0;
    HGLOBAL loaded = LoadResource(module, found);
    const void* block = loaded ? LockResource(loaded) : nullptr;
    if (!block) return 0;
    return ReadStringTableEntry(block, SizeofResource(module, found), StringTableEntry(id), buffer, size);
}
