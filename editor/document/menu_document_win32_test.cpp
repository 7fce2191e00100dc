// Document tests that hold Windows paths, look into the Windows heap
// (_msize) or need the system's file sharing.
#include "editor/document/menu_document.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <malloc.h>

#include "classlib/core/exceptions.h"
#include "classlib/core/fileutils.h"
#include "classlib/core/io_result.h"
#include "classlib/core/kernel_handle.h"
#include "classlib/core/paths.h"
#include "editor/document/sample_document_test.h"
#include "editor/document/test_folder_test.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes ReadBytes(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

// samples/ of the source tree; the tests run from build/<arch>/bin.
std::string SamplesFolder() {
    return ExtractFilePath(ParamStr(0)) + "..\\..\\..\\samples\\";
}

}  // namespace

TEST(MenuDocument, MissingOrUncreatableFilesFailSilently) {
    TTestHolder h;
    BuildSample(h);
    EXPECT_FALSE(ReadMenuDocument(h, "no-such-folder\\missing.qbx"));
    EXPECT_EQ(h.MenuTree().Count(), 8);
    EXPECT_FALSE(WriteMenuDocument(h, "no-such-folder\\out.qbx"));
}

TEST(MenuDocument, ARefusedReplacementKeepsTheOldDocument) {
    TTestFolder folder("save_refused_win32");
    std::string file = folder.Path("doc.qbx");
    TTestHolder old;
    ASSERT_TRUE(WriteMenuDocument(old, file));
    Bytes before = ReadBytes(file);
    TTestHolder h;
    BuildSample(h);

    // Held open by someone who lets others write it but not replace it: the
    // whole new document is written, then its replacing fails.
    TKernelHandle holder(CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder);
    EXPECT_THROW(WriteMenuDocument(h, file), EInOutError);
    holder.Reset();
    EXPECT_EQ(ReadBytes(file), before);
    EXPECT_EQ(folder.Contents(), std::vector<std::string>{"doc.qbx"});
    EXPECT_EQ(IOResult(), 0);

    ASSERT_TRUE(WriteMenuDocument(h, file));
    EXPECT_NE(ReadBytes(file), before);
    EXPECT_EQ(folder.Contents(), std::vector<std::string>{"doc.qbx"});
}

TEST(MenuDocument, TheSampleDocumentReadsAndWritesBackUnchanged) {
    std::string sample = SamplesFolder() + "Sample.qbx";
    ASSERT_TRUE(FileExists(sample)) << sample;
    TTestHolder h;
    ASSERT_TRUE(ReadMenuDocument(h, sample));
    EXPECT_EQ(h.MenuTree().Count(), 8);
    EXPECT_EQ(h.MenuSettings().Caption, "Quillory sample CD");
    EXPECT_EQ(h.MenuTree().Selected()->Text(), "Text editor");
    ASSERT_TRUE(WriteMenuDocument(h, "sample_copy.qbx"));
    EXPECT_EQ(ReadBytes("sample_copy.qbx"), ReadBytes(sample));
    std::remove("sample_copy.qbx");
}

// As on a CD: every link leads from the document's folder to a file in it
// or below it, wherever the folder is copied to.
TEST(MenuDocument, TheSampleDocumentsLinkedFilesStandBesideIt) {
    std::string folder = SamplesFolder();
    TTestHolder h;
    ASSERT_TRUE(ReadMenuDocument(h, folder + "Sample.qbx"));
    int links = 0;
    for (int i = 0; i < h.MenuTree().Count(); ++i) {
        auto* entry = static_cast<TEntryData*>(h.MenuTree().Item(i)->Data());
        if (!entry) continue;
        for (std::string link : {entry->LinkedFile, entry->LinkedPicture}) {
            if (link.empty()) continue;
            ++links;
            EXPECT_TRUE(ExtractFileDrive(link).empty() && link[0] != '\\' && link.rfind("..", 0) != 0)
                << link << " leads out of the document's folder";
            EXPECT_TRUE(FileExists(folder + link)) << link;
        }
    }
    EXPECT_EQ(links, 3);
}

TEST(EntryData, BlocksAreExactlyLengthPlusOne) {
    TEntryData* e = NewEntryData("hello", "", "pic.bmp");
    EXPECT_EQ(_msize(e->Text), 6u);
    EXPECT_EQ(_msize(e->LinkedFile), 1u);
    EXPECT_EQ(_msize(e->LinkedPicture), 8u);
    EditEntryData(e, "a much longer text than before", "x", "");
    EXPECT_EQ(_msize(e->Text), 31u);
    EXPECT_STREQ(e->Text, "a much longer text than before");
    EXPECT_EQ(_msize(e->LinkedFile), 2u);
    EXPECT_EQ(_msize(e->LinkedPicture), 1u);
    FreeEntryData(e);
}
