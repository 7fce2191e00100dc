#include <algorithm>
#include <cstdint>

#include "editor/document/block_string.h"
#include "editor/document/byte_fields.h"
#include "editor/document/document_codec.h"

namespace {

void WriteNode(TByteWriter& out, const TDocumentNode& node, bool selected) {
    WriteBlockString(out, node.Text);
    out.Put<uint8_t>(node.Kind);
    if (node.IsEntry()) {
        WriteBlockString(out, node.EntryText);
        WriteBlockString(out, node.LinkedFile);
        WriteBlockString(out, node.LinkedPicture);
    }
    out.Put<uint8_t>(selected ? 1 : 0);
}

// Pre-order with one step per node: tag 0 for a first child; else one tag
// 2 for each level climbed, then tag 1 for the next sibling. The last node
// climbs back to the root, which writes one tag 2 per level it lies below.
void WriteTree(TByteWriter& out, const TMenuDocument& doc) {
    int level = 0;
    for (size_t i = 0; i < doc.Nodes.size(); ++i) {
        const TDocumentNode& node = doc.Nodes[i];
        const int next = std::clamp(node.Level, 1, level + 1);
        if (next > level) {
            out.Put<uint8_t>(TagFirstChild);
        } else {
            for (; level > next; --level) out.Put<uint8_t>(TagParent);
            out.Put<uint8_t>(TagNextSibling);
        }
        WriteNode(out, node, static_cast<int>(i) == doc.Selected);
        level = next;
    }
    for (; level > 0; --level) out.Put<uint8_t>(TagParent);
}

}  // namespace

std::string SerialiseMenuDocument(const TMenuDocument& doc) {
    TByteWriter out;
    WriteTree(out, doc);
    const TMenuSettings& s = doc.Settings;
    out.Put<uint8_t>(TagEndOfTree);
    WriteBlockString(out, s.Caption);
    out.Put<int32_t>(s.WindowColor);
    out.Put<int32_t>(s.PageColor);
    out.Put<int32_t>(s.TreeColor);
    for (bool on : s.Switches) out.Put<uint8_t>(on ? 1 : 0);
    WriteFont(out, doc.CaptionFont);
    WriteFont(out, doc.MainTextFont);
    return out.Take();
}
