// Tests' fixture for untyped files: a scratch folder, the I/O result reset
// around each test, and helpers to make files and read raised codes.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "classlib/core/io_result.h"
#include "classlib/core/scratch_folder_test.h"
#include "classlib/core/untyped_file.h"

class UntypedFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(scratch.Created());
        IOResult();
        FileMode = 2;
    }
    void TearDown() override {
        FileMode = 2;
        IOResult();
    }

    // A file holding text, written and checked through the class itself.
    std::string MakeFile(const std::string& name, const std::string& text) {
        TUntypedFile f;
        f.Assign(scratch.Path(name));
        f.Rewrite();
        f.BlockWrite(text.data(), static_cast<int32_t>(text.size()));
        f.Close();
        EXPECT_EQ(IOResult(), 0);
        return scratch.Path(name);
    }

    // The code InOutCheck raises, with the message it carries; 0 if none.
    static int RaisedCode(std::string* message = nullptr) {
        try {
            InOutCheck();
        } catch (const EInOutError& e) {
            if (message) *message = e.Message();
            return e.ErrorCode;
        }
        return 0;
    }

    TScratchFolder scratch;
};
