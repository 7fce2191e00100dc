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

// A font as the record says.
TOwned<TFont> FontOf(const TFontRecord& record) {
    TOwned<TFont> font = MakeOwned<TFont>();
    ReadFontRecord(record, *font);
    return font;
}

TOwned<TFont> CopyOf(const TFont& font) {
    TOwned<TFont> copy = MakeOwned<TFont>();
    copy->Assign(&font);
    return copy;
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

// Adds doc's nodes below root, which has no children; returns the node doc
// selects (null for none).
TTreeNode* AddNodes(TTreeNodes& tree, TTreeNode* root, const TMenuDocument& doc) {
    TTreeNode* selected = nullptr;
    std::vector<TTreeNode*> path{root};  // the last node added and its ancestors
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
    return selected;
}

// Puts doc's settings, the fonts made of its records and its nodes into
// the holder.
void PutDocument(TMenuDocumentHolder& holder, TTreeNode* root, const TMenuDocument& doc, const TFont& captionFont,
                 const TFont& mainTextFont) {
    holder.SetMenuSettings(doc.Settings);
    holder.CaptionFont().Assign(&captionFont);
    holder.MainTextFont().Assign(&mainTextFont);
    TTreeNodes& tree = holder.MenuTree();
    WhileUpdating(tree, [&] {
        root->DeleteChildren();
        if (TTreeNode* selected = AddNodes(tree, root, doc)) tree.SetSelected(selected);
    });
}

}  // namespace

void ApplyMenuDocument(TMenuDocumentHolder& holder, const TMenuDocument& doc) {
    TTreeNode* root = holder.MenuTree().GetFirstNode();
    if (!root) RaiseDamagedDocument();
    // The document there is put back when this one does not fit in memory.
    const TMenuDocument old = CaptureMenuDocument(holder);
    TOwned<TFont> oldCaptionFont = CopyOf(holder.CaptionFont()), oldMainTextFont = CopyOf(holder.MainTextFont());
    TOwned<TFont> captionFont = FontOf(doc.CaptionFont), mainTextFont = FontOf(doc.MainTextFont);
    try {
        PutDocument(holder, root, doc, *captionFont, *mainTextFont);
    } catch (...) {
        PutDocument(holder, root, old, *oldCaptionFont, *oldMainTextFont);
        throw;
    }
}

bool OpenMenuDocument(TMenuDocumentHolder& holder, const std::function<std::optional<TMenuDocument>()>& read) {
    TTreeNodes& tree = holder.MenuTree();
    if (TTreeNode* root = tree.GetFirstNode()) tree.SetSelected(root);
    std::optional<TMenuDocument> doc = read();
    if (!doc) return false;
    ApplyMenuDocument(holder, *doc);
    return true;
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
