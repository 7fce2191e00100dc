// File and folder tests that hold Windows paths (drives, '\' separators).
#include "classlib/core/fileutils.h"

#include <gtest/gtest.h>

#include "classlib/core/paths.h"
#include "classlib/core/scratch_folder_test.h"
#include "classlib/core/streams.h"
#include "classlib/core/strutils.h"

namespace {

class FileUtilsWin32 : public ScratchFolderTest {};

}  // namespace

TEST_F(FileUtilsWin32, FilesAndFoldersAreTold) {
    std::string file = MakeFile("a.txt");
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(DirectoryExists(file));
    EXPECT_TRUE(DirectoryExists(scratch.Folder()));
    EXPECT_TRUE(DirectoryExists(ExcludeTrailingBackslash(scratch.Folder())));
    EXPECT_FALSE(FileExists(ExcludeTrailingBackslash(scratch.Folder())));
    EXPECT_FALSE(FileExists(scratch.Path("missing.txt")));
    EXPECT_FALSE(DirectoryExists(scratch.Path("missing")));
    EXPECT_FALSE(FileExists(""));
    EXPECT_FALSE(FileExists(scratch.Path("*.txt")));
}

TEST_F(FileUtilsWin32, ForceDirectoriesCreatesEveryMissingFolder) {
    std::string deep = scratch.Path("a\\b\\c");
    EXPECT_TRUE(ForceDirectories(deep));
    EXPECT_TRUE(DirectoryExists(deep));
    EXPECT_TRUE(ForceDirectories(deep + "\\"));  // already there
    EXPECT_TRUE(ForceDirectories(scratch.Path("a\\x\\")));
    EXPECT_TRUE(DirectoryExists(scratch.Path("a\\x")));
    EXPECT_FALSE(ForceDirectories(""));

    std::string file = MakeFile("blocker");
    EXPECT_FALSE(ForceDirectories(file + "\\sub"));
    EXPECT_FALSE(ForceDirectories(file));
    EXPECT_EQ(ReadBytes(file), "x");
    EXPECT_FALSE(CreateDir(scratch.Path("no\\parent")));
}

TEST_F(FileUtilsWin32, ForceDirectoriesWithARelativePath) {
    std::string saved = GetCurrentDir();
    ASSERT_TRUE(SetCurrentDir(scratch.Folder()));
    EXPECT_TRUE(ForceDirectories("rel\\sub"));
    EXPECT_TRUE(ForceDirectories("single"));
    ASSERT_TRUE(SetCurrentDir(saved));
    EXPECT_TRUE(DirectoryExists(scratch.Path("rel\\sub")));
    EXPECT_TRUE(DirectoryExists(scratch.Path("single")));
}

TEST_F(FileUtilsWin32, CurrentAndTemporaryFolders) {
    std::string saved = GetCurrentDir();
    ASSERT_FALSE(saved.empty());
    ASSERT_TRUE(SetCurrentDir(scratch.Folder()));
    EXPECT_TRUE(SameText(IncludeTrailingBackslash(GetCurrentDir()), scratch.Folder()));
    EXPECT_TRUE(FileExists(MakeFile("here.txt")));
    EXPECT_TRUE(FileExists("here.txt"));
    EXPECT_FALSE(SetCurrentDir(scratch.Path("missing")));
    ASSERT_TRUE(SetCurrentDir(saved));
    EXPECT_EQ(GetCurrentDir(), saved);

    std::string temp = GetTempDirectory();
    EXPECT_EQ(temp.back(), '\\');
    EXPECT_TRUE(DirectoryExists(temp));
}

TEST(CommandLineWin32, ParamStrUsesTheGivenCommandLine) {
    SetCommandLineForTesting("\"C:\\CD\\menu.exe\" /auto \"D:\\Mein Ordner\\x.qmn\"");
    EXPECT_EQ(ParamCount(), 2);
    EXPECT_EQ(ParamStr(1), "/auto");
    EXPECT_EQ(ParamStr(2), "D:\\Mein Ordner\\x.qmn");
    EXPECT_EQ(ParamStr(3), "");
    EXPECT_EQ(ParamStr(-1), "");
    SetCommandLineForTesting("");
    EXPECT_EQ(ParamCount(), 0);
    EXPECT_EQ(ParamStr(1), "");
    SetCommandLineForTesting(std::nullopt);

    // The program itself: a full path, whatever the command line said.
    std::string self = ParamStr(0);
    EXPECT_EQ(ExtractFileDrive(self).size(), 2u);
    EXPECT_TRUE(SameText(ExtractFileExt(self), ".exe"));
    EXPECT_TRUE(FileExists(self));
    EXPECT_EQ(ParamStr(ParamCount() + 1), "");
}
