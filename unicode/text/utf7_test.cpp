#include "unicode/text/utf7.h"

#include <gtest/gtest.h>

#include "unicode/text/utf_test_units.h"

#include "unicode/text/uc_errors.h"


TEST(Utf7Encoding, SendsDirectAndOptionalCharactersAsTheyAre) {
    EXPECT_EQ(WideToUtf7(L"1 + 1"), "1 +- 1");
    EXPECT_EQ(WideToUtf7(L"Hi! (a=b) {x}"), "Hi! (a=b) {x}");
    EXPECT_EQ(WideToUtf7(L"\t\r\n"), "\t\r\n");
    EXPECT_EQ(WideToUtf7(std::wstring()), "");
}

TEST(Utf7Encoding, ClosesBase64RunsOnlyWhereNeeded) {
    EXPECT_EQ(WideToUtf7(Units({0xE9})), "+AOk");
    EXPECT_EQ(WideToUtf7(Units({0xE9, 'a'})), "+AOk-a");
    EXPECT_EQ(WideToUtf7(Units({0xE9, '-'})), "+AOk--");
    EXPECT_EQ(WideToUtf7(Units({0xE9, '.'})), "+AOk.");
    EXPECT_EQ(WideToUtf7(L"~"), "+AH4");
    EXPECT_EQ(WideToUtf7(L"\\"), "+AFw");
    EXPECT_EQ(WideToUtf7(Units({0x65E5, 0x672C, 0x8A9E})), "+ZeVnLIqe");
}

TEST(Utf7Encoding, VerboseAndSafeModes) {
    std::wstring text = Units({0xE9, '!'});
    const wchar_t* source = text.data();
    char buffer[16];
    char* target = buffer;
    EXPECT_EQ(EncodeUtf7Buffer(source, text.data() + 2, target, buffer + 16, true, false), utf7Done);
    // Verbose closes the run; the safe table shifts "!" too.
    EXPECT_EQ(std::string(buffer, target), "+AOkAIQ-");
}

TEST(Utf7Encoding, FullTargetStopsWithItsResult) {
    std::wstring text = L"abc";
    const wchar_t* source = text.data();
    char buffer[2];
    char* target = buffer;
    EXPECT_EQ(EncodeUtf7Buffer(source, text.data() + 3, target, buffer + 2, false, true), utf7TargetFull);
    EXPECT_EQ(source, text.data() + 2);
    EXPECT_EQ(target, buffer + 2);
}

TEST(Utf7Decoding, Vectors) {
    EXPECT_EQ(Utf7ToWide("+-"), L"+");
    EXPECT_EQ(Utf7ToWide("+AOk-"), Units({0xE9}));
    EXPECT_EQ(Utf7ToWide("+AOk"), Units({0xE9}));
    EXPECT_EQ(Utf7ToWide("+AOk."), Units({0xE9, '.'}));
    EXPECT_EQ(Utf7ToWide("+ZeVnLIqe"), Units({0x65E5, 0x672C, 0x8A9E}));
    EXPECT_EQ(Utf7ToWide("1 +- 1"), L"1 + 1");
    EXPECT_EQ(Utf7ToWide("~\\"), L"~\\");  // sent directly, still read
    EXPECT_EQ(Utf7ToWide(""), std::wstring());
}

TEST(Utf7Decoding, LeftoverZeroBitsAreAccepted) {
    // Eight leftover zero bits after one character.
    EXPECT_EQ(Utf7ToWide("+AOkA-"), Units({0xE9}));
}

TEST(Utf7Decoding, InvalidInputRaises) {
    EXPECT_THROW(Utf7ToWide("+"), EUcGeneralError);
    EXPECT_THROW(Utf7ToWide("+AOl-"), EUcGeneralError);  // pad bits not zero
    EXPECT_THROW(Utf7ToWide("+A-"), EUcGeneralError);    // no character in the run
    EXPECT_THROW(Utf7ToWide("a\xE9"), EUcGeneralError);  // 8-bit byte
    try {
        Utf7ToWide("+");
    } catch (const EUcGeneralError& e) {
        EXPECT_EQ(e.Message(), "Invalid UTF7");
    }
}

TEST(Utf7Decoding, InvalidInputIsStillDecodedToTheEnd) {
    std::string text = "+AOl-x";
    const char* source = text.data();
    wchar_t buffer[8];
    wchar_t* target = buffer;
    EXPECT_EQ(DecodeUtf7Buffer(source, text.data() + text.size(), target, buffer + 8), utf7Invalid);
    EXPECT_EQ(std::wstring(buffer, target), Units({0xE9, 'x'}));
}

TEST(Utf7Decoding, FullTargetWinsOverAnInvalidMark) {
    std::string text = "\xE9" "ab";
    const char* source = text.data();
    wchar_t buffer[2];
    wchar_t* target = buffer;
    EXPECT_EQ(DecodeUtf7Buffer(source, text.data() + text.size(), target, buffer + 2), utf7TargetFull);
}
