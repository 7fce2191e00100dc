#include "editor/document/document_binding.h"

#include <algorithm>
#include <string>
#include <vector>

#include "classlib/core/font.h"
#include "classlib/core/scope_exit.h"
#include "classlib/core/treenodes.h"
#include "editor/document/document_holder.h"
#include "editor/document/entry_data.h"
#include "editor/document/io_errors.h"

namespace {

// Only the three pitches and four styles there are reach the font.
void ReadFontRecord(const TFontRecord& record, TFont& font) {
    font.SetCharset(record.Charset);
    font.SetColor(record.Color);
    font.SetName(record.Name);
    font.SetPitch(record.Pitch <= fpFixed ? static_cast<TFontPitch>(record.Pitch) : fpDefault);
    font.SetPixelsPerInch(record.PixelsPerInch);
    font.SetSize(record.Size);
    font.SetStyle(TFontStyles::FromBits(record.Style & 0x0Fu));
}

void AssignFont(const TFontRecord& record, TFont& font) {
    TOwned<TFont> read = MakeOwned<TFont>();
    ReadFontRecord(record, *read);
    font.Assign(read.get());
}

TFontRecord FontRecordOf(const TFont& font) {
    TFontRecord record;
    record.Charset = font.Charset();
    record.Color = font.Color();
    record.Name = font.Name().substr(0, 255);
    record.Pitch = static_cast<uint8_t>(font.Pitch());
    record.PixelsPerInch = font.PixelsPerInch();
    record.Size = font.Size();
    record.Style = static_cast<uint8_t>(font.Style().Bits());
    return record;
}

std::string Or(const char* text) {
    return text ? text : "";
}

TDocumentNode NodeOf(const TTreeNode* node, int level) {
    TDocumentNode n;
    n.Level = level;
    n.Text = node->Text();
    n.Kind = static_cast<uint8_t>(node->ImageIndex());
    if (n.IsEntry()) {
        if (const auto* entry = static_cast<const TEntryData*>(node->Data())) {
            n.EntryText = Or(entry->Text);
            n.LinkedFile = Or(entry->LinkedFile);
            n.LinkedPicture = Or(entry->LinkedPicture);
        }
    }
    return n;
}

}  // namespace

void ApplyMenuDocument(TMenuDocumentHolder& holder, const TMenuDocument& doc) {
    TTreeNodes& tree = holder.MenuTree();
    TTreeNode* root = tree.GetFirstNode();
    if (!root) RaiseDamagedDocument();
    WhileUpdating(tree, [&] {
        root->DeleteChildren();
        std::vector<TTreeNode*> path{root};  // the last node added and its ancestors
        TTreeNode* selected = root;
        for (size_t i = 0; i < doc.Nodes.size(); ++i) {
            const TDocumentNode& n = doc.Nodes[i];
            path.resize(static_cast<size_t>(std::clamp<int>(n.Level, 1, static_cast<int>(path.size()))));
            TTreeNode* node = tree.AddChild(path.back(), n.Text);
            node->SetImageIndex(n.Kind);
            node->SetSelectedIndex(n.Kind + 2);
            if (n.IsEntry()) node->SetData(NewEntryData(n.EntryText, n.LinkedFile, n.LinkedPicture));
            path.push_back(node);
            if (static_cast<int>(i) == doc.Selected) selected = node;
        }
        tree.SetSelected(selected);
    });
    holder.SetMenuSettings(doc.Settings);
    AssignFont(doc.CaptionFont, holder.CaptionFont());
    AssignFont(doc.MainTextFont, holder.MainTextFont());
}

TMenuDocument CaptureMenuDocument(TMenuDocumentHolder& holder) {
    TMenuDocument doc;
    TTreeNodes& tree = holder.MenuTree();
    if (TTreeNode* root = tree.GetFirstNode()) {
        const TTreeNode* selected = tree.Selected();
        doc.Nodes.reserve(static_cast<size_t>(tree.Count()));
        TTreeNode* node = root;
        int level = 0;
        for (;;) {
            if (TTreeNode* child = node->getFirstChild()) {
                node = child;
                ++level;
            } else {
                while (node != root && !node->getNextSibling()) {
                    node = node->Parent();
                    --level;
                }
                if (node == root) break;
                node = node->getNextSibling();
            }
            if (node == selected) doc.Selected = static_cast<int>(doc.Nodes.size());
            doc.Nodes.push_back(NodeOf(node, level));
        }
    }
    doc.Settings = holder.MenuSettings();
    doc.CaptionFont = FontRecordOf(holder.CaptionFont());
    doc.MainTextFont = FontRecordOf(holder.MainTextFont());
    return doc;
}
