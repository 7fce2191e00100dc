#include <gtest/gtest.h>

#include "unicode/text/command_line.h"
#include "unicode/text/platform_flags.h"
#include "unicode/text/result_copy.h"
#include "unicode/text/string_table.h"
#include "unicode/text/wide_buffers.h"
#include "unicode/text/wide_paths.h"

TEST(WidePaths, DriveOfDrivePathsAndUncNames) {
    EXPECT_EQ(WideExtractFileDrive(L"X:\\x"), L"X:");
    EXPECT_EQ(WideExtractFileDrive(L"\\\\server\\share\\dir"), L"\\\\server\\share");
    EXPECT_EQ(WideExtractFileDrive(L"\\\\server\\share"), L"\\\\server\\share");
    EXPECT_EQ(WideExtractFileDrive(L"\\\\server"), L"\\\\server");
    EXPECT_EQ(WideExtractFileDrive(L"\\\\"), L"\\\\");
    EXPECT_EQ(WideExtractFileDrive(L"x"), std::wstring());
}

TEST(WidePaths, PathNameAndBackslash) {
    EXPECT_EQ(WideExtractFilePath(L"X:\\a\\b.txt"), L"X:\\a\\");
    EXPECT_EQ(WideExtractFilePath(L"X:b"), L"X:");
    EXPECT_EQ(WideExtractFileName(L"X:b"), L"b");
    EXPECT_EQ(WideExtractFileName(L"plain"), L"plain");
    EXPECT_EQ(WideIncludeTrailingBackslash(L"X:\\"), L"X:\\");
    EXPECT_EQ(WideIncludeTrailingBackslash(std::wstring()), L"\\");
    EXPECT_EQ(WideIncludeTrailingBackslash(L"X:\\a"), L"X:\\a\\");
    EXPECT_TRUE(WideIsPathDelimiter(L"a\\", 2));
    EXPECT_FALSE(WideIsPathDelimiter(L"a\\", 3));
    EXPECT_FALSE(WideIsPathDelimiter(L"a\\", 0));
    EXPECT_EQ(WideLastDelimiter(L"\\:", L"a:b\\c"), 4);
    EXPECT_EQ(WideLastDelimiter(std::wstring(L"x\0", 2), std::wstring(L"a\0b", 3)), 0);
}

TEST(WideBuffers, ScanLengthCopyAndBlocks) {
    const wchar_t* text = L"abc";
    EXPECT_EQ(WideStrLen(text), 3);
    EXPECT_EQ(WideStrScan(text, 0), text + 3);
    EXPECT_EQ(WideStrScan(text, L'b'), text + 1);
    EXPECT_EQ(WideStrScan(text, L'z'), nullptr);
    wchar_t small[3];
    WideStrLCopy(small, text, 2);
    EXPECT_EQ(std::wstring(small), L"ab");
    wchar_t overlap[] = L"abcd";
    WideStrMove(overlap + 1, overlap, 3);
    EXPECT_EQ(std::wstring(overlap), L"aabc");

    wchar_t* empty = WideStrNew(L"");
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty[0], 0);
    EXPECT_EQ(WideStrBufSize(empty), 4 + 2);
    WideStrDispose(empty);
    wchar_t* copy = WideStrNew(text);
    EXPECT_EQ(std::wstring(copy), L"abc");
    EXPECT_EQ(WideStrBufSize(copy), 4 + 2 * 4);
    WideStrDispose(copy);
    EXPECT_EQ(WideStrNew(nullptr), nullptr);
    EXPECT_EQ(WideStringFromBuffer(L"abcdef", 2), L"ab");
    EXPECT_EQ(WideStringFromBuffer(L"abc", -1), L"abc");
}

TEST(CommandLine, SkipsEmptyQuotedPairsAndJoinsQuotedParts) {
    EXPECT_EQ(ArgumentOfCommandLine(L"prog \"\" x", 1), L"x");
    EXPECT_EQ(ArgumentOfCommandLine(L"prog a", 5), std::wstring());
    EXPECT_EQ(ArgumentOfCommandLine(L"prog a\"b c\"d e", 1), L"ab cd");
    EXPECT_EQ(ArgumentOfCommandLine(L"prog a\"b c\"d e", 2), L"e");
    EXPECT_EQ(ArgumentOfCommandLine(L"\"C:\\My Prog\\p.exe\"  \t one", 1), L"one");
    EXPECT_EQ(ArgumentOfCommandLine(L"prog \"unclosed text", 1), L"unclosed text");
}

TEST(CommandLine, ArgumentsAreCappedAlsoInsideQuotes) {
    std::wstring longWord(5000, L'w');
    EXPECT_EQ(ArgumentOfCommandLine((L"p " + longWord).c_str(), 1).size(), kMaxArgumentLength);
    EXPECT_EQ(ArgumentOfCommandLine((L"p " + longWord).c_str(), 2), std::wstring(5000 - kMaxArgumentLength, L'w'));
    std::wstring quoted = L"p \"" + std::wstring(5000, L'q') + L" x\" next";
    EXPECT_EQ(ArgumentOfCommandLine(quoted.c_str(), 1), std::wstring(kMaxArgumentLength, L'q'));
    EXPECT_EQ(ArgumentOfCommandLine(quoted.c_str(), 2), L"next");
}

TEST(StringTable, BlockAndEntryOfAnId) {
    EXPECT_EQ(StringTableBlock(65426), 4090u);
    EXPECT_EQ(StringTableEntry(65426), 2u);
    EXPECT_EQ(StringTableBlock(17), 2u);
    EXPECT_EQ(StringTableEntry(17), 1u);
    EXPECT_EQ(StringTableBlock(0xFFFFFFFFu), 1u);  // -1 read as 1
    EXPECT_EQ(StringTableEntry(0xFFFFFFFFu), 1u);
}

TEST(StringTable, ReadsOneEntryWithinTheBlock) {
    // Entry 0 empty, entry 1 "Hello", entry 2 "ab", the rest empty.
    std::vector<uint16_t> block = {0, 5, 'H', 'e', 'l', 'l', 'o', 2, 'a', 'b'};
    block.resize(block.size() + 13, 0);
    size_t bytes = block.size() * 2;
    wchar_t buffer[8] = {};
    EXPECT_EQ(ReadStringTableEntry(block.data(), bytes, 1, nullptr, 0), 5);
    EXPECT_EQ(ReadStringTableEntry(block.data(), bytes, 1, buffer, 5), 4);
    EXPECT_EQ(std::wstring(buffer), L"Hell");
    EXPECT_EQ(ReadStringTableEntry(block.data(), bytes, 2, buffer, 8), 2);
    EXPECT_EQ(std::wstring(buffer), L"ab");
    EXPECT_EQ(ReadStringTableEntry(block.data(), bytes, 0, buffer, 8), 0);
    EXPECT_EQ(std::wstring(buffer), std::wstring());
    // A block cut short never reads past its end.
    EXPECT_EQ(ReadStringTableEntry(block.data(), 8, 1, buffer, 8), 2);
    EXPECT_EQ(ReadStringTableEntry(block.data(), 8, 9, buffer, 8), 0);
}

TEST(ResultCopy, FittingTextCopiedWithTerminator) {
    wchar_t buffer[8];
    EXPECT_EQ(CopyAnsiResultToWide(8, buffer, L"abc", rcPlain), 3);
    EXPECT_EQ(std::wstring(buffer), L"abc");
}

TEST(ResultCopy, TooSmallBufferByConvention) {
    std::wstring path = L"C:\\dir\\sub\\file.txt";
    wchar_t buffer[32];
    std::fill(std::begin(buffer), std::end(buffer), L'#');
    EXPECT_EQ(CopyAnsiResultToWide(10, buffer, path, rcTruncating), 10);
    EXPECT_EQ(std::wstring(buffer, 11), L"C:\\dir\\sub#");

    std::fill(std::begin(buffer), std::end(buffer), L'#');
    EXPECT_EQ(CopyAnsiResultToWide(10, buffer, path, rcPlain), 20);
    EXPECT_EQ(buffer[0], L'#');
    EXPECT_EQ(CopyAnsiResultToWide(10, buffer, path, rcClearFirst), 20);
    EXPECT_EQ(buffer[0], 0);

    std::fill(std::begin(buffer), std::end(buffer), L'#');
    EXPECT_EQ(CopyAnsiResultToWide(3, buffer, L"abc", rcExactFit), 4);
    EXPECT_EQ(std::wstring(buffer), L"ab");

    std::fill(std::begin(buffer), std::end(buffer), L'#');
    EXPECT_EQ(CopyAnsiResultToWide(9, buffer, path, rcPathPart), 20);
    // Up to the last backslash within the first nine units.
    EXPECT_EQ(std::wstring(buffer, 8), L"C:\\dir\\#");
}

TEST(PlatformFlags, SetFromPlatformAndVersion) {
    TScopedPlatformFlags keep(UnicodePlatform, XPOrLater);
    SetPlatformFlags(2, 6, 0);
    EXPECT_TRUE(UnicodePlatform);
    EXPECT_TRUE(XPOrLater);
    SetPlatformFlags(2, 5, 0);
    EXPECT_FALSE(XPOrLater);
    SetPlatformFlags(1, 5, 1);
    EXPECT_FALSE(UnicodePlatform);
    EXPECT_TRUE(XPOrLater);
    {
        TScopedPlatformFlags ansi(false, false);
        EXPECT_FALSE(UnicodePlatform);
    }
    EXPECT_FALSE(UnicodePlatform);
    EXPECT_TRUE(XPOrLater);
}
