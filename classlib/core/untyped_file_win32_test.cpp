// Untyped-file tests of Windows error codes and of Windows keeping an open
// file from deletion.
#include "classlib/core/untyped_file.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "classlib/core/exceptions.h"
#include "classlib/core/fileutils.h"
#include "classlib/core/untyped_file_fixture_test.h"

namespace {

class UntypedFileWin32 : public UntypedFileTest {};

}  // namespace

TEST_F(UntypedFileWin32, OperatingSystemErrorsAndMessages) {
    TUntypedFile f;
    std::string message;
    f.Assign(scratch.Path("missing.bin"));
    f.Reset();
    EXPECT_EQ(RaisedCode(&message), 2);
    EXPECT_EQ(message, "Datei nicht gefunden");

    f.Assign(scratch.Path("no\\such\\folder\\a.bin"));
    f.Rewrite();
    EXPECT_EQ(RaisedCode(&message), 3);
    EXPECT_EQ(message, "Ung\xFCltiger Dateiname");

    f.Assign(scratch.Folder() + ".");
    f.Reset();
    EXPECT_EQ(RaisedCode(&message), 5);
    EXPECT_EQ(message, "Dateizugriff verweigert");

    f.Assign("");
    f.Reset();
    EXPECT_EQ(RaisedCode(&message), 102);
    EXPECT_EQ(message, "E/A-Fehler 102");
}

TEST_F(UntypedFileWin32, ClosedOnEveryPath) {
    std::string name = MakeFile("raii.bin", "abc");
    {
        TUntypedFile f;
        f.Assign(name);
        f.Reset();
        ASSERT_TRUE(f.IsOpen());
        EXPECT_FALSE(DeleteFile(name));  // open files cannot be deleted
    }
    EXPECT_TRUE(DeleteFile(name));

    name = MakeFile("raii2.bin", "abc");
    try {
        TUntypedFile f;
        f.Assign(name);
        f.Reset();
        throw std::runtime_error("leaving early");
    } catch (const std::runtime_error&) {
    }
    EXPECT_TRUE(DeleteFile(name));

    name = MakeFile("raii3.bin", "abc");
    TUntypedFile f;
    f.Assign(name);
    f.Reset();
    f.Assign(scratch.Path("other.bin"));  // closes rather than leaks
    EXPECT_FALSE(f.IsOpen());
    EXPECT_TRUE(DeleteFile(name));
    EXPECT_EQ(IOResult(), 0);
}
