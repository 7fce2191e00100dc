#include "classlib/core/textfile.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "classlib/core/exceptions.h"
#include "classlib/core/fileutils.h"
#include "classlib/core/scratch_folder_test.h"
#include "classlib/core/streams.h"

namespace {

class TextFile : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(scratch.Created());
        IOResult();
    }
    void TearDown() override { IOResult(); }

    std::string WriteBytes(const std::string& name, const std::string& bytes) {
        TFileStream stream(scratch.Path(name), fmCreate);
        stream.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
        return scratch.Path(name);
    }
    static std::string ReadBytes(const std::string& fileName) {
        TStringStream data;
        data.LoadFromFile(fileName);
        return data.DataString();
    }
    static std::vector<std::string> ReadLines(const std::string& fileName) {
        TTextFile f;
        f.Assign(fileName);
        f.Reset();
        std::vector<std::string> lines;
        while (!f.Eof()) {
            std::string line;
            f.ReadLn(line);
            lines.push_back(line);
        }
        f.Close();
        EXPECT_EQ(IOResult(), 0);
        return lines;
    }

    TScratchFolder scratch;
};

using Lines = std::vector<std::string>;

}  // namespace

TEST_F(TextFile, WritesLinesWithCrLf) {
    TTextFile f;
    f.Assign(scratch.Path("out.txt"));
    f.Rewrite();
    f.Write("Gr\xFC\xDF");
    f.WriteLn(" Gott");
    f.WriteLn();
    f.Write(std::string("a\0b", 3));
    f.Close();
    EXPECT_EQ(IOResult(), 0);
    EXPECT_EQ(ReadBytes(scratch.Path("out.txt")), std::string("Gr\xFC\xDF Gott\r\n\r\na\0b", 16));
}

TEST_F(TextFile, AppendAddsAtTheEnd) {
    std::string name = WriteBytes("log.txt", "eins\r\n");
    TTextFile f;
    f.Assign(name);
    f.Append();
    f.WriteLn("zwei");
    f.Close();
    EXPECT_EQ(IOResult(), 0);
    EXPECT_EQ(ReadBytes(name), "eins\r\nzwei\r\n");

    f.Assign(scratch.Path("missing.txt"));
    f.Append();
    EXPECT_EQ(IOResult(), 2);
    EXPECT_FALSE(FileExists(scratch.Path("missing.txt")));
}

TEST_F(TextFile, ReadLnSplitsAtEveryKindOfBreak) {
    EXPECT_EQ(ReadLines(WriteBytes("a.txt", "a\r\nb\nc\rd")), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(ReadLines(WriteBytes("b.txt", "a\r\n")), (Lines{"a"}));
    EXPECT_EQ(ReadLines(WriteBytes("c.txt", "\r\n\n\r\r\n")), (Lines{"", "", "", ""}));
    EXPECT_EQ(ReadLines(WriteBytes("d.txt", "a\n\rb")), (Lines{"a", "", "b"}));
    EXPECT_EQ(ReadLines(WriteBytes("e.txt", "")), (Lines{}));
    EXPECT_EQ(ReadLines(WriteBytes("f.txt", std::string("x\0y\xFF\n", 5))), (Lines{std::string("x\0y\xFF", 4)}));
}

TEST_F(TextFile, LinesLongerThanAndAcrossTheBuffer) {
    std::string first(4095, 'a');  // its CR ends the first 4096-byte read, its LF starts the next
    std::string longLine(10000, 'b');
    std::string name = WriteBytes("long.txt", first + "\r\n" + longLine + "\r" + "\n" + "end");
    EXPECT_EQ(ReadLines(name), (Lines{first, longLine, "end"}));
}

TEST_F(TextFile, ReadingPastTheEndGivesEmptyLines) {
    std::string name = WriteBytes("one.txt", "x");
    TTextFile f;
    f.Assign(name);
    f.Reset();
    std::string line;
    f.ReadLn(line);
    EXPECT_EQ(line, "x");
    EXPECT_TRUE(f.Eof());
    line = "stale";
    f.ReadLn(line);
    EXPECT_EQ(line, "");
    EXPECT_EQ(IOResult(), 0);
}

TEST_F(TextFile, WrongDirectionAndClosedFilesAreErrors) {
    std::string name = WriteBytes("dir.txt", "text\r\n");
    TTextFile f;
    f.Assign(name);
    f.Reset();
    f.Write("x");
    EXPECT_EQ(IOResult(), 105);
    f.Rewrite();
    std::string line = "stale";
    f.ReadLn(line);
    EXPECT_EQ(IOResult(), 104);
    EXPECT_EQ(line, "");
    EXPECT_TRUE(f.Eof());
    EXPECT_EQ(IOResult(), 104);
    f.Close();
    f.WriteLn("x");
    EXPECT_EQ(IOResult(), 103);
    EXPECT_TRUE(f.Eof());
    EXPECT_EQ(IOResult(), 103);
    f.Close();
    EXPECT_EQ(IOResult(), 103);

    TTextFile unnamed;
    unnamed.Rewrite();
    EXPECT_EQ(IOResult(), 102);
    unnamed.Assign(scratch.Path("none.txt"));
    unnamed.Reset();
    EXPECT_EQ(IOResult(), 2);
}

TEST_F(TextFile, PendingResultsRaiseOnTheNextCheck) {
    TTextFile f;
    f.Assign(scratch.Path("none.txt"));
    f.Reset();  // untested failure
    f.Assign(scratch.Path("made.txt"));
    f.Rewrite();
    f.WriteLn("ok");  // tested; raises the earlier failure
    try {
        InOutCheck();
        FAIL();
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode, 2);
    }
    f.Close();
    EXPECT_NO_THROW(InOutCheck());
}

