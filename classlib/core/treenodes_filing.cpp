#include "classlib/core/treenodes.h"

#include "classlib/core/exceptions.h"
#include "classlib/core/filer.h"
#include "classlib/core/resstrings.h"
#include "classlib/core/scope_exit.h"
#include "classlib/core/streams.h"
#include "classlib/core/strutils.h"

// Layout data: an int32 count of top-level nodes, then per node in
// pre-order an int32 record size (the bytes that follow up to the end of
// the text), ImageIndex, SelectedIndex, StateIndex, OverlayIndex, Data
// (always 0) and the child count as int32, and the text as a short string.
// All integers little-endian.
namespace {

const char* const kTextTooLong = "Knotentext l\xE4nger als 255 Zeichen: '%s...'";

constexpr int32_t kRecordFixed = 6 * 4 + 1;  // six integers and the length byte
constexpr int32_t kRecordMax = kRecordFixed + 255;

struct TNodeRecord {
    int32_t ImageIndex, SelectedIndex, StateIndex, OverlayIndex, Count;
    std::string Text;
};

void PutInt32(std::string& out, int32_t value) {
    uint32_t v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

int32_t GetInt32(const uint8_t* p) {
    return static_cast<int32_t>(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
}

int32_t ReadInt32(TStream& stream) {
    uint8_t bytes[4];
    stream.ReadBuffer(bytes, 4);
    return GetInt32(bytes);
}

[[noreturn]] void RaiseBadNodeData() {
    throw EReadError(LoadStr(SInvalidImage));
}

TNodeRecord ReadRecord(TStream& stream) {
    int32_t size = ReadInt32(stream);
    if (size < kRecordFixed || size > kRecordMax) RaiseBadNodeData();
    uint8_t buffer[kRecordMax];
    stream.ReadBuffer(buffer, size);
    TNodeRecord r;
    r.ImageIndex = GetInt32(buffer);
    r.SelectedIndex = GetInt32(buffer + 4);
    r.StateIndex = GetInt32(buffer + 8);
    r.OverlayIndex = GetInt32(buffer + 12);
    // buffer + 16 holds the data pointer of the writing program: meaningless here.
    r.Count = GetInt32(buffer + 20);
    int32_t length = buffer[24];
    // Bytes past the text are slack of a fixed-size record; a text running
    // past the record is damage.
    if (r.Count < 0 || kRecordFixed + length > size) RaiseBadNodeData();
    r.Text.assign(reinterpret_cast<const char*>(buffer + kRecordFixed), static_cast<size_t>(length));
    return r;
}

}  // namespace

void TTreeNodes::DefineProperties(TFiler* filer) {
    TPersistent::DefineProperties(filer);
    filer->DefineBinaryProperty(
        "Data", [this](TStream* stream) { ReadData(*stream); }, [this](TStream* stream) { WriteData(*stream); },
        Count() > 0);
}

void TTreeNodes::WriteData(TStream& stream) const {
    std::string out;
    PutInt32(out, static_cast<int32_t>(root_->children_.size()));
    for (const TTreeNode* node = GetFirstNode(); node; node = node->GetNext()) {
        const std::string& text = node->Text();
        if (text.size() > 255) throw EWriteError(Format(kTextTooLong, {text.substr(0, 32)}));
        PutInt32(out, kRecordFixed + static_cast<int32_t>(text.size()));
        PutInt32(out, node->ImageIndex());
        PutInt32(out, node->SelectedIndex());
        PutInt32(out, node->StateIndex());
        PutInt32(out, node->OverlayIndex());
        PutInt32(out, 0);
        PutInt32(out, node->Count());
        out += static_cast<char>(text.size());
        out += text;
    }
    stream.WriteBuffer(out.data(), static_cast<int32_t>(out.size()));
}

void TTreeNodes::ReadData(TStream& stream) {
    // Every record is read and checked before the tree changes. Each takes
    // at least 29 bytes, so counts cannot outrun the stream.
    std::vector<TNodeRecord> records;
    int32_t topCount = ReadInt32(stream);
    if (topCount < 0) RaiseBadNodeData();
    std::vector<int32_t> pending{topCount};
    while (!pending.empty()) {
        if (pending.back() == 0) {
            pending.pop_back();
            continue;
        }
        --pending.back();
        records.push_back(ReadRecord(stream));
        pending.push_back(records.back().Count);
    }

    WhileUpdating(*this, [&] {
        Clear();
        std::vector<std::pair<TTreeNode*, int32_t>> parents{{nullptr, topCount}};
        for (const TNodeRecord& r : records) {
            while (parents.back().second == 0) parents.pop_back();
            --parents.back().second;
            TTreeNode* node = AddChild(parents.back().first, r.Text);
            node->SetImageIndex(r.ImageIndex);
            node->SetSelectedIndex(r.SelectedIndex);
            node->SetStateIndex(r.StateIndex);
            node->SetOverlayIndex(r.OverlayIndex);
            parents.emplace_back(node, r.Count);
        }
    });
}
