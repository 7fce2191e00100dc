// Text-file tests that rely on Windows keeping an open file from deletion.
#include "classlib/core/textfile.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "classlib/core/fileutils.h"
#include "classlib/core/scratch_folder_test.h"
#include "classlib/core/streams.h"

namespace {

class TextFileWin32 : public ScratchFolderTest {
protected:
    void SetUp() override {
        ScratchFolderTest::SetUp();
        IOResult();
    }
    void TearDown() override { IOResult(); }
};

}  // namespace

TEST_F(TextFileWin32, ClosedOnEveryPath) {
    std::string name = scratch.Path("raii.txt");
    try {
        TTextFile f;
        f.Assign(name);
        f.Rewrite();
        f.WriteLn("kept");
        EXPECT_FALSE(DeleteFile(name));
        throw std::runtime_error("leaving early");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(ReadBytes(name), "kept\r\n");
    EXPECT_TRUE(DeleteFile(name));
}
