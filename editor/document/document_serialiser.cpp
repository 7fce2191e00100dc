#include <algorithm>
#include <cstdint>

#include "editor/document/block_string.h"
#include "classlib/core/byte_fields.h"
#include "editor/document/document_codec.h"

// The mirror of document_parser.cpp: each writer here has its reader
// there, at the same level.

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
// climbs back to the root, which writes one tag 2 per level it lies below;
// the end tag closes the tree.
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
        out.Pass();
        level = next;
    }
    for (; level > 0; --level) out.Put<uint8_t>(TagParent);
    out.Put<uint8_t>(TagEndOfTree);
}

void WriteSettings(TByteWriter& out, const TMenuDocument& doc) {
    const TMenuSettings& s = doc.Settings;
    WriteBlockString(out, s.Caption);
    out.Put<int32_t>(s.WindowColor);
    out.Put<int32_t>(s.PageColor);
    out.Put<int32_t>(s.TreeColor);
    for (bool on : s.Switches) out.Put<uint8_t>(on ? 1 : 0);
    WriteFont(out, doc.CaptionFont);
    WriteFont(out, doc.MainTextFont);
}

// At least the bytes the document takes, so they are made in one block: a
// tag, kind and selected byte and the strings for each node, one tag 2 at
// most for each (every climb undoes a step down), the settings and fonts.
size_t RoomFor(const TMenuDocument& doc) {
    constexpr size_t kString = sizeof(int32_t);
    size_t room = 0;
    for (const TDocumentNode& node : doc.Nodes) {
        room += 2 + 1 + 1 + kString + node.Text.size();
        if (node.IsEntry())
            room += 3 * kString + node.EntryText.size() + node.LinkedFile.size() + node.LinkedPicture.size();
    }
    constexpr size_t kFont = 1 + 4 + 1 + 255 + 1 + 4 + 4 + 1;
    return room + 1 + kString + doc.Settings.Caption.size() + 3 * 4 + MenuSwitchCount + 2 * kFont;
}

void WriteDocument(TByteWriter& out, const TMenuDocument& doc) {
    WriteTree(out, doc);
    WriteSettings(out, doc);
}

}  // namespace

std::string SerialiseMenuDocument(const TMenuDocument& doc) {
    TByteWriter out;
    out.Reserve(RoomFor(doc));
    WriteDocument(out, doc);
    return out.Take();
}

void SerialiseMenuDocument(const TMenuDocument& doc, const std::function<void(std::string_view)>& piece,
                           size_t pieceBytes) {
    TByteWriter out(piece, pieceBytes);
    out.Reserve(std::min(RoomFor(doc), pieceBytes + 64 * 1024));
    WriteDocument(out, doc);
    out.Flush();
}
