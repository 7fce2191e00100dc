#include "unicode/wide_sysutils.h"

#include <gtest/gtest.h>

#include "classlib/core/exceptions.h"
#include "classlib/core/streams.h"
#include "classlib/gui/win32.h"
#include "unicode/code_pages.h"
#include "unicode/text/platform_flags.h"
#include "unicode/wide_program_texts.h"
#include "unicode/wide_test_texts.h"

namespace {
// A fresh file name in the temporary folder, removed at the end.
class TTempName {
public:
    explicit TTempName(const std::wstring& stem) {
        wchar_t folder[MAX_PATH];
        GetTempPathW(MAX_PATH, folder);
        name_ = std::wstring(folder) + stem + std::to_wstring(GetCurrentProcessId()) + L".tmp";
    }
    ~TTempName() { DeleteFileW(name_.c_str()); }
    const std::wstring& Name() const { return name_; }

private:
    std::wstring name_;
};

}  // namespace

TEST(WideSystemUtilities, StartSetsTheFlagsFromTheSystem) {
    // The layer was started before the tests, as the programs start it.
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);
    ASSERT_TRUE(GetVersionExA(&version));
    EXPECT_EQ(UnicodePlatform, version.dwPlatformId == VER_PLATFORM_WIN32_NT);
    EXPECT_EQ(XPOrLater, version.dwMajorVersion > 5 || (version.dwMajorVersion == 5 && version.dwMinorVersion >= 1));
    // A second start changes nothing.
    TScopedPlatformFlags flags(false, false);
    StartWideSystemUtilities();
    StopWideSystemUtilities();
    EXPECT_FALSE(UnicodePlatform);
}

TEST(WideSystemUtilities, ComparisonsWithAndWithoutCase) {
    for (bool unicode : {true, false}) {
        TScopedPlatformFlags flags(unicode, true);
        EXPECT_EQ(WideCompareText(L"ABC", L"abc"), 0);
        EXPECT_TRUE(WideSameText(L"ABC", L"abc"));
        EXPECT_NE(WideCompareStr(L"ABC", L"abc"), 0);
        EXPECT_FALSE(WideSameStr(L"ABC", L"abc"));
        EXPECT_EQ(WideCompareStr(L"a", L"b"), -1);
        EXPECT_EQ(WideCompareStr(L"b", L"a"), 1);
        EXPECT_EQ(WideCompareStr(kChinese, kChinese), 0);
        EXPECT_EQ(WideUpperCase(L"abc"), L"ABC");
        EXPECT_EQ(WideUpperCase(std::wstring()), std::wstring());
    }
}

TEST(WideSystemUtilities, FilesByWideNameOnBothPlatforms) {
    for (bool unicode : {true, false}) {
        TScopedPlatformFlags flags(unicode, true);
        TTempName temp(unicode ? L"uc-wide-" : L"uc-ansi-");
        intptr_t created = WideFileCreate(temp.Name());
        ASSERT_NE(created, -1);
        WideFileClose(created);
        // Read, deny write: a second reader may open it, a writer may not.
        intptr_t reader = WideFileOpen(temp.Name(), fmOpenRead | fmShareDenyWrite);
        ASSERT_NE(reader, -1);
        intptr_t second = WideFileOpen(temp.Name(), fmOpenRead | fmShareDenyNone);
        EXPECT_NE(second, -1);
        WideFileClose(second);
        EXPECT_EQ(WideFileOpen(temp.Name(), fmOpenWrite | fmShareDenyNone), -1);
        WideFileClose(reader);
        EXPECT_EQ(WideFileOpen(temp.Name(), 3), -1);     // no such access
        EXPECT_EQ(WideFileOpen(temp.Name(), 0x50), -1);  // no such sharing
    }
    EXPECT_EQ(WideFileOpen(L"Z:\\no\\such\\folder\\file", fmOpenRead), -1);
}

TEST(WideSystemUtilities, FileWithAWideNameOnTheUnicodePlatform) {
    TScopedPlatformFlags flags(true, true);
    TTempName temp(L"uc-" + kChinese + L"-");
    intptr_t created = WideFileCreate(temp.Name());
    ASSERT_NE(created, -1);
    WideFileClose(created);
    EXPECT_NE(GetFileAttributesW(temp.Name().c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(WideSystemUtilities, ModuleFileNameAndProgramArgument) {
    wchar_t full[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, full, MAX_PATH);
    for (bool unicode : {true, false}) {
        TScopedPlatformFlags flags(unicode, true);
        EXPECT_EQ(WideGetModuleFileName(nullptr), WideFromSystemAnsi(SystemAnsiFromWide(full)));
        EXPECT_EQ(WideParamStr(0), WideGetModuleFileName(nullptr));
    }
}

TEST(WideSystemUtilities, CheckWin32ResultRaisesTheLastError) {
    EXPECT_EQ(CheckWin32Result(5), 5);
    SetLastError(ERROR_FILE_NOT_FOUND);
    char text[512] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ERROR_FILE_NOT_FOUND, 0, text,
                   sizeof(text), nullptr);
    std::string systemText(text);
    while (!systemText.empty() && (systemText.back() == '\n' || systemText.back() == '\r')) systemText.pop_back();
    SetLastError(ERROR_FILE_NOT_FOUND);
    try {
        CheckWin32Result(0);
        FAIL() << "no exception";
    } catch (const EOSError& e) {
        EXPECT_NE(e.Message().find("Code: 2."), std::string::npos) << e.Message();
        EXPECT_NE(e.Message().find(systemText), std::string::npos) << e.Message();
    }
}

TEST(WideSystemUtilities, MappableCharacters) {
    EXPECT_TRUE(IsWideCharMappable(L'a'));
    if (GetACP() == 1252) {
        EXPECT_TRUE(IsWideCharMappable(static_cast<wchar_t>(0xFC)));
        EXPECT_FALSE(IsWideCharMappable(static_cast<wchar_t>(0x4E2D)));
    }
}
