#include <gtest/gtest.h>

#include "classlib/core/exceptions.h"
#include "classlib/core/filer.h"
#include "classlib/core/streams.h"
#include "classlib/core/treenodes.h"

namespace {

// Little-endian record bytes as a layout carries them.
struct TBytes {
    std::string s;
    TBytes& Int(int32_t v) {
        for (int i = 0; i < 4; ++i) s += static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF);
        return *this;
    }
    TBytes& Node(const std::string& text, int32_t children, int32_t image = 0, int32_t selected = 0,
                 int32_t state = -1, int32_t overlay = -1, int32_t slack = 0, int32_t data = 0) {
        Int(25 + static_cast<int32_t>(text.size()) + slack).Int(image).Int(selected).Int(state).Int(overlay);
        Int(data).Int(children);
        s += static_cast<char>(text.size());
        s += text;
        s.append(static_cast<size_t>(slack), '\xAA');
        return *this;
    }
};

std::string Written(const TTreeNodes& nodes) {
    TStringStream stream;
    nodes.WriteData(stream);
    return stream.DataString();
}

void ReadFrom(TTreeNodes& nodes, const std::string& bytes) {
    TStringStream stream(bytes);
    nodes.ReadData(stream);
}

std::string Outline(const TTreeNodes& nodes) {
    std::string s;
    for (const TTreeNode* n = nodes.GetFirstNode(); n; n = n->GetNext())
        s += std::string(static_cast<size_t>(n->Level()), '.') + n->Text() + "|";
    return s;
}

// A filer that only records the binary definitions.
class TDefinitionFiler : public TFiler {
public:
    using TFiler::TFiler;
    std::string Name;
    bool HasData = false;
    TStreamProc ReadProc, WriteProc;

    void DefineProperty(const std::string&, TReaderProc, TWriterProc, bool) override {}
    void DefineBinaryProperty(const std::string& name, TStreamProc read, TStreamProc write, bool hasData) override {
        Name = name;
        ReadProc = std::move(read);
        WriteProc = std::move(write);
        HasData = hasData;
    }
};

TOwned<TTreeNodes> Sample() {
    TOwned<TTreeNodes> nodes = MakeOwned<TTreeNodes>();
    TTreeNode* a = nodes->Add(nullptr, "a");
    a->SetImageIndex(1);
    a->SetSelectedIndex(2);
    TTreeNode* a1 = nodes->AddChild(a, "\xDC" "ber");
    a1->SetStateIndex(3);
    a1->SetOverlayIndex(4);
    static int data = 0;
    a1->SetData(&data);  // never filed
    nodes->Add(nullptr, "");
    return nodes;
}

TEST(TreeNodesFiling, RecordLayout) {
    std::string expected = TBytes()
                               .Int(2)
                               .Node("a", 1, 1, 2)
                               .Node("\xDC" "ber", 0, 0, 0, 3, 4)
                               .Node("", 0)
                               .s;
    EXPECT_EQ(Written(*Sample()), expected);
    EXPECT_EQ(Written(*MakeOwned<TTreeNodes>()), TBytes().Int(0).s);
}

TEST(TreeNodesFiling, RoundTrip) {
    TOwned<TTreeNodes> source = Sample();
    source->AddChild(source->Item(2), std::string(255, 'x'));
    std::string bytes = Written(*source);

    TOwned<TTreeNodes> copy = MakeOwned<TTreeNodes>();
    copy->Add(nullptr, "old");
    ReadFrom(*copy, bytes);
    EXPECT_EQ(Outline(*copy), "a|.\xDC" "ber||." + std::string(255, 'x') + "|");
    EXPECT_EQ(copy->Item(0)->ImageIndex(), 1);
    EXPECT_EQ(copy->Item(0)->SelectedIndex(), 2);
    EXPECT_EQ(copy->Item(1)->StateIndex(), 3);
    EXPECT_EQ(copy->Item(1)->OverlayIndex(), 4);
    EXPECT_EQ(copy->Item(1)->Data(), nullptr);
    EXPECT_EQ(Written(*copy), bytes);

    // Slack after a text (records of fixed size) and stored pointers are
    // ignored.
    ReadFrom(*copy, TBytes().Int(1).Node("a", 1, 0, 0, -1, -1, 7, 0x12345678).Node("b", 0).s);
    EXPECT_EQ(Outline(*copy), "a|.b|");
    EXPECT_EQ(copy->Item(0)->Data(), nullptr);
}

TEST(TreeNodesFiling, DamagedDataChangesNothing) {
    const std::string good = Written(*Sample());
    auto record = [](int32_t size) {
        TBytes b;
        b.Int(1).Int(size).Int(0).Int(0).Int(-1).Int(-1).Int(0).Int(0);
        b.s += '\x03';
        b.s += "abc";
        return b.s;
    };
    std::vector<std::string> damaged = {
        TBytes().Int(-1).s,                   // negative top-level count
        TBytes().Int(1).Node("a", -2).s,      // negative child count
        TBytes().Int(1).Node("a", 5).s,       // children missing
        TBytes().Int(2).Node("a", 0).s,       // sibling missing
        TBytes().Int(INT32_MAX).Node("a", 0).s,
        record(24),                           // shorter than the fixed part
        record(27),                           // text runs past the record
        record(281),                          // longer than any record
        record(-1),
    };
    for (size_t n = 0; n < good.size(); ++n) damaged.push_back(good.substr(0, n));

    for (const std::string& bytes : damaged) {
        TOwned<TTreeNodes> nodes = Sample();
        EXPECT_THROW(ReadFrom(*nodes, bytes), EReadError) << bytes.size();
        EXPECT_EQ(Written(*nodes), good);
    }
}

TEST(TreeNodesFiling, OverlongTextsAreNotCutShort) {
    TOwned<TTreeNodes> nodes = Sample();
    nodes->Add(nullptr, std::string(256, 'x'));
    TStringStream stream;
    EXPECT_THROW(nodes->WriteData(stream), EWriteError);
    EXPECT_EQ(stream.Size(), 0) << "nothing half-written";
}

TEST(TreeNodesFiling, DefinesDataWhenThereAreNodes) {
    TStringStream unused;
    TOwned<TTreeNodes> empty = MakeOwned<TTreeNodes>();
    TDefinitionFiler filer(unused);
    empty->DefineProperties(&filer);
    EXPECT_EQ(filer.Name, "Data");
    EXPECT_FALSE(filer.HasData);

    TOwned<TTreeNodes> nodes = Sample();
    nodes->DefineProperties(&filer);
    EXPECT_TRUE(filer.HasData);
    TStringStream stream;
    filer.WriteProc(&stream);
    EXPECT_EQ(stream.DataString(), Written(*nodes));

    stream.SetPosition(0);
    TDefinitionFiler reader(unused);
    empty->DefineProperties(&reader);
    reader.ReadProc(&stream);
    EXPECT_EQ(Outline(*empty), Outline(*nodes));
}

}  // namespace
