#include "unicode/code_pages.h"

#include "classlib/core/unit_starts.h"
#include "classlib/gui/win32.h"
#include "unicode/text/utf7.h"
#include "unicode/text/utf8.h"

uint32_t DefaultAnsiCodePage = 0;

namespace {
uint32_t saved_default_code_page = 0;
TUnitStartCount code_page_starts;
}  // namespace

void StartUnicodeConversions() {
    if (!code_page_starts.Start()) return;
    DefaultAnsiCodePage = 0;
    saved_default_code_page = 0;
}

void StopUnicodeConversions() {
    if (!code_page_starts.Stop()) return;
    DefaultAnsiCodePage = saved_default_code_page;
}

std::wstring StringToWideWithCodePage(const std::string& s, uint32_t codePage) {
    if (codePage == kCodePageUtf7) return Utf7ToWide(s);
    if (codePage == kCodePageUtf8) return Utf8ToWide(s);
    if (s.empty()) return std::wstring();
    int length = MultiByteToWideChar(codePage, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    if (length <= 0) return std::wstring();
    std::wstring w(static_cast<size_t>(length), L'\0');
    length = MultiByteToWideChar(codePage, 0, s.data(), static_cast<int>(s.size()), w.data(), length);
    w.resize(static_cast<size_t>(length > 0 ? length : 0));
    return w;
}

std::string WideToStringWithCodePage(const std::wstring& w, uint32_t codePage) {
    if (codePage == kCodePageUtf7) return WideToUtf7(w);
    if (codePage == kCodePageUtf8) return WideToUtf8(w);
    if (w.empty()) return std::string();
    int length = WideCharToMultiByte(codePage, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    if (length <= 0) return std::string();
    std::string s(static_cast<size_t>(length), '\0');
    length = WideCharToMultiByte(codePage, 0, w.data(), static_cast<int>(w.size()), s.data(), length, nullptr, nullptr);
    s.resize(static_cast<size_t>(length > 0 ? length : 0));
    return s;
}

std::wstring WideFromSystemAnsi(const std::string& s) {
    return StringToWideWithCodePage(s, CP_ACP);
}

std::string SystemAnsiFromWide(const std::wstring& w) {
    return WideToStringWithCodePage(w, CP_ACP);
}

void SwapWideByteOrder(wchar_t* text) {
    for (; *text; ++text) {
        auto unit = static_cast<uint16_t>(*text);
        *text = static_cast<wchar_t>(static_cast<uint16_t>((unit << 8) | (unit >> 8)));
    }
}
