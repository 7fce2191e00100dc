#include "classlib/core/paths.h"

#include <gtest/gtest.h>

TEST(Paths, SplittingAtBackslashAndColon) {
    EXPECT_EQ(ExtractFilePath("C:\\CD\\menu.exe"), "C:\\CD\\");
    EXPECT_EQ(ExtractFilePath("C:menu.exe"), "C:");
    EXPECT_EQ(ExtractFilePath("menu.exe"), "");
    EXPECT_EQ(ExtractFileName("C:\\CD\\menu.exe"), "menu.exe");
    EXPECT_EQ(ExtractFileName("C:menu.exe"), "menu.exe");
    EXPECT_EQ(ExtractFileName("C:\\CD\\"), "");
}

TEST(Paths, ForwardSlashesSeparateAsBackslashesDo) {
    const std::string typed = "Z:\\cds/cd2/menu.exe";
    EXPECT_EQ(ExtractFilePath(typed), "Z:\\cds/cd2/");
    EXPECT_EQ(ExtractFileName(typed), "menu.exe");
    EXPECT_EQ(ExtractFileDir(typed), "Z:\\cds/cd2");
    EXPECT_EQ(ExtractFileDir("Z:/menu.exe"), "Z:/");
    EXPECT_EQ(ExtractFileDir("/menu.exe"), "/");
    EXPECT_EQ(ExtractFileExt("C:/my.dir/readme"), "");
    EXPECT_EQ(ChangeFileExt("C:/my.dir/readme", ".txt"), "C:/my.dir/readme.txt");
    EXPECT_EQ(ExtractFileDrive("//server/share/dir/a.txt"), "//server/share");
    EXPECT_EQ(IncludeTrailingBackslash("Z:\\cds/cd2/"), "Z:\\cds/cd2/");
    EXPECT_EQ(IncludeTrailingBackslash("Z:\\cds/cd2"), "Z:\\cds/cd2\\");
    EXPECT_EQ(ExcludeTrailingBackslash("Z:\\cds/cd2/"), "Z:\\cds/cd2");
    EXPECT_TRUE(IsPathDelimiter("a/b", 1));
    // Links become relative to the folder the executable lands in, however
    // either was spelt; what is written uses backslashes.
    EXPECT_EQ(MakeRelativeToExe("Z:\\cds\\cd2\\docs\\a.txt", typed), "docs\\a.txt");
    EXPECT_EQ(MakeRelativeToExe("Z:/cds/cd2/docs/a.txt", "Z:\\cds\\cd2\\menu.exe"), "docs\\a.txt");
    EXPECT_EQ(MakeRelativeToExe("z:/CDS/other/a.txt", typed), "..\\other\\a.txt");
    EXPECT_EQ(MakeRelativeToExe("/cds/a.txt", typed), "/cds/a.txt");
}

TEST(Paths, FileDirKeepsOnlyTheRootsBackslash) {
    EXPECT_EQ(ExtractFileDir("C:\\CD\\menu.exe"), "C:\\CD");
    EXPECT_EQ(ExtractFileDir("C:\\menu.exe"), "C:\\");
    EXPECT_EQ(ExtractFileDir("\\menu.exe"), "\\");
    EXPECT_EQ(ExtractFileDir("C:menu.exe"), "C:");
    EXPECT_EQ(ExtractFileDir("docs\\a.txt"), "docs");
    EXPECT_EQ(ExtractFileDir("a.txt"), "");
    EXPECT_EQ(ExtractFileDir("\\\\server\\share\\a.txt"), "\\\\server\\share");
    EXPECT_EQ(ExtractFileDir(""), "");
}

TEST(Paths, Drives) {
    EXPECT_EQ(ExtractFileDrive("C:\\CD\\menu.exe"), "C:");
    EXPECT_EQ(ExtractFileDrive("d:x"), "d:");
    EXPECT_EQ(ExtractFileDrive("\\\\server\\share\\dir\\a.txt"), "\\\\server\\share");
    EXPECT_EQ(ExtractFileDrive("\\\\server\\share"), "\\\\server\\share");
    EXPECT_EQ(ExtractFileDrive("\\\\server\\"), "\\\\server");
    EXPECT_EQ(ExtractFileDrive("\\\\server"), "\\\\server");
    EXPECT_EQ(ExtractFileDrive("\\dir\\a.txt"), "");
    EXPECT_EQ(ExtractFileDrive("docs\\a.txt"), "");
    EXPECT_EQ(ExtractFileDrive("C"), "");
}

TEST(Paths, Extensions) {
    EXPECT_EQ(ExtractFileExt("C:\\CD\\a.tar.gz"), ".gz");
    EXPECT_EQ(ExtractFileExt("C:\\my.dir\\readme"), "");
    EXPECT_EQ(ExtractFileExt("file."), ".");
    EXPECT_EQ(ChangeFileExt("C:\\CD\\menu.exe", ".ini"), "C:\\CD\\menu.ini");
    EXPECT_EQ(ChangeFileExt("C:\\my.dir\\readme", ".txt"), "C:\\my.dir\\readme.txt");
    EXPECT_EQ(ChangeFileExt("a.txt", ""), "a");
}

TEST(Paths, TrailingBackslash) {
    EXPECT_EQ(IncludeTrailingBackslash("C:\\CD"), "C:\\CD\\");
    EXPECT_EQ(IncludeTrailingBackslash("C:\\CD\\"), "C:\\CD\\");
    EXPECT_EQ(IncludeTrailingBackslash(""), "\\");
    EXPECT_EQ(ExcludeTrailingBackslash("C:\\CD\\"), "C:\\CD");
    EXPECT_EQ(ExcludeTrailingBackslash("C:\\CD"), "C:\\CD");
    EXPECT_EQ(ExcludeTrailingBackslash(""), "");
    EXPECT_TRUE(IsPathDelimiter("a\\b", 1));
    EXPECT_FALSE(IsPathDelimiter("a\\b", 0));
    EXPECT_FALSE(IsPathDelimiter("a\\b", 3));
    EXPECT_FALSE(IsPathDelimiter("a\\b", -1));
}

TEST(Paths, RelativeToTheMenuExecutable) {
    const std::string exe = "C:\\CD\\menu.exe";
    EXPECT_EQ(MakeRelativeToExe("C:\\CD\\a.txt", exe), "a.txt");
    EXPECT_EQ(MakeRelativeToExe("C:\\CD\\docs\\a.txt", exe), "docs\\a.txt");
    EXPECT_EQ(MakeRelativeToExe("C:\\other\\a.txt", exe), "..\\other\\a.txt");
    EXPECT_EQ(MakeRelativeToExe("c:\\cd\\Docs\\A.txt", exe), "Docs\\A.txt");
    EXPECT_EQ(MakeRelativeToExe("D:\\x\\a.txt", exe), "D:\\x\\a.txt");
    EXPECT_EQ(MakeRelativeToExe("docs\\a.txt", exe), "docs\\a.txt");
    EXPECT_EQ(MakeRelativeToExe("\\CD\\a.txt", exe), "\\CD\\a.txt");
    EXPECT_EQ(MakeRelativeToExe("", exe), "");
    EXPECT_EQ(MakeRelativeToExe("C:\\a.txt", exe), "..\\a.txt");
}

TEST(Paths, RelativeAcrossDeeperNestings) {
    const std::string exe = "C:\\Projekte\\CD\\Men\xFC\\start.exe";
    EXPECT_EQ(MakeRelativeToExe("C:\\Projekte\\CD\\Men\xFC\\bilder\\2024\\a.jpg", exe), "bilder\\2024\\a.jpg");
    EXPECT_EQ(MakeRelativeToExe("C:\\Projekte\\CD\\daten\\x.pdf", exe), "..\\daten\\x.pdf");
    EXPECT_EQ(MakeRelativeToExe("C:\\Projekte\\alt\\v1\\x.pdf", exe), "..\\..\\alt\\v1\\x.pdf");
    EXPECT_EQ(MakeRelativeToExe("C:\\x.pdf", exe), "..\\..\\..\\x.pdf");
    EXPECT_EQ(MakeRelativeToExe("C:\\PROJEKTE\\cd\\x.pdf", exe), "..\\x.pdf");
    // A folder that merely starts like the exe's is a different folder.
    EXPECT_EQ(MakeRelativeToExe("C:\\Projekte\\CD2\\x.pdf", exe), "..\\..\\CD2\\x.pdf");
    EXPECT_EQ(MakeRelativeToExe("C:\\Projekte\\CD\\Men\xFC\\x.pdf", "C:\\Projekte\\CD\\Men\xFC\\"), "x.pdf");
}

TEST(Paths, ExtractRelativePathDrivesAndRoots) {
    EXPECT_EQ(ExtractRelativePath("\\\\srv\\share\\cd\\menu.exe", "\\\\SRV\\Share\\cd\\a\\b.txt"), "a\\b.txt");
    EXPECT_EQ(ExtractRelativePath("\\\\srv\\one\\menu.exe", "\\\\srv\\two\\b.txt"), "\\\\srv\\two\\b.txt");
    EXPECT_EQ(ExtractRelativePath("C:\\CD\\menu.exe", "C:docs\\a.txt"), "C:docs\\a.txt");
    EXPECT_EQ(ExtractRelativePath("base\\menu.exe", "base\\sub\\a.txt"), "sub\\a.txt");
    EXPECT_EQ(ExtractRelativePath("C:\\CD\\\\sub\\menu.exe", "C:\\CD\\a.txt"), "..\\a.txt");
    EXPECT_EQ(ExtractRelativePath("", "a.txt"), "a.txt");
}
