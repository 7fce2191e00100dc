#include <cstdint>
#include <utility>

#include "editor/document/block_string.h"
#include "classlib/core/byte_fields.h"
#include "editor/document/document_codec.h"
#include "editor/document/io_errors.h"

namespace {

// Tags, kinds and selected bytes are read untested: past the end they read
// as 0, and the tested read that always follows raises end of file.
void ReadTree(TByteReader& in, TMenuDocument& doc) {
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
        TDocumentNode node;
        node.Level = tag == TagFirstChild ? level + 1 : level;
        ReadBlockString(in, node.Text);
        node.Kind = in.GetUntested<uint8_t>();
        if (node.IsEntry()) {
            ReadBlockString(in, node.EntryText);
            ReadBlockString(in, node.LinkedFile);
            ReadBlockString(in, node.LinkedPicture);
        }
        const uint8_t selected = in.GetUntested<uint8_t>();
        last = selected;
        level = node.Level;
        doc.Nodes.push_back(std::move(node));
        if (selected != 0) doc.Selected = static_cast<int>(doc.Nodes.size()) - 1;
    }
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
    ReadTree(in, doc);
    ReadSettings(in, doc);
    return doc;
}
