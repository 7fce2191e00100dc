#include "editor/builder/exe_builder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "classlib/core/file_backend.h"
#include "classlib/core/fileutils.h"
#include "classlib/testing/gui_testing.h"
#include "classlib/gui/scoped_win32.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes ReadBytes(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& file, const Bytes& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void PutSignature(Bytes& image, size_t at) {
    std::memcpy(image.data() + at, "ZEBRIQUT", 8);
    for (size_t i = 8; i < 20; ++i) image[at + i] = static_cast<uint8_t>(0xA0 + i);
}

// The template stores every byte of the image plus one.
Bytes Template(const Bytes& image) {
    Bytes t = image;
    for (uint8_t& b : t) b = static_cast<uint8_t>(b + 1);
    return t;
}

int32_t IntAt(const Bytes& b, size_t at) {
    int32_t v;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}

// Files a build left beside its target in the current folder.
int SideFiles() {
    WIN32_FIND_DATAA found;
    TFileSearch search(FindFirstFileA("~qb*.tmp", &found));
    if (!search) return 0;
    int count = 0;
    do ++count;
    while (FindNextFileA(search.Get(), &found));
    return count;
}

struct BuildFiles {
    std::string Template = "build_template.dat", Document = "build_doc.qbx", Target = "build_target.exe";
    ~BuildFiles() {
        for (const auto& f : {Template, Document, Target}) std::remove(f.c_str());
    }
};

TEST(ExeBuilder, PatchesEverySignatureOfTheFirstBlockThatHoldsOne) {
    Bytes image(5000);
    for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(i * 7);
    image[10] = 0x00;  // stored as 01
    image[11] = 0xFF;  // stored as 00: restored to FF
    PutSignature(image, 100);
    PutSignature(image, 1500);
    PutSignature(image, 2100);  // a later block: left alone
    PutSignature(image, 2048 - 15);  // straddles the first block's end: not found there
    BuildFiles files;
    WriteBytes(files.Template, Template(image));
    Bytes document = {0, 1, 2, 99, 250};
    WriteBytes(files.Document, document);

    TScriptedInteraction seam;
    ASSERT_TRUE(CreateExeFromTemplate(files.Template, files.Document, files.Target));
    Bytes out = ReadBytes(files.Target);
    ASSERT_EQ(out.size(), image.size() + document.size());
    EXPECT_EQ(out[10], 0x00);
    EXPECT_EQ(out[11], 0xFF);
    for (size_t at : {size_t(100), size_t(1500)}) {
        EXPECT_EQ(IntAt(out, at), 5000) << at;
        EXPECT_EQ(std::string(reinterpret_cast<char*>(out.data()) + at + 4, 4), "IQUT");
        EXPECT_EQ(IntAt(out, at + 16), 0);
        EXPECT_EQ(out[at + 8], 0xA8);  // between the patched fields: untouched
    }
    EXPECT_EQ(std::string(reinterpret_cast<char*>(out.data()) + 2100, 8), "ZEBRIQUT");
    EXPECT_EQ(std::string(reinterpret_cast<char*>(out.data()) + 2048 - 15, 8), "ZEBRIQUT");
    EXPECT_EQ(Bytes(out.begin() + 5000, out.end()), document);
    ASSERT_EQ(seam.Boxes.size(), 1u);
    EXPECT_EQ(seam.Boxes[0].Text, "The exe file could be successfully created.");
    EXPECT_EQ(seam.Boxes[0].Caption, "Exe file created");
    EXPECT_EQ(seam.Boxes[0].Flags, unsigned(MB_TASKMODAL | MB_ICONINFORMATION));
}

// Both patched fields must lie in the block: the last place a signature
// is found is 20 bytes before the block's end.
TEST(ExeBuilder, FindsASignatureUpToTwentyBytesBeforeTheBlocksEnd) {
    const int32_t count = 40;
    for (size_t at : {size_t(0), size_t(7), size_t(20), size_t(21)}) {
        Bytes block(count + 8, 'Z');
        PutSignature(block, at);
        const bool fits = at + 20 <= count;
        EXPECT_EQ(PatchDocumentMarker(block.data(), count, 1234), fits) << at;
        if (fits) EXPECT_EQ(IntAt(block, at), 1234) << at;
        else EXPECT_EQ(std::string(reinterpret_cast<char*>(block.data()) + at, 8), "ZEBRIQUT");
    }
}

TEST(ExeBuilder, ReportsATemplateWithoutSignatureAsCorrupted) {
    BuildFiles files;
    WriteBytes(files.Template, Template(Bytes(3000, 0x41)));
    WriteBytes(files.Document, {1, 2, 3});
    TScriptedInteraction seam;
    EXPECT_FALSE(CreateExeFromTemplate(files.Template, files.Document, files.Target));
    ASSERT_EQ(seam.Boxes.size(), 2u);
    EXPECT_EQ(seam.Boxes[0].Text, "File Playstub.dat is corrupted!");
    EXPECT_FALSE(seam.Boxes[0].HasCaption);
    EXPECT_EQ(seam.Boxes[1].Text, "Could not create file!");
    EXPECT_FALSE(FileExists(files.Target)) << "a failed build leaves no executable";
    EXPECT_EQ(SideFiles(), 0);
}

TEST(ExeBuilder, MissingTemplateOrDocumentFailWithTheirBoxes) {
    BuildFiles files;
    WriteBytes(files.Document, {1});
    TScriptedInteraction seam;
    EXPECT_FALSE(CreateExeFromTemplate("no-such-template.dat", files.Document, files.Target));
    ASSERT_EQ(seam.Boxes.size(), 2u);
    EXPECT_EQ(seam.Boxes[0].Text, "Could not open the file Playstub.dat!");
    EXPECT_EQ(seam.Boxes[1].Text, "Could not create file!");
    EXPECT_FALSE(FileExists(files.Target));

    // An executable already there stays as it was.
    Bytes image(100, 0);
    PutSignature(image, 0);
    WriteBytes(files.Template, Template(image));
    WriteBytes(files.Target, {'o', 'l', 'd'});
    seam.Boxes.clear();
    EXPECT_FALSE(CreateExeFromTemplate(files.Template, "no-such-document.qbx", files.Target));
    ASSERT_EQ(seam.Boxes.size(), 2u);
    EXPECT_EQ(seam.Boxes[0].Text, "Could not open QBX file!");
    EXPECT_EQ(seam.Boxes[1].Text, "Could not create file!");
    EXPECT_EQ(ReadBytes(files.Target), (Bytes{'o', 'l', 'd'}));
    EXPECT_EQ(SideFiles(), 0);
}

TEST(ExeBuilder, AWriteCutShortAtTheEndOfTheMediumFailsTheBuild) {
    Bytes image(40000, 0x33);
    PutSignature(image, 100);
    BuildFiles files;
    WriteBytes(files.Template, Template(image));
    WriteBytes(files.Document, Bytes(500, 7));
    const Bytes old = {'o', 'l', 'd'};
    void* owner = reinterpret_cast<void*>(static_cast<intptr_t>(0x1234));
    for (size_t limit : {size_t(33 * 1024), image.size() + 200}) {  // cut in the template, in the document
        WriteBytes(files.Target, old);
        TScriptedInteraction seam;
        {
            FileBackend::TFileSizeLimitForTesting medium(static_cast<int64_t>(limit));
            EXPECT_FALSE(CreateExeFromTemplate(files.Template, files.Document, files.Target, owner)) << limit;
        }
        ASSERT_EQ(seam.Boxes.size(), 1u) << limit;
        EXPECT_EQ(seam.Boxes[0].Text, "Could not create file!");
        EXPECT_FALSE(seam.Boxes[0].HasCaption);
        EXPECT_EQ(seam.Boxes[0].Flags, unsigned(MB_TASKMODAL | MB_ICONINFORMATION));
        EXPECT_EQ(seam.Boxes[0].Owner, owner);
        EXPECT_EQ(ReadBytes(files.Target), old) << limit;
        EXPECT_EQ(SideFiles(), 0);
    }
}

TEST(ExeBuilder, AFolderThatTakesNoFileFailsWithOneBox) {
    BuildFiles files;
    Bytes image(100, 0);
    PutSignature(image, 0);
    WriteBytes(files.Template, Template(image));
    WriteBytes(files.Document, {1});
    TScriptedInteraction seam;
    EXPECT_FALSE(CreateExeFromTemplate(files.Template, files.Document, "no-such-folder\\menu.exe"));
    ASSERT_EQ(seam.Boxes.size(), 1u);
    EXPECT_EQ(seam.Boxes[0].Text, "Could not create file!");
}

// Run as an administrator (as the tests are), the system would let the
// build write the file anyway: the mark alone must keep it.
TEST(ExeBuilder, ATargetMarkedReadOnlyIsRefusedAndKept) {
    BuildFiles files;
    Bytes image(100, 0x33);
    PutSignature(image, 0);
    WriteBytes(files.Template, Template(image));
    WriteBytes(files.Document, {7, 7});
    const Bytes old = {'o', 'l', 'd'};
    WriteBytes(files.Target, old);
    ASSERT_TRUE(SetFileAttributesA(files.Target.c_str(), FILE_ATTRIBUTE_READONLY));
    TScriptedInteraction seam;
    EXPECT_FALSE(CreateExeFromTemplate(files.Template, files.Document, files.Target));
    const DWORD attributes = GetFileAttributesA(files.Target.c_str());
    SetFileAttributesA(files.Target.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadBytes(files.Target), old);
    EXPECT_NE(attributes & FILE_ATTRIBUTE_READONLY, 0u) << "still marked read-only";
    ASSERT_EQ(seam.Boxes.size(), 1u);
    EXPECT_EQ(seam.Boxes[0].Text, "Could not create file!");
    EXPECT_FALSE(seam.Boxes[0].HasCaption);
    EXPECT_EQ(SideFiles(), 0);
}

TEST(ExeBuilder, RefusesToWriteOverItsOwnSources) {
    BuildFiles files;
    Bytes image(100, 0x33);
    PutSignature(image, 0);
    Bytes stored = Template(image);
    WriteBytes(files.Template, stored);
    WriteBytes(files.Document, {7, 7});
    TScriptedInteraction seam;
    EXPECT_FALSE(CreateExeFromTemplate(files.Template, files.Document, files.Template));
    EXPECT_FALSE(CreateExeFromTemplate(files.Template, files.Document, ".\\" + files.Document));
    // Another name of the same file.
    const std::string link = "build_link.exe";
    ASSERT_TRUE(CreateHardLinkA(link.c_str(), files.Document.c_str(), nullptr));
    EXPECT_FALSE(CreateExeFromTemplate(files.Template, files.Document, link));
    std::remove(link.c_str());
    EXPECT_EQ(ReadBytes(files.Template), stored);
    EXPECT_EQ(ReadBytes(files.Document), (Bytes{7, 7}));
    ASSERT_EQ(seam.Boxes.size(), 3u);
    for (const auto& box : seam.Boxes) EXPECT_EQ(box.Text, "Could not create file!");
}

TEST(ExeBuilder, TemporaryDocumentTakesTheFirstFreeNumber) {
    std::string folder = GetTempDirectory();
    ASSERT_FALSE(TemporaryFolder().empty());
    std::vector<std::string> made;
    for (int n = 0; n < 10 && FreeTemporaryDocument(folder) != folder + "tf2.qbx"; ++n) {
        std::string name = FreeTemporaryDocument(folder);
        WriteBytes(name, {0});
        made.push_back(name);
    }
    EXPECT_EQ(FreeTemporaryDocument(folder), folder + "tf2.qbx");
    for (const auto& name : made) std::remove(name.c_str());
}

TEST(ExeBuilder, AutorunFileHasTwoLinesWithCrLf) {
    ASSERT_TRUE(WriteAutorunFile("", "menu.exe"));
    Bytes content = ReadBytes("autorun.inf");
    EXPECT_EQ(std::string(content.begin(), content.end()), "[autorun]\r\nopen=menu.exe\r\n");
    std::remove("autorun.inf");
    EXPECT_FALSE(WriteAutorunFile("no-such-folder\\", "menu.exe"));

    // A name with blanks is quoted, or it would be read up to its first one.
    ASSERT_TRUE(WriteAutorunFile("", "Start Men\xFC.exe"));
    content = ReadBytes("autorun.inf");
    EXPECT_EQ(std::string(content.begin(), content.end()), "[autorun]\r\nopen=\"Start Men\xFC.exe\"\r\n");
    std::remove("autorun.inf");
}

TEST(ExeBuilder, AFailedAutorunFileLeavesTheOldOneAsItWas) {
    const Bytes old = {'[', 'a', 'u', 't', 'o', 'r', 'u', 'n', ']', '\r', '\n', 'o', 'l', 'd'};
    for (int64_t limit : {0, 5, 12, 20}) {  // the medium ends in the first line, in the second, at its end
        WriteBytes("autorun.inf", old);
        {
            FileBackend::TFileSizeLimitForTesting medium(limit);
            EXPECT_FALSE(WriteAutorunFile("", "menu.exe")) << limit;
        }
        EXPECT_EQ(ReadBytes("autorun.inf"), old) << limit;
        EXPECT_EQ(SideFiles(), 0) << limit;
    }
    std::remove("autorun.inf");
}

}  // namespace
