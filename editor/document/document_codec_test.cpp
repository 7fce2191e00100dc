// The document value read from and written to bytes, and bound to a holder.
#include "editor/document/document_codec.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "classlib/core/exceptions.h"
#include "classlib/core/fileutils.h"
#include "classlib/core/io_result.h"
#include "classlib/core/resstrings.h"
#include "editor/document/document_binding.h"
#include "editor/document/sample_document_test.h"
#include "editor/document/test_holder_test.h"

namespace {

namespace fs = std::filesystem;

// Makes documents of every shape from a seed: trees that climb any number
// of levels at once, strings of any bytes (long ones too), any kind byte,
// and settings and fonts of any value the file can hold.
class TDocumentMaker {
public:
    explicit TDocumentMaker(uint32_t seed) : random_(seed) {}

    // holderSafe: only what a holder keeps as it is (texts without zero
    // bytes, known pitches and styles, font names not empty).
    TMenuDocument Make(bool holderSafe = false) {
        holder_safe_ = holderSafe;
        TMenuDocument doc;
        const int count = Pick(0, 4) == 0 ? 0 : Pick(1, 60);
        int level = 0;
        for (int i = 0; i < count; ++i) {
            TDocumentNode node;
            node.Level = level == 0 ? 1 : Pick(0, 3) == 0 ? level + 1 : Pick(1, level + 1);
            level = node.Level;
            node.Text = Text();
            const uint8_t kinds[] = {0, 1, 1, 1, 2, 255};
            node.Kind = kinds[Pick(0, 5)];
            if (node.IsEntry()) {
                node.EntryText = Pick(0, 40) == 0 ? std::string(70000 + Pick(0, 99), 'x') : Text();
                node.LinkedFile = Text();
                node.LinkedPicture = Text();
            }
            doc.Nodes.push_back(node);
        }
        doc.Selected = count == 0 || Pick(0, 3) == 0 ? -1 : Pick(0, count - 1);
        doc.Settings.Caption = Text();
        doc.Settings.WindowColor = Int();
        doc.Settings.PageColor = Int();
        doc.Settings.TreeColor = Int();
        for (bool& on : doc.Settings.Switches) on = Pick(0, 1) == 1;
        doc.CaptionFont = Font();
        doc.MainTextFont = Font();
        return doc;
    }

private:
    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    int32_t Int() { return static_cast<int32_t>(random_()); }
    uint8_t Byte() { return static_cast<uint8_t>(Pick(holder_safe_ ? 1 : 0, 255)); }

    std::string Text(int longest = 20) {
        std::string text(static_cast<size_t>(Pick(0, longest)), '\0');
        for (char& c : text) c = static_cast<char>(Pick(0, 3) == 0 ? Byte() : Pick('a', 'z'));
        return text;
    }

    TFontRecord Font() {
        TFontRecord font;
        font.Charset = static_cast<uint8_t>(Pick(0, 255));
        font.Color = Int();
        font.Name = Text(holder_safe_ ? 40 : 255);
        if (holder_safe_ && font.Name.empty()) font.Name = "Arial";
        font.Pitch = static_cast<uint8_t>(holder_safe_ ? Pick(0, 2) : Pick(0, 255));
        font.PixelsPerInch = holder_safe_ ? ScreenPixelsPerInch() : Int();
        font.Size = holder_safe_ ? Pick(1, 200) : Int();
        font.Style = static_cast<uint8_t>(holder_safe_ ? Pick(0, 15) : Pick(0, 255));
        return font;
    }

    std::mt19937 random_;
    bool holder_safe_ = false;
};

std::string ReadFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The source tree's folder; the tests run from build/<kind>/bin.
fs::path SourceFolder() {
    return fs::path(ParamStr(0)).parent_path() / ".." / ".." / "..";
}

int RaisedCode(std::string_view bytes, std::string* message) {
    try {
        ParseMenuDocument(bytes);
    } catch (const EInOutError& e) {
        *message = e.Message();
        return e.ErrorCode;
    }
    return 0;
}

}  // namespace

TEST(DocumentCodec, GeneratedDocumentsReadBackAsThemselvesAndWriteTheSameBytes) {
    for (uint32_t seed = 1; seed <= 400; ++seed) {
        const TMenuDocument doc = TDocumentMaker(seed).Make();
        const std::string bytes = SerialiseMenuDocument(doc);
        const TMenuDocument read = ParseMenuDocument(bytes);
        ASSERT_EQ(read, doc) << "seed " << seed;
        ASSERT_EQ(SerialiseMenuDocument(read), bytes) << "seed " << seed;
        // Made in pieces, the same bytes: with one-byte pieces, each node
        // ends one, and the rest of the document makes the last.
        for (size_t pieceBytes : {size_t{1}, size_t{100}}) {
            std::string joined;
            size_t pieces = 0;
            SerialiseMenuDocument(doc, [&](std::string_view piece) {
                joined += piece;
                ++pieces;
            }, pieceBytes);
            ASSERT_EQ(joined, bytes) << "seed " << seed << ", pieces of " << pieceBytes;
            if (pieceBytes == 1) {
                ASSERT_EQ(pieces, doc.Nodes.size() + 1) << "seed " << seed;
            }
        }
        // What follows the document (as in a menu executable) is not read.
        ASSERT_EQ(ParseMenuDocument(bytes + std::string("\x63\x00tail", 6)), doc) << "seed " << seed;
    }
}

TEST(DocumentCodec, EveryDocumentFileOfTheTestsWritesBackByteForByte) {
    const fs::path source = SourceFolder();
    std::vector<std::pair<fs::path, size_t>> files{{source / "samples" / "Sample.qbx", 0}};
    for (const char* folder : {"document", "document_offset"})
        for (const auto& item : fs::directory_iterator(source / "fuzz" / "corpus" / folder))
            files.emplace_back(item.path(), std::string(folder) == "document_offset" ? 2 : 0);
    ASSERT_GE(files.size(), 6u) << source;
    for (const auto& [file, prefix] : files) {
        std::string bytes = ReadFile(file);
        ASSERT_GT(bytes.size(), prefix) << file;
        size_t offset = prefix;
        if (prefix) offset += static_cast<uint8_t>(bytes[0]) | static_cast<uint8_t>(bytes[1]) << 8;
        const std::string document = bytes.substr(offset);
        EXPECT_EQ(SerialiseMenuDocument(ParseMenuDocument(document)), document) << file;
    }
}

// The tree ends after any byte 99 read in it, a node's selected byte too:
// that node is the last, and selected, and the settings follow it directly.
TEST(DocumentCodec, ANodeWhoseSelectedByteIs99EndsTheTree) {
    TMenuDocument stored;
    stored.Settings.Caption = "Ends early";
    const std::string settings = SerialiseMenuDocument(stored).substr(1);  // behind the end tag
    const std::string node("\x00\x01\x00\x00\x00" "A" "\x00" "\x63", 8);  // tag 0, "A", category, 99
    TMenuDocument expected = stored;
    expected.Nodes.push_back({1, "A", 0, "", "", ""});
    expected.Selected = 0;
    EXPECT_EQ(ParseMenuDocument(node + settings), expected);
    // What would be the next step is read as the caption.
    std::string message;
    EXPECT_EQ(RaisedCode(node + std::string("\x01\x01\x00\x00\x00" "B" "\x00\x00", 8) + settings, &message), 100);
}

TEST(DocumentCodec, ApplyingThenCapturingGivesTheDocumentBack) {
    for (uint32_t seed = 1; seed <= 100; ++seed) {
        const TMenuDocument doc = TDocumentMaker(seed).Make(true);
        TTestHolder holder;
        BuildSample(holder);  // replaced whole
        ApplyMenuDocument(holder, doc);
        ASSERT_EQ(CaptureMenuDocument(holder), doc) << "seed " << seed;
        ASSERT_EQ(holder.freed_records, 4);
    }
}

TEST(DocumentCodec, AHolderKeepsOnlyWhatItsFontsAndRecordsCanHold) {
    TMenuDocument doc;
    doc.Nodes.push_back({1, "Category", 0, "", "", ""});
    doc.Nodes.push_back({2, "Entry", 1, std::string("two\0parts", 9), "setup.exe", ""});
    doc.CaptionFont.Pitch = 7;
    doc.CaptionFont.Style = 0xF5;
    doc.CaptionFont.PixelsPerInch = ScreenPixelsPerInch() * 5 / 4;
    TTestHolder holder;
    ApplyMenuDocument(holder, doc);
    const TMenuDocument held = CaptureMenuDocument(holder);
    EXPECT_EQ(held.Nodes[1].EntryText, "two");  // the record's text ends at a zero byte
    EXPECT_EQ(held.CaptionFont.Pitch, 0);
    EXPECT_EQ(held.CaptionFont.Style, 0x05);
    EXPECT_EQ(held.CaptionFont.PixelsPerInch, ScreenPixelsPerInch());
    EXPECT_EQ(held.CaptionFont.Size, doc.CaptionFont.Size);  // the point size stays
}

TEST(DocumentCodec, EveryCutOfADocumentFailsAsReadingPastTheEndOfAFile) {
    TTestHolder sample;
    BuildSample(sample);
    const std::string bytes = SerialiseMenuDocument(CaptureMenuDocument(sample));
    InOutRes = 5;  // pending from elsewhere: parsing neither raises nor clears it
    for (size_t n = 0; n < bytes.size(); ++n) {
        std::string message;
        ASSERT_EQ(RaisedCode(std::string_view(bytes).substr(0, n), &message), 100) << "cut at " << n;
        ASSERT_EQ(message, LoadStr(SEndOfFile)) << "cut at " << n;
    }
    EXPECT_EQ(IOResult(), 5);
}

TEST(DocumentCodec, DamagedTreesAreRejectedWithTheirOwnMessages) {
    const std::string tail = SerialiseMenuDocument(TMenuDocument{});  // 99, settings, fonts
    std::string message;
    // A node beside the root.
    EXPECT_EQ(RaisedCode(std::string("\x01\x01\x00\x00\x00x\x00\x00", 8) + tail, &message), 100);
    EXPECT_EQ(message, LoadStr(SInvalidImage));
    // A negative string length.
    EXPECT_EQ(RaisedCode(std::string("\x00\xFB\xFF\xFF\xFF", 5) + tail, &message), 100);
    EXPECT_EQ(message, LoadStr(SEndOfFile));
    // A node text longer than the rest.
    EXPECT_EQ(RaisedCode(std::string("\x00\xFF\xFF\xFF\x7F", 5) + tail, &message), 100);
    EXPECT_EQ(message, LoadStr(SEndOfFile));
}

TEST(DocumentCodec, UnknownTagsAndClimbsAboveTheRootAreSkipped) {
    TTestHolder sample;
    BuildSample(sample);
    const TMenuDocument doc = CaptureMenuDocument(sample);
    const std::string bytes = SerialiseMenuDocument(doc);
    EXPECT_EQ(ParseMenuDocument("\x07\x02\x02" + bytes), doc);
    // A document that ends cleanly inside its tree fails at the caption.
    TMenuDocument noTree = doc;
    noTree.Nodes.clear();
    noTree.Selected = -1;
    const size_t treeBytes = bytes.size() - SerialiseMenuDocument(noTree).size();
    std::string message;
    EXPECT_EQ(RaisedCode(bytes.substr(0, treeBytes), &message), 100);
    EXPECT_EQ(message, LoadStr(SEndOfFile));
}
