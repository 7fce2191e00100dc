#include <cstdint>
#include <utility>

#include "classlib/core/exceptions.h"
#include "editor/document/block_string.h"
#include "classlib/core/byte_fields.h"
#include "editor/document/document_codec.h"
#include "editor/document/io_errors.h"

// The mirror of document_serialiser.cpp: each reader here has its writer
// there, at the same level.

namespace {

// Tags, kinds and selected bytes are read untested: past the end they read
// as 0, and the tested read that always follows raises end of file.
//
// The tree ends at the end of the bytes or after a byte 99, whichever field
// it was read as: a node whose selected byte is 99 (selected, since it is
// not 0) is the last node, and the settings follow it directly. Playstub
// reads documents that way in every menu executable already on a CD, so
// the editor reads them alike.
template <class TVisit>
void WalkTree(TByteReader& in, TVisit&& visitNode) {
    int level = 0;  // of the current node; the root's is 0
    uint8_t last = 0;
    while (!in.AtEnd() && last != TagEndOfTree) {
        const uint8_t tag = in.GetUntested<uint8_t>();
        last = tag;
        if (tag == TagParent) {
            if (level > 0) --level;
            continue;
        }
        if (tag != TagFirstChild && tag != TagNextSibling) continue;  // unknown tags are skipped
        // A sibling of the root would stand outside the menu tree.
        if (tag == TagNextSibling && level == 0) RaiseDamagedDocument();
        level = tag == TagFirstChild ? level + 1 : level;
        last = visitNode(level);
    }
}

// Reads a node's fields into node; returns its selected byte.
uint8_t ReadNode(TByteReader& in, TDocumentNode& node) {
    ReadBlockString(in, node.Text);
    node.Kind = in.GetUntested<uint8_t>();
    if (node.IsEntry()) {
        ReadBlockString(in, node.EntryText);
        ReadBlockString(in, node.LinkedFile);
        ReadBlockString(in, node.LinkedPicture);
    }
    return in.GetUntested<uint8_t>();
}

// Steps over a node's fields as ReadNode reads them, keeping none.
uint8_t SkipNode(TByteReader& in) {
    auto skipString = [&] { in.GetBytes(static_cast<uint32_t>(in.Get<int32_t>())); };
    skipString();
    if (in.GetUntested<uint8_t>() != 0) {
        skipString();
        skipString();
        skipString();
    }
    return in.GetUntested<uint8_t>();
}

// How many nodes the tree holds, walked without keeping any, so that the
// nodes are stored once and never moved while the tree is read; 0 when the
// tree is damaged (reading it raises then).
size_t CountNodes(std::string_view bytes) {
    TByteReader in(bytes);
    size_t count = 0;
    try {
        WalkTree(in, [&](int) {
            ++count;
            return SkipNode(in);
        });
    } catch (const EInOutError&) {
        return 0;
    }
    return count;
}

void ReadTree(TByteReader& in, TMenuDocument& doc) {
    WalkTree(in, [&](int level) {
        TDocumentNode& node = doc.Nodes.emplace_back();
        node.Level = level;
        const uint8_t selected = ReadNode(in, node);
        if (selected != 0) doc.Selected = static_cast<int>(doc.Nodes.size()) - 1;
        return selected;
    });
}

// Colours and switches are read untested too; the fonts after them are not.
void ReadSettings(TByteReader& in, TMenuDocument& doc) {
    TMenuSettings& s = doc.Settings;
    ReadBlockString(in, s.Caption);
    s.WindowColor = in.GetUntested<int32_t>();
    s.PageColor = in.GetUntested<int32_t>();
    s.TreeColor = in.GetUntested<int32_t>();
    for (bool& on : s.Switches) on = in.GetUntested<uint8_t>() != 0;
    ReadFont(in, doc.CaptionFont);
    ReadFont(in, doc.MainTextFont);
}

}  // namespace

TMenuDocument ParseMenuDocument(std::string_view bytes) {
    TByteReader in(bytes);
    TMenuDocument doc;
    doc.Nodes.reserve(CountNodes(bytes));
    ReadTree(in, doc);
    ReadSettings(in, doc);
    return doc;
}
