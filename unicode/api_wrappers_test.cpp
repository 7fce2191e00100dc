// The wrappers on both platforms: the system's W function, and the ANSI
// branch reached by setting the flags (Wine reports the Unicode platform).
#include "unicode/api_wrappers.h"

#include <gtest/gtest.h>

#include <string>

#include "unicode/code_pages.h"
#include "unicode/text/platform_flags.h"
#include "classlib/gui/scoped_win32.h"
#include "unicode/wide_test_texts.h"

namespace {
class AnsiPlatform : public ::testing::Test {
protected:
    TScopedPlatformFlags flags_{false, false};
};

std::wstring LoadedW(UINT id) {
    wchar_t buffer[256] = {};
    int n = LoadStringW(GetModuleHandleW(nullptr), id, buffer, 256);
    return std::wstring(buffer, static_cast<size_t>(n));
}

std::wstring LoadedThroughWrapper(UINT id, int size = 256) {
    wchar_t buffer[256] = {};
    int n = ApiLoadString(GetModuleHandleW(nullptr), id, buffer, size);
    EXPECT_EQ(buffer[n], 0);
    return std::wstring(buffer, static_cast<size_t>(n));
}

}  // namespace

TEST_F(AnsiPlatform, StringTableReaderAgreesWithTheSystem) {
    ASSERT_EQ(LoadedW(17), L"Seventeen \x00E9t\x00E9");
    ASSERT_EQ(LoadedW(65426), kChinese + L" and more");
    EXPECT_EQ(LoadedThroughWrapper(17), LoadedW(17));
    EXPECT_EQ(LoadedThroughWrapper(65426), LoadedW(65426));
    EXPECT_EQ(LoadedThroughWrapper(17, 5), L"Seve");
    EXPECT_EQ(ApiLoadString(GetModuleHandleW(nullptr), 17, nullptr, 0), 13);
    EXPECT_EQ(LoadedThroughWrapper(18), std::wstring());
    EXPECT_EQ(LoadedThroughWrapper(40000), std::wstring());  // no such block
}

TEST(UnicodePlatformWrappers, StringTableThroughTheSystem) {
    TScopedPlatformFlags flags(true, true);
    EXPECT_EQ(LoadedThroughWrapper(65426), kChinese + L" and more");
}

TEST_F(AnsiPlatform, OrdinalComparisonWithoutFlags) {
    EXPECT_EQ(ApiCompareString(LOCALE_USER_DEFAULT, 0, L"abc", -1, L"abd", -1), CSTR_LESS_THAN);
    EXPECT_EQ(ApiCompareString(LOCALE_USER_DEFAULT, 0, L"abc", 3, L"abc", -1), CSTR_EQUAL);
    EXPECT_EQ(ApiCompareString(LOCALE_USER_DEFAULT, 0, L"", -1, L"a", -1), CSTR_LESS_THAN);
    EXPECT_EQ(ApiCompareString(LOCALE_USER_DEFAULT, 0, L"abd", 2, L"abc", 2), CSTR_EQUAL);
    EXPECT_EQ(ApiCompareString(LOCALE_USER_DEFAULT, 0, L"b", -1, L"a", -1), CSTR_GREATER_THAN);
    EXPECT_EQ(ApiCompareString(LOCALE_USER_DEFAULT, NORM_IGNORECASE, L"ABC", -1, L"abc", -1), CSTR_EQUAL);
}

TEST_F(AnsiPlatform, ModuleFileNameTruncatesWithoutTerminator) {
    wchar_t full[MAX_PATH] = {};
    DWORD length = GetModuleFileNameW(nullptr, full, MAX_PATH);
    ASSERT_GT(length, 10u);
    std::wstring expected = WideFromSystemAnsi(SystemAnsiFromWide(std::wstring(full, length)));
    wchar_t buffer[12];
    std::fill(std::begin(buffer), std::end(buffer), L'#');
    EXPECT_EQ(ApiGetModuleFileName(nullptr, buffer, 10), 10u);
    EXPECT_EQ(std::wstring(buffer, 10), expected.substr(0, 10));
    EXPECT_EQ(buffer[10], L'#');
    wchar_t whole[MAX_PATH];
    EXPECT_EQ(ApiGetModuleFileName(nullptr, whole, MAX_PATH), expected.size());
    EXPECT_EQ(std::wstring(whole), expected);
}

TEST_F(AnsiPlatform, WindowsDirectoryTooSmallCopiesNothing) {
    wchar_t full[MAX_PATH] = {};
    UINT length = GetWindowsDirectoryW(full, MAX_PATH);
    ASSERT_GT(length, 2u);
    wchar_t buffer[2] = {L'#', L'#'};
    EXPECT_EQ(ApiGetWindowsDirectory(buffer, 2), length + 1);
    EXPECT_EQ(buffer[0], L'#');
    wchar_t whole[MAX_PATH];
    EXPECT_EQ(ApiGetWindowsDirectory(whole, MAX_PATH), length);
    EXPECT_EQ(std::wstring(whole), std::wstring(full));
}

TEST_F(AnsiPlatform, UpperCaseOfBuffersAndCharacters) {
    std::wstring text = L"abc\x00E9";
    std::wstring expected = text;
    CharUpperBuffW(expected.data(), static_cast<DWORD>(expected.size()));
    std::wstring viaAnsi = text;
    if (SystemAnsiFromWide(L"\x00E9") != "?") {
        EXPECT_EQ(ApiCharUpper(viaAnsi.data()), viaAnsi.data());
        EXPECT_EQ(viaAnsi, expected);
    }
    EXPECT_EQ(reinterpret_cast<uintptr_t>(ApiCharUpper(reinterpret_cast<wchar_t*>(uintptr_t{'q'}))), uintptr_t{'Q'});
    // A character without an ANSI form comes back unchanged.
    EXPECT_EQ(reinterpret_cast<uintptr_t>(ApiCharUpper(reinterpret_cast<wchar_t*>(uintptr_t{0x4E2D}))), 0x4E2Du);
    std::wstring buffer = L"xy\x4E2Dz";
    EXPECT_EQ(ApiCharUpperBuff(buffer.data(), 3), 3u);
    EXPECT_EQ(buffer, L"XY\x4E2Dz");
}

TEST_F(AnsiPlatform, WindowTextAndDrawTextGoThroughAnsi) {
    TOwnedWindow owned(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr));
    const HWND window = owned.Get();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(ApiSetWindowText(window, L"plain text"));
    wchar_t got[32] = {};
    GetWindowTextW(window, got, 32);
    EXPECT_EQ(std::wstring(got), L"plain text");
    owned.Reset();

    TMemoryDC dc;
    RECT wanted{0, 0, 0, 0}, drawn{0, 0, 0, 0};
    DrawTextW(dc, L"ab", 2, &wanted, DT_CALCRECT | DT_SINGLELINE);
    ApiDrawText(dc, L"abcdef", 2, &drawn, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(drawn.right, wanted.right);
    EXPECT_EQ(drawn.bottom, wanted.bottom);
}

TEST(UnicodePlatformWrappers, WindowTextKeepsEveryCharacter) {
    TScopedPlatformFlags flags(true, true);
    TOwnedWindow owned(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr));
    const HWND window = owned.Get();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(ApiSetWindowText(window, kChinese.c_str()));
    wchar_t got[32] = {};
    GetWindowTextW(window, got, 32);
    EXPECT_EQ(std::wstring(got), kChinese);
}

TEST(ResourceOrdinals, HighWordDecides) {
    EXPECT_TRUE(IsResourceOrdinal(65535));
    EXPECT_FALSE(IsResourceOrdinal(65536));
}
