#include "unicode/text/wide_format.h"

#include <gtest/gtest.h>

#include "classlib/core/exceptions.h"
#include "classlib/core/strutils.h"

TEST(WideFormat, KeepsCharactersBeyondTheAnsiCodePage) {
    std::wstring chinese = {static_cast<wchar_t>(0x4E2D), static_cast<wchar_t>(0x6587)};
    EXPECT_EQ(WideFormat(L"<%s>", {chinese}), L"<" + chinese + L">");
    EXPECT_EQ(WideFormat(chinese + L" %d", {7}), chinese + L" 7");
    EXPECT_EQ(WideFormat(L"%c", {static_cast<wchar_t>(0x416)}), std::wstring(1, static_cast<wchar_t>(0x416)));
    EXPECT_EQ(WideFormat(L"[%4s|%-4s|%.1s]", {chinese, chinese, chinese}),
              L"[  " + chinese + L"|" + chinese + L"  |" + chinese.substr(0, 1) + L"]");
}

TEST(WideFormat, AnsiInputGivesWhatFormatGives) {
    EXPECT_EQ(WideFormat(L"%d|%5d|%-5d|%.3d", {-4, 42, 42, 7}), AnsiToWide(Format("%d|%5d|%-5d|%.3d", {-4, 42, 42, 7})));
    EXPECT_EQ(WideFormat(L"%x|%X|%.4x|%p", {255, 255, 255, 16}), AnsiToWide(Format("%x|%X|%.4x|%p", {255, 255, 255, 16})));
    EXPECT_EQ(WideFormat(L"%.2f|%e|%g|%n", {3.14159, 1.5, 0.25, 1234.5}),
              AnsiToWide(Format("%.2f|%e|%g|%n", {3.14159, 1.5, 0.25, 1234.5})));
    EXPECT_EQ(WideFormat(L"%1:s %0:s %%", {"a", "b"}), AnsiToWide(Format("%1:s %0:s %%", {"a", "b"})));
    EXPECT_EQ(WideFormat(L"%*d", {4, 1}), AnsiToWide(Format("%*d", {4, 1})));
    EXPECT_EQ(WideFormat(L"Datei %s", {"\xFC"}), AnsiToWide(Format("Datei %s", {"\xFC"})));
}

TEST(WideFormat, BadFormatsAndArgumentsRaise) {
    EXPECT_THROW(WideFormat(L"%d", {}), EConvertError);
    EXPECT_THROW(WideFormat(L"%d", {L"x"}), EConvertError);
    EXPECT_THROW(WideFormat(L"%s", {1}), EConvertError);
    EXPECT_THROW(WideFormat(L"%", {1}), EConvertError);
    EXPECT_THROW(WideFormat(L"%q", {1}), EConvertError);
}
