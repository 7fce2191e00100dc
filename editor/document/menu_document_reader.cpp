#include <cstdint>
#include <vector>

#include "editor/document/block_string.h"
#include "editor/document/document_holder.h"
#include "editor/document/entry_data.h"
#include "classlib/core/font.h"
#include "editor/document/font_record.h"
#include "editor/document/io_errors.h"
#include "editor/document/menu_document.h"
#include "classlib/core/scope_exit.h"
#include "classlib/core/treenodes.h"
#include "classlib/core/untyped_file.h"

namespace {

struct TStagedNode {
    int Parent;  // index of the parent node, -1 for the root
    std::string Text;
    uint8_t Kind;
    std::string EntryText, LinkedFile, LinkedPicture;
};

// A whole document read from a file, not yet applied to a holder.
struct TStagedDocument {
    std::vector<TStagedNode> Nodes;
    int Selected = -1;
    TMenuSettings Settings;
    TOwned<TFont> CaptionFont = MakeOwned<TFont>();
    TOwned<TFont> MainTextFont = MakeOwned<TFont>();
};

template <class T>
T GetUntested(TUntypedFile& file) {
    T value{};
    file.BlockRead(&value, sizeof value);
    return value;
}

// Tags, kinds, selected bytes, colours and switches are read untested; a
// failure there surfaces at the next tested read (strings and fonts).
void ReadTree(TUntypedFile& file, TStagedDocument& doc) {
    int current = -1;
    uint8_t last = 0;
    while (!file.Eof() && last != TagEndOfTree) {
        uint8_t tag = GetUntested<uint8_t>(file);
        last = tag;
        if (tag == TagParent) {
            if (current >= 0) current = doc.Nodes[static_cast<size_t>(current)].Parent;
            continue;
        }
        if (tag != TagFirstChild && tag != TagNextSibling) continue;  // unknown tags are skipped
        // A sibling of the root would stand outside the menu tree.
        if (tag == TagNextSibling && current < 0) RaiseDamagedDocument();
        TStagedNode node;
        node.Parent = tag == TagFirstChild ? current : doc.Nodes[static_cast<size_t>(current)].Parent;
        ReadBlockString(file, node.Text);
        node.Kind = GetUntested<uint8_t>(file);
        if (node.Kind != 0) {
            ReadBlockString(file, node.EntryText);
            ReadBlockString(file, node.LinkedFile);
            ReadBlockString(file, node.LinkedPicture);
        }
        uint8_t selected = GetUntested<uint8_t>(file);
        last = selected;
        doc.Nodes.push_back(std::move(node));
        current = static_cast<int>(doc.Nodes.size()) - 1;
        if (selected != 0) doc.Selected = current;
    }
}

void ReadSettings(TUntypedFile& file, TStagedDocument& doc) {
    TMenuSettings& s = doc.Settings;
    ReadBlockString(file, s.Caption);
    s.WindowColor = GetUntested<int32_t>(file);
    s.PageColor = GetUntested<int32_t>(file);
    s.TreeColor = GetUntested<int32_t>(file);
    for (bool& on : s.Switches) on = GetUntested<uint8_t>(file) != 0;
    ReadFont(file, *doc.CaptionFont);
    ReadFont(file, *doc.MainTextFont);
}

void Apply(TMenuDocumentHolder& holder, TStagedDocument& doc) {
    TTreeNodes& tree = holder.MenuTree();
    TTreeNode* root = tree.GetFirstNode();
    WhileUpdating(tree, [&] {
        root->DeleteChildren();
        std::vector<TTreeNode*> made;
        made.reserve(doc.Nodes.size());
        for (const TStagedNode& n : doc.Nodes) {
            TTreeNode* parent = n.Parent < 0 ? root : made[static_cast<size_t>(n.Parent)];
            TTreeNode* node = tree.AddChild(parent, n.Text);
            node->SetImageIndex(n.Kind);
            node->SetSelectedIndex(n.Kind + 2);
            if (n.Kind != 0) node->SetData(NewEntryData(n.EntryText, n.LinkedFile, n.LinkedPicture));
            made.push_back(node);
        }
        tree.SetSelected(doc.Selected >= 0 ? made[static_cast<size_t>(doc.Selected)] : root);
    });
    holder.SetMenuSettings(doc.Settings);
    holder.CaptionFont().Assign(doc.CaptionFont.get());
    holder.MainTextFont().Assign(doc.MainTextFont.get());
}

// Sets the file mode for one open and restores the previous one.
class TFileModeScope {
public:
    explicit TFileModeScope(int mode) : saved_(FileMode) { FileMode = mode; }
    ~TFileModeScope() { FileMode = saved_; }

private:
    int saved_;
};

}  // namespace

bool ReadMenuDocument(TMenuDocumentHolder& holder, const std::string& fileName, int64_t offset) {
    TTreeNodes& tree = holder.MenuTree();
    TTreeNode* root = tree.GetFirstNode();
    if (root) tree.SetSelected(root);

    IOResult();  // a result left pending elsewhere is not this open's
    TUntypedFile file;
    {
        TFileModeScope readOnly(0);
        file.Assign(fileName);
        file.Reset(1);
    }
    if (IOResult() != 0) return false;
    if (offset < 0 || offset > file.FileSize()) RaiseDamagedDocument();
    file.Seek(offset);
    InOutCheck();

    TStagedDocument doc;
    ReadTree(file, doc);
    ReadSettings(file, doc);
    file.Close();
    IOResult();
    if (!root) RaiseDamagedDocument();
    Apply(holder, doc);
    return true;
}
