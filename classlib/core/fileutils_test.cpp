#include "classlib/core/fileutils.h"

#include <gtest/gtest.h>

#include "classlib/core/paths.h"
#include "classlib/core/scratch_folder_test.h"
#include "classlib/core/streams.h"
#include "classlib/core/strutils.h"

namespace {

class FileUtils : public ScratchFolderTest {};

using Params = std::vector<std::string>;

}  // namespace

TEST_F(FileUtils, DeleteFileReportsWhetherItDeleted) {
    std::string file = MakeFile("d.txt");
    EXPECT_TRUE(DeleteFile(file));
    EXPECT_FALSE(FileExists(file));
    EXPECT_FALSE(DeleteFile(file));
    ASSERT_TRUE(CreateDir(scratch.Path("sub")));
    EXPECT_FALSE(DeleteFile(scratch.Path("sub")));
    EXPECT_TRUE(DirectoryExists(scratch.Path("sub")));
}

TEST_F(FileUtils, RenameFileNeverReplacesATarget) {
    std::string from = MakeFile("from.txt", "from");
    std::string to = MakeFile("to.txt", "to");
    EXPECT_FALSE(RenameFile(from, to));
    EXPECT_EQ(ReadBytes(to), "to");
    EXPECT_TRUE(DeleteFile(to));
    EXPECT_TRUE(RenameFile(from, to));
    EXPECT_FALSE(FileExists(from));
    EXPECT_EQ(ReadBytes(to), "from");
    EXPECT_FALSE(RenameFile(scratch.Path("missing.txt"), scratch.Path("b.txt")));
}

TEST(CommandLine, ClassicSplittingRules) {
    EXPECT_EQ(ParseCommandLine("menu.exe a  b\tc"), (Params{"menu.exe", "a", "b", "c"}));
    EXPECT_EQ(ParseCommandLine("\"C:\\Program Files\\menu.exe\" /x"), (Params{"C:\\Program Files\\menu.exe", "/x"}));
    EXPECT_EQ(ParseCommandLine("p a\"b c\"d"), (Params{"p", "ab cd"}));
    EXPECT_EQ(ParseCommandLine("p \"\" x"), (Params{"p", "", "x"}));
    EXPECT_EQ(ParseCommandLine("p \"open end"), (Params{"p", "open end"}));
    EXPECT_EQ(ParseCommandLine("p C:\\dir\\ \"a\\\"b"), (Params{"p", "C:\\dir\\", "a\\b"}));
    EXPECT_EQ(ParseCommandLine("  "), (Params{}));
    EXPECT_EQ(ParseCommandLine(""), (Params{}));
}

