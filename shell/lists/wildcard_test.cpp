#include "shell/lists/wildcard.h"

#include <gtest/gtest.h>

TEST(Wildcard, StarsQuestionMarksAndCase) {
    EXPECT_TRUE(WildcardMatches("readme.txt", "*.TXT"));
    EXPECT_TRUE(WildcardMatches("README.TXT", "*.txt"));
    EXPECT_FALSE(WildcardMatches("readme.doc", "*.txt"));
    EXPECT_TRUE(WildcardMatches("abc", "a?c"));
    EXPECT_TRUE(WildcardMatches("ABC", "a?c"));
    EXPECT_FALSE(WildcardMatches("ac", "a?c"));
    EXPECT_TRUE(WildcardMatches("anything", "*"));
    EXPECT_TRUE(WildcardMatches("", "*"));
    EXPECT_TRUE(WildcardMatches("", ""));
    EXPECT_FALSE(WildcardMatches("a", ""));
    EXPECT_TRUE(WildcardMatches("a.b.c", "*.c"));
    // Only ASCII letters fold: code-page letters compare as they are.
    EXPECT_FALSE(WildcardMatches("\xFC", "\xDC"));
}

TEST(Wildcard, StarDotStarNeedsADotAndDoubleStarNeedsACharacter) {
    EXPECT_FALSE(WildcardMatches("readme", "*.*"));
    EXPECT_TRUE(WildcardMatches("readme.", "*.*"));
    EXPECT_TRUE(WildcardMatches(".profile", "*.*"));
    EXPECT_FALSE(WildcardMatches("ab", "ab**"));
    EXPECT_TRUE(WildcardMatches("abc", "ab**"));
    EXPECT_TRUE(WildcardMatches("ab", "ab*"));
}

TEST(Wildcard, WideNamesFollowTheSameRules) {
    EXPECT_TRUE(WildcardMatches(std::wstring(L"Readme.Txt"), std::wstring(L"*.tXT")));
    EXPECT_FALSE(WildcardMatches(std::wstring(L"readme"), std::wstring(L"*.*")));
    EXPECT_TRUE(WildcardMatches(std::wstring(L"\x4E2D.txt"), std::wstring(L"?.txt")));
}

TEST(Wildcard, ManyStarsOnALongNameEndQuickly) {
    // A naive recursive matcher takes exponential time here.
    std::string name(5000, 'a');
    std::string mask;
    for (int i = 0; i < 40; ++i) mask += "*a";
    mask += "*b";
    EXPECT_FALSE(WildcardMatches(name, mask));
    EXPECT_TRUE(WildcardMatches(name + "b", mask));
}
