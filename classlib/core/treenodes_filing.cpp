#include "classlib/core/treenodes.h"

#include "classlib/core/exceptions.h"
#include "classlib/core/filer.h"
#include "classlib/core/resstrings.h"
#include "classlib/core/scope_exit.h"
#include "classlib/core/stream_errors.h"
#include "classlib/core/stream_fields.h"
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

TNodeRecord ReadRecord(TStream& stream) {
    int32_t size = ReadLittleEndian<int32_t>(stream);
    if (size < kRecordFixed || size > kRecordMax) RaiseInvalidImage();
    uint8_t buffer[kRecordMax];
    stream.ReadBuffer(buffer, size);
    TNodeRecord r;
    r.ImageIndex = GetLittleEndian<int32_t>(buffer);
    r.SelectedIndex = GetLittleEndian<int32_t>(buffer + 4);
    r.StateIndex = GetLittleEndian<int32_t>(buffer + 8);
    r.OverlayIndex = GetLittleEndian<int32_t>(buffer + 12);
    // buffer + 16 holds the data pointer of the writing program: meaningless here.
    r.Count = GetLittleEndian<int32_t>(buffer + 20);
    int32_t length = buffer[24];
    // Bytes past the text are slack of a fixed-size record; a text running
    // past the record is damage.
    if (r.Count < 0 || kRecordFixed + length > size) RaiseInvalidImage();
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
    AppendLittleEndian<int32_t>(out, static_cast<int32_t>(root_->children_.size()));
    for (const TTreeNode* node = GetFirstNode(); node; node = node->GetNext()) {
        const std::string& text = node->Text();
        if (text.size() > 255) throw EWriteError(Format(kTextTooLong, {text.substr(0, 32)}));
        AppendLittleEndian<int32_t>(out, kRecordFixed + static_cast<int32_t>(text.size()));
        AppendLittleEndian<int32_t>(out, node->ImageIndex());
        AppendLittleEndian<int32_t>(out, node->SelectedIndex());
        AppendLittleEndian<int32_t>(out, node->StateIndex());
        AppendLittleEndian<int32_t>(out, node->OverlayIndex());
        AppendLittleEndian<int32_t>(out, 0);
        AppendLittleEndian<int32_t>(out, node->Count());
        out += static_cast<char>(text.size());
        out += text;
    }
    stream.WriteBuffer(out.data(), static_cast<int32_t>(out.size()));
}

void TTreeNodes::ReadData(TStream& stream) {
    // Every record is read and checked before the tree changes. Each takes
    // at least 29 bytes, so counts cannot outrun the stream.
    std::vector<TNodeRecord> records;
    int32_t topCount = ReadLittleEndian<int32_t>(stream);
    if (topCount < 0) RaiseInvalidImage();
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
