#include "controls/path_utils.h"

#include <gtest/gtest.h>

#include "classlib/core/paths.h"
#include "classlib/core/scratch_folder_test.h"
#include "classlib/core/strutils.h"
#include "classlib/gui/win32.h"

namespace {

TEST(PathUtils, RemoveTrailingBackslashKeepsRoots) {
    EXPECT_EQ(RemoveTrailingBackslash("C:\\"), "C:\\");
    EXPECT_EQ(RemoveTrailingBackslash("z:\\"), "z:\\");
    EXPECT_EQ(RemoveTrailingBackslash("C:\\Data\\"), "C:\\Data");
    EXPECT_EQ(RemoveTrailingBackslash("C:\\Data\\\\"), "C:\\Data\\");  // only one
    EXPECT_EQ(RemoveTrailingBackslash("\\"), "\\");
    EXPECT_EQ(RemoveTrailingBackslash("1:\\"), "1:");  // not a drive letter
    EXPECT_EQ(RemoveTrailingBackslash("C:\\Data"), "C:\\Data");
    EXPECT_EQ(RemoveTrailingBackslash(""), "");
}

TEST(PathUtils, ValidFileNamesHaveNoReservedCharacters) {
    EXPECT_FALSE(IsValidFileName(""));
    EXPECT_FALSE(IsValidFileName("C:\\a[1].txt"));
    EXPECT_FALSE(IsValidFileName("a|b.txt"));
    EXPECT_FALSE(IsValidFileName("\"quoted.txt\""));
    EXPECT_TRUE(IsValidFileName("C:\\Program Files\\Menu\\read me.txt"));
    EXPECT_TRUE(IsValidFileName("read me.txt"));
    EXPECT_TRUE(ContainsAnyChar("abc", "xyc"));
    EXPECT_FALSE(ContainsAnyChar("abc", ""));
}

using PathUtilsOnDisk = ScratchFolderTest;

TEST_F(PathUtilsOnDisk, FoldersAndTheirComponentNames) {
    ASSERT_TRUE(CreateDir(scratch.Path("Long Folder Name")));
    const std::string file = MakeFile("Long Folder Name\\Some Document.text");
    EXPECT_TRUE(IsExistingDirectory(scratch.Path("Long Folder Name")));
    EXPECT_FALSE(IsExistingDirectory(file));
    EXPECT_FALSE(IsExistingDirectory(scratch.Path("missing")));

    EXPECT_EQ(GetLongPathPart(file), "Some Document.text");
    EXPECT_EQ(GetLongPathPart(scratch.Path("missing")), "");
    // The file system decides the short form; compare with its own answer.
    char shortPath[MAX_PATH] = {};
    ASSERT_NE(GetShortPathNameA(file.c_str(), shortPath, MAX_PATH), 0u);
    EXPECT_EQ(GetShortPathPart(file), ExtractFileName(shortPath));

    // The drive part stays as written; each component gets its long name.
    char longPath[MAX_PATH] = {};
    ASSERT_NE(GetLongPathNameA(shortPath, longPath, MAX_PATH), 0u);
    EXPECT_TRUE(SameText(ExpandToLongPath(shortPath), longPath)) << ExpandToLongPath(shortPath);
    EXPECT_TRUE(SameText(ExpandToShortPath(longPath), shortPath)) << ExpandToShortPath(longPath);
    // A missing component becomes empty; a trailing backslash leaves an
    // empty last one.
    const std::string folder = scratch.Path("Long Folder Name");
    EXPECT_EQ(ExpandToLongPath(folder + "\\nothing\\x"),
              ExpandToLongPath(folder) + "\\\\");
    EXPECT_EQ(ExpandToLongPath(folder + "\\"), ExpandToLongPath(folder) + "\\");
}

}  // namespace
