#include "editor/document/menu_document.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "classlib/core/exceptions.h"
#include "classlib/core/fileutils.h"
#include "classlib/core/io_result.h"
#include "classlib/core/paths.h"
#include "editor/document/sample_document_test.h"
#include "editor/document/test_folder_test.h"
#include "editor/document/test_holder_test.h"

namespace {

using Bytes = std::vector<uint8_t>;

std::string TempName(const char* name) {
    return std::string(name) + ".qbx";
}

Bytes ReadBytes(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& file, const Bytes& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void Append(Bytes& b, std::initializer_list<int> values) {
    for (int v : values) b.push_back(static_cast<uint8_t>(v));
}
void AppendInt(Bytes& b, int32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i)));
}
void AppendString(Bytes& b, const std::string& s) {
    AppendInt(b, static_cast<int32_t>(s.size()));
    b.insert(b.end(), s.begin(), s.end());
}

// The settings and fonts of a fresh document at 96 dpi.
Bytes FreshTail() {
    Bytes b;
    Append(b, {99});
    AppendString(b, "Quillory");
    Append(b, {0xEC, 0xE9, 0xD8, 0, 0xFF, 0xFF, 0xFF, 0, 0xFF, 0xFF, 0xFF, 0});
    Append(b, {1, 1, 1, 1, 1, 1, 1});
    Append(b, {0, 0x08, 0, 0, 0x80, 11});
    std::string black = "Arial Black";
    b.insert(b.end(), black.begin(), black.end());
    Append(b, {0, 0x60, 0, 0, 0, 0x12, 0, 0, 0, 0});
    Append(b, {0, 0x08, 0, 0, 0x80, 5});
    std::string arial = "Arial";
    b.insert(b.end(), arial.begin(), arial.end());
    Append(b, {0, 0x60, 0, 0, 0, 0x0B, 0, 0, 0, 0});
    return b;
}

std::vector<int> Tags(const Bytes& file) {
    // Walks the tree part: tags, node records, up to and including 99.
    std::vector<int> tags;
    size_t i = 0;
    auto readString = [&] {
        int32_t n = file[i] | file[i + 1] << 8 | file[i + 2] << 16 | file[i + 3] << 24;
        i += 4 + static_cast<size_t>(n);
    };
    while (i < file.size()) {
        int tag = file[i++];
        tags.push_back(tag);
        if (tag == 99) break;
        if (tag == 2) continue;
        readString();
        int kind = file[i++];
        if (kind) {
            readString();
            readString();
            readString();
        }
        ++i;  // selected
    }
    return tags;
}

TEST(MenuDocument, FreshDocumentGoldenBytes) {
    TTestHolder h;
    std::string file = TempName("fresh");
    ASSERT_TRUE(WriteMenuDocument(h, file));
    EXPECT_EQ(ReadBytes(file), FreshTail());
    std::remove(file.c_str());
}

TEST(MenuDocument, TreeWalkWritesRecordsAndTrailingClimbs) {
    TTestHolder h;
    BuildSample(h);
    std::string file = TempName("sample");
    ASSERT_TRUE(WriteMenuDocument(h, file));
    Bytes bytes = ReadBytes(file);
    EXPECT_EQ(Tags(bytes), (std::vector<int>{0, 0, 1, 1, 0, 2, 2, 1, 0, 2, 2, 99}));

    Bytes head;
    Append(head, {0});
    AppendString(head, "This is a test");
    Append(head, {0, 0, 0});
    AppendString(head, "This is a caption");
    Append(head, {1});
    AppendString(head, "Line one\r\nLine two");
    AppendString(head, "setup.exe");
    AppendString(head, "pics\\a.bmp");
    Append(head, {1});
    ASSERT_GE(bytes.size(), head.size());
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + static_cast<long>(head.size())), head);
    Bytes tail = FreshTail();
    EXPECT_EQ(Bytes(bytes.end() - static_cast<long>(tail.size()), bytes.end()), tail);
    std::remove(file.c_str());
}

TEST(MenuDocument, ReadThenWriteGivesTheSameBytes) {
    TTestHolder source;
    BuildSample(source);
    source.SetMenuSettings([] {
        TMenuSettings s;
        s.Caption = "Meine CD \xFC";
        s.WindowColor = clBtnFace;
        s.Switches = {true, false, true, false, true, false, true};
        return s;
    }());
    source.MainTextFont().SetStyle(TFontStyles{fsBold, fsUnderline});
    std::string first = TempName("first"), second = TempName("second");
    ASSERT_TRUE(WriteMenuDocument(source, first));

    TTestHolder copy;
    ASSERT_TRUE(ReadMenuDocument(copy, first));
    ASSERT_TRUE(WriteMenuDocument(copy, second));
    EXPECT_EQ(ReadBytes(first), ReadBytes(second));
    EXPECT_EQ(copy.MenuTree().Selected()->Text(), "This is a caption");
    EXPECT_EQ(copy.MenuSettings().Caption, "Meine CD \xFC");
    EXPECT_EQ(copy.MenuSettings().WindowColor, clBtnFace);
    std::remove(first.c_str());
    std::remove(second.c_str());
}

TEST(MenuDocument, OpeningReplacesTreeSettingsAndFreesOldRecords) {
    TTestHolder h;
    BuildSample(h);
    TTestHolder other;
    other.AddEntry(other.AddCategory(other.Root(), "Only"), "One", "t", "f", "p");
    std::string file = TempName("replace");
    ASSERT_TRUE(WriteMenuDocument(other, file));

    ASSERT_TRUE(ReadMenuDocument(h, file));
    EXPECT_EQ(h.freed_records, 4);
    EXPECT_EQ(h.MenuTree().Count(), 3);
    EXPECT_EQ(h.Root()->Count(), 1);
    TTreeNode* one = h.Root()->getFirstChild()->getFirstChild();
    EXPECT_EQ(one->ImageIndex(), 1);
    EXPECT_EQ(one->SelectedIndex(), 3);
    auto* entry = static_cast<TEntryData*>(one->Data());
    EXPECT_STREQ(entry->LinkedFile, "f");
    EXPECT_EQ(h.MenuTree().Selected(), h.Root());
    std::remove(file.c_str());
}

TEST(MenuDocument, FontAtOtherDpiKeepsItsPointSize) {
    Bytes b;
    Append(b, {99});
    AppendString(b, "Q");
    Append(b, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1});
    for (int i = 0; i < 2; ++i) {
        Append(b, {0, 0x08, 0, 0, 0x80, 5, 'A', 'r', 'i', 'a', 'l', 0});
        AppendInt(b, 120);
        AppendInt(b, 18);
        Append(b, {0});
    }
    std::string file = TempName("dpi"), out = TempName("dpiout");
    WriteBytes(file, b);
    TTestHolder h;
    ASSERT_TRUE(ReadMenuDocument(h, file));
    EXPECT_EQ(h.CaptionFont().Height(), -24);
    EXPECT_EQ(h.CaptionFont().Size(), 18);
    ASSERT_TRUE(WriteMenuDocument(h, out));
    Bytes written = ReadBytes(out);
    // The first font record now says 96 dpi and 18 pt.
    size_t font = 1 + 4 + 1 + 12 + 7;
    EXPECT_EQ(written[font + 12], 0x60);
    EXPECT_EQ(written[font + 16], 18);
    std::remove(file.c_str());
    std::remove(out.c_str());
}

TEST(MenuDocument, UnknownTagsAreSkippedAndClimbsAboveTheRootIgnored) {
    TTestHolder source;
    BuildSample(source);
    std::string file = TempName("tags");
    ASSERT_TRUE(WriteMenuDocument(source, file));
    Bytes b = ReadBytes(file);
    b.insert(b.begin(), {7, 2, 2});  // unknown tag, then climbs at the root
    WriteBytes(file, b);
    TTestHolder h;
    ASSERT_TRUE(ReadMenuDocument(h, file));
    EXPECT_EQ(h.MenuTree().Count(), source.MenuTree().Count());
    EXPECT_EQ(h.Root()->Count(), 2);
    std::remove(file.c_str());
}

TEST(MenuDocument, EveryTruncationFailsCleanlyAndKeepsTheDocument) {
    TTestHolder source;
    BuildSample(source);
    std::string file = TempName("trunc");
    ASSERT_TRUE(WriteMenuDocument(source, file));
    Bytes full = ReadBytes(file);

    TTestHolder h;
    h.AddEntry(h.AddCategory(h.Root(), "Keep"), "Kept", "body", "file", "pic");
    TMenuSettings settings = h.MenuSettings();
    settings.Caption = "Before";
    h.SetMenuSettings(settings);
    for (size_t n = 0; n < full.size(); ++n) {
        WriteBytes(file, Bytes(full.begin(), full.begin() + static_cast<long>(n)));
        try {
            ReadMenuDocument(h, file);
            ADD_FAILURE() << "truncated at " << n << " was read";
        } catch (const EInOutError& e) {
            // As reading past the end of any file, with its code and message.
            EXPECT_EQ(e.ErrorCode, 100) << "truncated at " << n;
            EXPECT_EQ(e.Message(), InOutErrorMessage(100)) << "truncated at " << n;
        }
        ASSERT_EQ(h.MenuTree().Count(), 3) << n;
        EXPECT_EQ(h.Root()->getFirstChild()->Text(), "Keep");
        EXPECT_EQ(h.MenuSettings().Caption, "Before");
        EXPECT_EQ(h.CaptionFont().Name(), "Arial Black");
    }
    EXPECT_EQ(h.freed_records, 0);
    std::remove(file.c_str());
}

TEST(MenuDocument, DamagedDocumentsAreRejected) {
    auto expectRejected = [](const Bytes& b, const char* what) {
        std::string file = TempName("damaged");
        WriteBytes(file, b);
        TTestHolder h;
        EXPECT_THROW(ReadMenuDocument(h, file), EInOutError) << what;
        EXPECT_EQ(h.MenuTree().Count(), 1) << what;
        std::remove(file.c_str());
    };
    Bytes tail = FreshTail();

    Bytes sibling;  // a sibling of the root
    Append(sibling, {1});
    AppendString(sibling, "x");
    Append(sibling, {0, 0});
    sibling.insert(sibling.end(), tail.begin(), tail.end());
    expectRejected(sibling, "sibling of the root");

    Bytes negative;
    Append(negative, {0});
    AppendInt(negative, -5);
    negative.insert(negative.end(), tail.begin(), tail.end());
    expectRejected(negative, "negative node text length");

    Bytes huge;
    Append(huge, {0});
    AppendInt(huge, 0x7FFFFFFF);
    huge.insert(huge.end(), tail.begin(), tail.end());
    expectRejected(huge, "node text beyond the end");

    Bytes entry;
    Append(entry, {0});
    AppendString(entry, "cat");
    Append(entry, {0, 0, 0});
    AppendString(entry, "e");
    Append(entry, {1});
    AppendInt(entry, 1000);  // entry text beyond the end
    entry.insert(entry.end(), tail.begin(), tail.end());
    expectRejected(entry, "entry string beyond the end");
}

TEST(MenuDocument, ReadsFromAnOffsetAndRejectsOffsetsOutsideTheFile) {
    TTestHolder source;
    BuildSample(source);
    std::string doc = TempName("doc"), exe = TempName("exe");
    ASSERT_TRUE(WriteMenuDocument(source, doc));
    Bytes image(3000, 0x4D);
    image[0] = 99;  // parsed from byte 0, the image would end the tree at once
    Bytes document = ReadBytes(doc);
    Bytes combined = document;
    combined.insert(combined.begin(), image.begin(), image.end());
    combined.insert(combined.end(), {'S', 'I', 'G', 1, 2, 3});  // trailing bytes are never read
    WriteBytes(exe, combined);

    TTestHolder h;
    ASSERT_TRUE(ReadMenuDocument(h, exe, 3000));
    EXPECT_EQ(h.MenuTree().Count(), source.MenuTree().Count());
    TTestHolder beyond;
    EXPECT_THROW(ReadMenuDocument(beyond, exe, static_cast<int64_t>(combined.size()) + 1), EInOutError);
    EXPECT_THROW(ReadMenuDocument(beyond, exe, -1), EInOutError);
    EXPECT_EQ(beyond.MenuTree().Count(), 1);
    std::remove(doc.c_str());
    std::remove(exe.c_str());
}

TEST(MenuDocument, RelativePathsChangeOnlyTheLinkedPaths) {
    TTestHolder h;
    BuildSample(h);
    std::string plain = TempName("plain"), relative = TempName("relative");
    ASSERT_TRUE(WriteMenuDocument(h, plain));
    ASSERT_TRUE(WriteMenuDocument(h, relative, "C:\\CD\\menu.exe"));
    Bytes a = ReadBytes(plain), b = ReadBytes(relative);
    std::string sa(a.begin(), a.end()), sb(b.begin(), b.end());
    EXPECT_NE(sa.find("C:\\CD\\docs\\deep.txt"), std::string::npos);
    EXPECT_EQ(sb.find("C:\\CD\\docs\\deep.txt"), std::string::npos);
    EXPECT_NE(sb.find("docs\\deep.txt"), std::string::npos);
    EXPECT_NE(sb.find("pics\\b.jpg"), std::string::npos);
    EXPECT_EQ(a.size() - b.size(), 2 * std::string("C:\\CD\\").size());
    // The tree keeps its own paths.
    TTreeNode* deep = h.Root()->getFirstChild()->Item(2)->getFirstChild();
    EXPECT_STREQ(static_cast<TEntryData*>(deep->Data())->LinkedFile, "C:\\CD\\docs\\deep.txt");
    std::remove(plain.c_str());
    std::remove(relative.c_str());
}

TEST(MenuDocument, APendingResultFromElsewhereSpoilsNeitherSaveNorOpen) {
    TTestFolder folder("pending_result");
    std::string file = folder.Path("doc.qbx");
    TTestHolder h;
    ASSERT_TRUE(WriteMenuDocument(h, file));
    InOutRes = 5;  // left by some earlier, unchecked file operation
    EXPECT_TRUE(WriteMenuDocument(h, file));
    EXPECT_EQ(ReadBytes(file), FreshTail());
    EXPECT_EQ(IOResult(), 0);
    EXPECT_EQ(FolderContents(folder.Name()), std::vector<std::string>{"doc.qbx"});

    TTestHolder opened;
    opened.AddCategory(opened.Root(), "Replaced");
    InOutRes = 5;
    EXPECT_TRUE(ReadMenuDocument(opened, file));
    EXPECT_EQ(opened.MenuTree().Count(), 1);
    EXPECT_EQ(IOResult(), 0);
}

TEST(MenuDocument, SavingOverADocumentReplacesItWholeAndLeavesNothingBeside) {
    TTestFolder folder("save_over");
    std::string file = folder.Path("doc.qbx");
    TTestHolder sample;
    BuildSample(sample);
    ASSERT_TRUE(WriteMenuDocument(sample, file));
    Bytes long_document = ReadBytes(file);
    TTestHolder fresh;
    ASSERT_TRUE(WriteMenuDocument(fresh, file));
    EXPECT_EQ(ReadBytes(file), FreshTail());  // no rest of the longer one
    ASSERT_TRUE(WriteMenuDocument(sample, file));
    EXPECT_EQ(ReadBytes(file), long_document);
    EXPECT_EQ(FolderContents(folder.Name()), std::vector<std::string>{"doc.qbx"});
}

TEST(MenuDocument, ASaveThatCannotStartChangesNothing) {
    TTestFolder folder("save_refused");
    TTestHolder h;
    BuildSample(h);
    // The folder is gone.
    EXPECT_FALSE(WriteMenuDocument(h, folder.Path("gone/doc.qbx")));
    EXPECT_FALSE(DirectoryExists(folder.Path("gone")));
    // The name is a folder's.
    std::filesystem::create_directory(folder.Path("taken"));
    EXPECT_FALSE(WriteMenuDocument(h, folder.Path("taken")));
    EXPECT_TRUE(std::filesystem::is_directory(folder.Path("taken")));
    EXPECT_FALSE(WriteMenuDocument(h, ""));
    EXPECT_EQ(FolderContents(folder.Name()), std::vector<std::string>{"taken"});
    EXPECT_EQ(IOResult(), 0);
}

// A document whose two font records carry the given pitch and style bytes
// and the given face name.
Bytes DocumentWithFonts(int pitch, int style, const std::string& name = "Arial") {
    Bytes b;
    Append(b, {99});
    AppendString(b, "Q");
    Append(b, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1});
    for (int i = 0; i < 2; ++i) {
        Append(b, {0, 0x08, 0, 0, 0x80, static_cast<int>(name.size())});
        b.insert(b.end(), name.begin(), name.end());
        Append(b, {pitch});
        AppendInt(b, 96);
        AppendInt(b, 11);
        Append(b, {style});
    }
    return b;
}

TEST(FontRecord, UnknownPitchesReadAsTheDefaultPitch) {
    std::string file = TempName("pitch"), out = TempName("pitchout");
    for (int pitch : {3, 7, 0x80, 0xFF}) {
        WriteBytes(file, DocumentWithFonts(pitch, 0));
        TTestHolder h;
        ASSERT_TRUE(ReadMenuDocument(h, file));
        EXPECT_EQ(h.CaptionFont().Pitch(), fpDefault) << pitch;
        EXPECT_EQ(h.MainTextFont().Pitch(), fpDefault) << pitch;
        ASSERT_TRUE(WriteMenuDocument(h, out));
        EXPECT_EQ(ReadBytes(out), DocumentWithFonts(0, 0)) << pitch;
    }
    for (int pitch : {fpVariable, fpFixed}) {  // known pitches stay
        WriteBytes(file, DocumentWithFonts(pitch, 0));
        TTestHolder h;
        ASSERT_TRUE(ReadMenuDocument(h, file));
        EXPECT_EQ(h.CaptionFont().Pitch(), pitch);
        ASSERT_TRUE(WriteMenuDocument(h, out));
        EXPECT_EQ(ReadBytes(out), DocumentWithFonts(pitch, 0));
    }
    std::remove(file.c_str());
    std::remove(out.c_str());
}

TEST(FontRecord, StyleBitsBeyondTheFourStylesAreDropped) {
    std::string file = TempName("style"), out = TempName("styleout");
    for (int style : {0xF0, 0xF5, 0xFF, 0x1A}) {
        WriteBytes(file, DocumentWithFonts(0, style));
        TTestHolder h;
        ASSERT_TRUE(ReadMenuDocument(h, file));
        EXPECT_EQ(h.CaptionFont().Style().Bits(), static_cast<uint32_t>(style & 0x0F)) << style;
        ASSERT_TRUE(WriteMenuDocument(h, out));
        EXPECT_EQ(ReadBytes(out), DocumentWithFonts(0, style & 0x0F)) << style;
    }
    std::remove(file.c_str());
    std::remove(out.c_str());
}

TEST(FontRecord, FaceNamesAreCutTo255Bytes) {
    std::string file = TempName("face");
    std::string longName;
    for (int i = 0; i < 300; ++i) longName += static_cast<char>('A' + i % 26);
    for (size_t length : {255u, 256u, 300u}) {
        TTestHolder h;
        h.CaptionFont().SetName(longName.substr(0, length));
        h.MainTextFont().SetName(longName.substr(0, length));
        TMenuSettings settings = h.MenuSettings();
        settings.Caption = "Q";
        settings.WindowColor = settings.PageColor = settings.TreeColor = 0;
        h.SetMenuSettings(settings);
        h.CaptionFont().SetHeight(-15);
        ASSERT_TRUE(WriteMenuDocument(h, file));
        EXPECT_EQ(ReadBytes(file), DocumentWithFonts(0, 0, longName.substr(0, 255))) << length;
        TTestHolder back;
        ASSERT_TRUE(ReadMenuDocument(back, file));
        EXPECT_EQ(back.CaptionFont().Name(), longName.substr(0, 255));
        EXPECT_EQ(back.MainTextFont().Name(), longName.substr(0, 255));
    }
    std::remove(file.c_str());
}

}  // namespace
