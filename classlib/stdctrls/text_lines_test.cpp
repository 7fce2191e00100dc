#include "classlib/stdctrls/text_lines.h"

#include <gtest/gtest.h>

namespace {

TEST(TextLines, CountLikeStringListsDo) {
    EXPECT_EQ(LineSpans("").size(), 0u);
    EXPECT_EQ(LineSpans("a").size(), 1u);
    EXPECT_EQ(LineSpans("a\r\n").size(), 1u);
    EXPECT_EQ(LineSpans("\r\n").size(), 1u);
    EXPECT_EQ(LineSpans("a\r\n\r\nb").size(), 3u);
    // LF and lone CR break too; CR LF is one break.
    auto spans = LineSpans("a\nb\rc\r\n");
    ASSERT_EQ(spans.size(), 3u);
    EXPECT_EQ(spans[1].Start, 2u);
    EXPECT_EQ(spans[1].End, 3u);
    EXPECT_EQ(spans[2].Next, 7u);
}

TEST(TextLines, EditsKeepTheOtherBytes) {
    EXPECT_EQ(ReplaceLine("a\nbb\r\nc", 1, "X"), "a\nX\r\nc");
    EXPECT_EQ(DeleteLine("a\nbb\r\nc", 1), "a\nc");
    EXPECT_EQ(DeleteLine("a\r\nb", 1), "a\r\n");
    EXPECT_EQ(InsertLine("a\nb", 1, "X"), "a\nX\r\nb");
}

TEST(TextLines, AppendingGivesTheLastLineItsBreak) {
    EXPECT_EQ(InsertLine("", 0, "x"), "x\r\n");
    EXPECT_EQ(InsertLine("a\r\n", 1, "x"), "a\r\nx\r\n");
    EXPECT_EQ(InsertLine("a", 1, "x"), "a\r\nx");
}

TEST(TextLines, AdjustLineBreaksMakesEveryBreakCrLf) {
    EXPECT_EQ(AdjustLineBreaks("a\nb\rc\r\nd\n\r"), "a\r\nb\r\nc\r\nd\r\n\r\n");
    EXPECT_EQ(AdjustLineBreaks("plain"), "plain");
}

}  // namespace
