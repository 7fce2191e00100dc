#include "classlib/core/strutils.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "classlib/core/exceptions.h"

TEST(StrUtils, IntToHexShowsTwosComplementOf32BitNegatives) {
    EXPECT_EQ(IntToHex(255, 4), "00FF");
    EXPECT_EQ(IntToHex(-1, 1), "FFFFFFFF");
    EXPECT_EQ(IntToHex(INT64_C(-4294967297), 1), "FFFFFFFEFFFFFFFF");
    EXPECT_EQ(IntToHex32(-2, 2), "FFFFFFFE");
    EXPECT_EQ(IntToHex(0, 0), "0");
}

TEST(StrUtils, StrToIntAcceptsDecimalHexSignAndBlanks) {
    EXPECT_EQ(StrToInt(" 42 "), 42);
    EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);
    EXPECT_EQ(StrToInt("+2147483647"), INT32_MAX);
    EXPECT_EQ(StrToInt("$FF"), 255);
    EXPECT_EQ(StrToInt("0x1a"), 26);
    EXPECT_EQ(StrToInt("$FFFFFFFF"), -1);
    EXPECT_EQ(StrToInt("-$10"), -16);
    EXPECT_EQ(StrToInt("-$80000000"), INT32_MIN);
    EXPECT_EQ(StrToInt64("-9223372036854775808"), INT64_MIN);
    EXPECT_EQ(StrToInt64("$FFFFFFFFFFFFFFFF"), -1);
}

TEST(StrUtils, StrToIntRejectsMalformedAndOutOfRange) {
    int32_t v = 7;
    for (const char* bad : {"", " ", "-", "$", "0x", "12a", "1 2", "+-1", "2147483648", "-2147483649",
                            "$100000000", "18446744073709551616", "$10000000000000000",
                            "99999999999999999999999"}) {
        EXPECT_FALSE(TryStrToInt(bad, v)) << bad;
    }
    EXPECT_EQ(v, 7);
    EXPECT_EQ(StrToIntDef("x", -5), -5);
    EXPECT_THROW(StrToInt64("9223372036854775808"), EConvertError);
    EXPECT_THROW(StrToInt64("$10000000000000000"), EConvertError);
    try {
        StrToInt("abc");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'abc' ist kein g\xFCltiger Integerwert");
    }
}

TEST(StrUtils, CaseFoldingIsAsciiOnly) {
    EXPECT_EQ(UpperCase("abc\xE4z"), "ABC\xE4Z");
    EXPECT_EQ(LowerCase("ABC\xC4Z"), "abc\xC4z");
    EXPECT_EQ(StrIComp("abc", "ABD"), -1);
    EXPECT_EQ(StrIComp("abc", "AB"), 1);
    EXPECT_EQ(CompareText("Hallo", "hALLO"), 0);
    EXPECT_TRUE(SameText("Datei", "DATEI"));
    EXPECT_FALSE(SameText("\xE4", "\xC4"));
    // Bytes above 127 compare unsigned: they sort after the letters.
    EXPECT_LT(StrIComp("z", "\xE4"), 0);
}

TEST(StrUtils, TrimQuoteReplace) {
    EXPECT_EQ(Trim("\t a b \r\n"), "a b");
    EXPECT_EQ(TrimLeft("  x "), "x ");
    EXPECT_EQ(TrimRight("  x "), "  x");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(QuotedStr("it's"), "'it''s'");
    EXPECT_EQ(StringReplaceAll("aaa", "a", "aa"), "aaaaaa");
    EXPECT_EQ(StringReplaceAll("abc", "", "x"), "abc");
}

TEST(StrUtils, Cp1252RoundTrip) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    std::wstring wide = AnsiToWide(all);
    EXPECT_EQ(wide[0x80 - 1], L'\x20AC');
    EXPECT_EQ(wide[0xFC - 1], L'\xFC');
    EXPECT_EQ(WideToAnsi(wide), all);
    EXPECT_EQ(WideToAnsi(L"\x20AC\x0100\x0080"), "\x80??");
}

TEST(StrUtils, WideToAnsiDoesNotAliasValuesBeyondUtf16) {
    std::wstring w;
    w += static_cast<wchar_t>(0xE4);
    if (sizeof(wchar_t) > 2) w += static_cast<wchar_t>(0x100E4);
    else w += L'?';
    EXPECT_EQ(WideToAnsi(w), "\xE4?");
}

TEST(StrUtils, FormatIntegersAndStrings) {
    EXPECT_EQ(Format("%d|%5d|%-5d|%.3d", {7, 7, 7, 7}), "7|    7|7    |007");
    EXPECT_EQ(Format("%d", {INT64_MIN}), "-9223372036854775808");
    EXPECT_EQ(Format("%u", {-1}), "4294967295");
    EXPECT_EQ(Format("%x %.4X %p", {255, 255, 16}), "FF 00FF 00000010");
    EXPECT_EQ(Format("%s-%.2s-%c", {"abc", "abc", 'z'}), "abc-ab-z");
    EXPECT_EQ(Format("%1:s %0:s %s", {"a", "b"}), "b a b");
    EXPECT_EQ(Format("%*d|%-*d", {4, 1, 3, 2}), "   1|2  ");
    EXPECT_EQ(Format("100%%", {}), "100%");
    EXPECT_EQ(Format("[%s]", {static_cast<const char*>(nullptr)}), "[]");
    EXPECT_EQ(Format("%d %u", {static_cast<long long>(1) << 40, 3ull}), "1099511627776 3");
}

TEST(StrUtils, FormatFloats) {
    EXPECT_EQ(Format("%.2f", {3.14159}), "3.14");
    EXPECT_EQ(Format("%f", {2}), "2.00");
    EXPECT_EQ(Format("%n", {1234567.891}), "1,234,567.89");
    EXPECT_EQ(Format("%.0n", {-1234.0}), "-1,234");
    EXPECT_EQ(Format("%e", {1234.5}), "1.23450000000000E+003");
    EXPECT_EQ(Format("%g", {0.5}), "0.5");
    EXPECT_EQ(Format("%f", {std::numeric_limits<double>::quiet_NaN()}), "NAN");
    EXPECT_EQ(Format("%f|%e", {-HUGE_VAL, HUGE_VAL}), "-INF|INF");
    EXPECT_EQ(Format("%.1f", {1e300}).size(), 303u);
}

TEST(StrUtils, FormatRejectsBadFormatsAndArguments) {
    for (const char* bad : {"%", "%5", "%.", "%1:", "%z", "%d%"}) EXPECT_THROW(Format(bad, {1}), EConvertError) << bad;
    EXPECT_THROW(Format("%d", {"text"}), EConvertError);
    EXPECT_THROW(Format("%s", {1}), EConvertError);
    EXPECT_THROW(Format("%d %d", {1}), EConvertError);
    EXPECT_THROW(Format("%5:d", {1}), EConvertError);
    EXPECT_THROW(Format("%99999999999d", {1}), EConvertError);
    try {
        Format("%d %d", {1});
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Kein Argument f\xFCr Format '%d %d'");
    }
}
