#include "unicode/code_pages.h"

#include <gtest/gtest.h>

#include "classlib/gui/win32.h"
#include "unicode/text/uc_errors.h"
#include "unicode/wide_program_texts.h"

TEST(CodePages, Utf7AndUtf8GoToTheLayersCoders) {
    EXPECT_EQ(StringToWideWithCodePage("+AOk-", kCodePageUtf7), L"\x00E9");
    EXPECT_EQ(StringToWideWithCodePage("\xC3\xA9", kCodePageUtf8), L"\x00E9");
    EXPECT_EQ(StringToWideWithCodePage("\xC3", kCodePageUtf8), std::wstring());
    EXPECT_THROW(StringToWideWithCodePage("+", kCodePageUtf7), EUcGeneralError);
    EXPECT_EQ(WideToStringWithCodePage(L"1 + 1", kCodePageUtf7), "1 +- 1");
    EXPECT_EQ(WideToStringWithCodePage(L"\x20AC", kCodePageUtf8), "\xE2\x82\xAC");
}

TEST(CodePages, OtherPagesGoToTheSystem) {
    EXPECT_EQ(StringToWideWithCodePage("\xFC\x80", 1252), L"\x00FC\x20AC");
    EXPECT_EQ(WideToStringWithCodePage(L"\x00FC\x20AC", 1252), "\xFC\x80");
    EXPECT_EQ(StringToWideWithCodePage("\xE4", 1251), L"\x0434");
    EXPECT_EQ(StringToWideWithCodePage("", 1252), std::wstring());
    EXPECT_EQ(WideToStringWithCodePage(std::wstring(), 1252), "");
}

TEST(CodePages, StartedWithTheSystemAnsiCodePage) {
    EXPECT_EQ(DefaultAnsiCodePage, 0u);
}

TEST(CodePages, SwapByteOrderUpToTheTerminator) {
    wchar_t text[] = {0x4100, 0x0042, 0, 0x1234};
    SwapWideByteOrder(text);
    EXPECT_EQ(text[0], 0x0041);
    EXPECT_EQ(text[1], 0x4200);
    EXPECT_EQ(text[3], 0x1234);
}

TEST(WideResourceStrings, TableEntriesAndTexts) {
    void* module = GetModuleHandleW(nullptr);
    TResStringRec fromTable{&module, 17};
    EXPECT_EQ(LoadWideResString(&fromTable), L"Seventeen \x00E9t\x00E9");
    static const char kUtf8[] = "\xEF\xBB\xBF" "\xE4\xB8\xAD";
    TResStringRec utf8{&module, reinterpret_cast<uintptr_t>(kUtf8)};
    EXPECT_EQ(LoadWideResString(&utf8), L"\x4E2D");
    static const char kAnsi[] = "caf\xE9";
    TResStringRec ansi{&module, reinterpret_cast<uintptr_t>(kAnsi)};
    EXPECT_EQ(LoadWideResString(&ansi), WideFromSystemAnsi(kAnsi));
    EXPECT_EQ(LoadWideResString(nullptr), std::wstring());
}
