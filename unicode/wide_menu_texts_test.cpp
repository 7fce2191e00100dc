// Hot-key marks of captions and the wide shortcut texts.
#include "unicode/wide_menu_texts.h"

#include <gtest/gtest.h>

#include "classlib/gui/sys_locale.h"
#include "classlib/gui/win32.h"
#include "unicode/code_pages.h"
#include "unicode/text/platform_flags.h"

namespace {

class TScopedLocale {
public:
    TScopedLocale(bool farEast, bool middleEast) : saved_(SysLocale) {
        SysLocale.FarEast = farEast;
        SysLocale.MiddleEast = middleEast;
    }
    ~TScopedLocale() { SysLocale = saved_; }

private:
    TSysLocale saved_;
};

TEST(StripHotKeyMarks, DoubledMarksLeaveOneAndFarEastGroupsGoWhole) {
    TScopedLocale western(false, false);
    EXPECT_EQ(StripHotKeyMarks(L"&&Save"), L"&Save");
    EXPECT_EQ(StripHotKeyMarks(L"&File"), L"File");
    EXPECT_EQ(StripHotKeyMarks(L"Datei(&D)"), L"Datei(D)");
    EXPECT_EQ(StripHotKeyMarks(L"End&"), L"End");
    {
        TScopedLocale farEast(true, false);
        EXPECT_EQ(StripHotKeyMarks(L"Datei(&D)"), L"Datei");
        EXPECT_EQ(StripHotKeyMarks(L"(&D)x"), L"x");
        EXPECT_EQ(StripHotKeyMarks(L"x(&D"), L"x(D") << "a group needs its closing parenthesis";
        EXPECT_TRUE(WideSameCaption(L"Datei(&D)", L"DATEI"));
    }
    EXPECT_TRUE(WideSameCaption(L"&Open", L"oPEN"));
    EXPECT_FALSE(WideSameStrippedCaption(L"&Open", L"oPEN"));
}

TEST(SyncHotKeyPosition, MovesTheMarksWhereTheSourceHasThem) {
    TScopedLocale western(false, false);
    std::wstring dest = L"Dat&ei";
    SyncHotKeyPosition(L"&Datei", dest);
    EXPECT_EQ(dest, L"&Datei");
    dest = L"Other";
    SyncHotKeyPosition(L"&Datei", dest);
    EXPECT_EQ(dest, L"Other") << "texts that differ by more than marks stay";
    TScopedLocale farEast(true, false);
    dest = L"Datei";
    SyncHotKeyPosition(L"Datei(&D)", dest);
    EXPECT_EQ(dest, L"Datei(&D)");
}

TEST(WideShortCutToText, NamesKeysAsTheKeyboardDoes) {
    EXPECT_EQ(WideShortCutToText(scCtrl | 'A'), L"Strg+A");
    EXPECT_EQ(WideShortCutToText(scShift | scCtrl | scAlt | 'A'), L"Umsch+Strg+Alt+A");
    EXPECT_EQ(WideShortCutToText(scCtrl | VK_F5), WideFromSystemAnsi(ShortCutToText(scCtrl | VK_F5)));
    EXPECT_EQ(WideShortCutToText(scShift | VK_DELETE), L"Umsch+Entf");
    // A numeric-pad key whose layout gives no character has no name (not a
    // terminating zero after the modifiers).
    auto ch = static_cast<wchar_t>(MapVirtualKeyW(VK_NUMPAD1, 2));
    EXPECT_EQ(WideShortCutToText(scCtrl | VK_NUMPAD1), ch ? L"Strg+" + std::wstring(1, ch) : std::wstring());
    EXPECT_EQ(WideShortCutToText(scCtrl | 0x07), L"") << "no scan code, no digit or letter";
    TScopedPlatformFlags ansi(false, false);
    EXPECT_EQ(WideShortCutToText(scCtrl | 'A'), L"Strg+A");
}

}  // namespace
