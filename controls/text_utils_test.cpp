#include "controls/text_utils.h"

#include <gtest/gtest.h>

#include "classlib/graphics/bitmap.h"
#include "controls/memory_utils.h"
#include "controls/year_format.h"

namespace {

std::vector<std::string> Tokens(const std::string& line) {
    std::vector<std::string> tokens;
    std::string token;
    for (const char* p = NextCommandLineToken(line.c_str(), token); !token.empty();
         p = NextCommandLineToken(p, token))
        tokens.push_back(token);
    return tokens;
}

TEST(CommandLine, QuotesGroupBlanksAndAreNeverCopied) {
    EXPECT_EQ(Tokens("prog.exe  a \"b c\"d \t e"), (std::vector<std::string>{"prog.exe", "a", "b cd", "e"}));
    // An empty quoted pair is skipped, not returned.
    EXPECT_EQ(Tokens("\"\" x \"\"  \"\" y"), (std::vector<std::string>{"x", "y"}));
    EXPECT_TRUE(Tokens("  \"\"  \"\" ").empty());
    // An unclosed quote runs to the end.
    EXPECT_EQ(Tokens("a \"b c"), (std::vector<std::string>{"a", "b c"}));
    EXPECT_EQ(CountCommandLineParams("a b  c"), 3);
    EXPECT_EQ(CommandLineParam("a b c", 1), "b");
    EXPECT_EQ(CommandLineParam("a b c", 3), "");
}

TEST(CommandLine, LongPathsAreKeptWhole) {
    std::string path = "C:\\" + std::string(300, 'x') + "\\file name.exe";
    std::string line = "\"" + path + "\" /q";
    EXPECT_EQ(Tokens(line), (std::vector<std::string>{path, "/q"}));
    std::string program, params;
    SplitProgramAndParams(line + " \"" + path + "\"", program, params);
    EXPECT_EQ(program, path);
    EXPECT_EQ(params, "/q \"" + path + "\"");
}

TEST(CommandLine, SplitRequotesOnlyParametersWithBlanks) {
    std::string program, params;
    SplitProgramAndParams("\"C:\\My Programs\\run.exe\" -x \"two words\"", program, params);
    EXPECT_EQ(program, "C:\\My Programs\\run.exe");
    EXPECT_EQ(params, "-x \"two words\"");
    SplitProgramAndParams("run.exe", program, params);
    EXPECT_EQ(program, "run.exe");
    EXPECT_EQ(params, "");
    SplitProgramAndParams("   ", program, params);
    EXPECT_EQ(program, "");
}

TEST(DelimitedToken, ConsecutiveDelimitersGiveEmptyTokens) {
    const std::string text = "a;;b";
    int position = 1;
    EXPECT_EQ(ExtractDelimitedToken(text, position, ";"), "a");
    EXPECT_EQ(position, 3);
    EXPECT_EQ(ExtractDelimitedToken(text, position, ";"), "");
    EXPECT_EQ(ExtractDelimitedToken(text, position, ";"), "b");
    EXPECT_EQ(position, 5);
    EXPECT_EQ(ExtractDelimitedToken(text, position, ";"), "");
    EXPECT_EQ(position, 5);
    // Long folder lists are read whole, token by token.
    std::string longFolder(400, 'f');
    std::string folders = longFolder + ";" + longFolder;
    position = 1;
    EXPECT_EQ(ExtractDelimitedToken(folders, position, ";"), longFolder);
    EXPECT_EQ(ExtractDelimitedToken(folders, position, ";"), longFolder);
}

TEST(ShortenText, KeepsTheLongestHeadThatFits) {
    TOwned<TBitmap> bitmap(New<TBitmap>());
    bitmap->SetSize(10, 10);
    TCanvas& canvas = *bitmap->Canvas();
    const std::string text = "WWWWWWWWWW";
    EXPECT_EQ(ShortenTextToWidth(text, canvas, canvas.TextWidth(text)), text);
    EXPECT_EQ(ShortenTextToWidth("", canvas, 0), "");
    EXPECT_EQ(ShortenTextToWidth(text, canvas, 0), "...");
    const std::string first = "WWWWWWWW...";  // length - 2 characters
    EXPECT_EQ(ShortenTextToWidth(text, canvas, canvas.TextWidth(first)), first);
    EXPECT_EQ(ShortenTextToWidth(text, canvas, canvas.TextWidth("WWW...")), "WWW...");
}

TEST(SmallRoutines, MemoryAndIntegers) {
    EXPECT_EQ(Max(3, 3), 3);
    EXPECT_EQ(Min(-2, 5), -2);
    EXPECT_EQ(Max(-2, 5), 5);
    EXPECT_EQ(AllocHugeMem(0), nullptr);
    void* block = AllocHugeMem(1000);
    ASSERT_NE(block, nullptr);
    EXPECT_TRUE(CompareBytes(block, std::string(1000, '\0').data(), 1000));
    CopyBytes(OffsetPointer(block, 1), "abcdef", 6);
    CopyBytes(block, OffsetPointer(block, 1), 6);  // overlapping
    EXPECT_TRUE(CompareBytes(block, "abcdeff", 7));
    EXPECT_FALSE(CompareBytes(block, "abcdefg", 7));
    EXPECT_TRUE(CompareBytes("x", "y", 0));
    FreeHugeMem(block);
    EXPECT_EQ(block, nullptr);
    char* copy = NewZeroTerminatedCopy("text");
    EXPECT_STREQ(copy, "text");
    DisposeZeroTerminatedCopy(copy);
}

TEST(YearFormat, FourDigitYearsAreFoundInAnyCase) {
    EXPECT_TRUE(FormatHasFourDigitYear("dd.MM.yyyy"));
    EXPECT_TRUE(FormatHasFourDigitYear("YYYY-MM-DD"));
    EXPECT_FALSE(FormatHasFourDigitYear("d/M/yy"));
    EXPECT_FALSE(FormatHasFourDigitYear("yyy"));
}

}  // namespace
