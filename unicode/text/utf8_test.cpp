#include "unicode/text/utf8.h"

#include <gtest/gtest.h>

#include "unicode/text/utf_test_units.h"


TEST(Utf8Encoding, EachCodeUnitOnItsOwn) {
    EXPECT_EQ(WideToUtf8(L"A"), "A");
    EXPECT_EQ(WideToUtf8(Units({0xE9})), "\xC3\xA9");
    EXPECT_EQ(WideToUtf8(Units({0x20AC})), "\xE2\x82\xAC");
    EXPECT_EQ(WideToUtf8(Units({0xD800, 0xDC00})), "\xED\xA0\x80\xED\xB0\x80");
    EXPECT_EQ(WideToUtf8(std::wstring()), "");
}

TEST(Utf8Encoding, BufferWithoutDestCountsBytesPlusOne) {
    std::wstring text = Units({'a', 0xE9, 0x20AC});
    EXPECT_EQ(EncodeUtf8Buffer(nullptr, 0, text.data(), 3), 1 + 2 + 3 + 1);
    EXPECT_EQ(EncodeUtf8Buffer(nullptr, 0, nullptr, 3), 0);
}

TEST(Utf8Encoding, NeverSplitsACharacterAtTheBufferEnd) {
    std::wstring text = Units({'a', 0x20AC});
    // Four bytes fit "a" and the euro sign but not the terminator too: the
    // euro sign stays out whole.
    char buffer[5] = {'x', 'x', 'x', 'x', 'x'};
    EXPECT_EQ(EncodeUtf8Buffer(buffer, 4, text.data(), 2), 2);
    EXPECT_EQ(std::string(buffer), "a");
    EXPECT_EQ(buffer[4], 'x');
    EXPECT_EQ(EncodeUtf8Buffer(buffer, 5, text.data(), 2), 5);
    EXPECT_EQ(std::string(buffer), "a\xE2\x82\xAC");
    EXPECT_EQ(EncodeUtf8Buffer(buffer, 0, text.data(), 2), 0);
}

TEST(Utf8Decoding, MalformedInputGivesTheEmptyString) {
    EXPECT_EQ(Utf8ToWide("\xC3"), std::wstring());
    EXPECT_EQ(Utf8ToWide("\xC3" "A"), std::wstring());
    EXPECT_EQ(Utf8ToWide("\xE2\x82"), std::wstring());
    EXPECT_EQ(DecodeUtf8Buffer(nullptr, 0, "\xE2\x82", 2), -1);
    // Stray continuation bytes and bytes that can start no character.
    EXPECT_EQ(Utf8ToWide("a\x80" "b"), std::wstring());
    EXPECT_EQ(Utf8ToWide("\xBF"), std::wstring());
    EXPECT_EQ(Utf8ToWide("\xF5\x80\x80\x80"), std::wstring());
    EXPECT_EQ(Utf8ToWide("\xFF"), std::wstring());
    EXPECT_EQ(Utf8ToWide("\xF4\x90\x80\x80"), std::wstring());  // beyond U+10FFFF
}

TEST(Utf8Decoding, AcceptsOverlongFormsAndKeepsZeros) {
    EXPECT_EQ(Utf8ToWide("\xC0\x80"), Units({0}));
    EXPECT_EQ(Utf8ToWide(std::string("a\0b", 3)), Units({'a', 0, 'b'}));
    EXPECT_EQ(Utf8ToWide("\xC3\xA9\xE2\x82\xAC"), Units({0xE9, 0x20AC}));
}

TEST(Utf8Decoding, FourByteSequencesBecomeSurrogatePairs) {
    EXPECT_EQ(Utf8ToWide("x\xF0\x9F\x98\x80y"), Units({'x', 0xD83D, 0xDE00, 'y'}));
    EXPECT_EQ(Utf8ToWide("\xF4\x8F\xBF\xBF"), Units({0xDBFF, 0xDFFF}));
    EXPECT_EQ(DecodeUtf8Buffer(nullptr, 0, "\xF0\x9F\x98\x80", 4), 3);
}

TEST(Utf8Decoding, BufferIsZeroTerminatedAndNeverSplitsAPair) {
    wchar_t buffer[4] = {9, 9, 9, 9};
    EXPECT_EQ(DecodeUtf8Buffer(buffer, 3, "ab\xF0\x9F\x98\x80", 6), 3);
    EXPECT_EQ(buffer[0], L'a');
    EXPECT_EQ(buffer[1], L'b');
    EXPECT_EQ(buffer[2], 0);
    EXPECT_EQ(buffer[3], 9);
    EXPECT_EQ(DecodeUtf8Buffer(buffer, 3, "a\xF0\x9F\x98\x80", 5), 2);
    EXPECT_EQ(buffer[0], L'a');
    EXPECT_EQ(buffer[1], 0);
}
