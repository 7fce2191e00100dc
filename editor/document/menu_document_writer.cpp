#include <cstdint>
#include <string>

#include "editor/document/block_string.h"
#include "editor/document/document_holder.h"
#include "editor/document/entry_data.h"
#include "editor/document/font_record.h"
#include "editor/document/menu_document.h"
#include "classlib/core/file_backend.h"
#include "classlib/core/fileutils.h"
#include "classlib/core/paths.h"
#include "classlib/core/replacement_file.h"
#include "classlib/core/treenodes.h"
#include "classlib/core/untyped_file.h"

namespace {

// System error codes of the file layer.
constexpr int kFileNotFound = 2;

class TDocumentWriter {
public:
    TDocumentWriter(TUntypedFile& file, TTreeNode* selected, const std::string& relativeToExe)
        : file_(file), selected_(selected), relative_to_exe_(relativeToExe) {}

    // Pre-order walk below root; each step is a tag, node records follow
    // tags 0 and 1, and every climb writes one tag 2.
    void WriteTree(TTreeNode* root) {
        TTreeNode* current = root;
        for (;;) {
            if (TTreeNode* child = current->getFirstChild()) {
                WriteNode(TagFirstChild, child);
                current = child;
                continue;
            }
            if (current != root) {
                if (TTreeNode* next = current->getNextSibling()) {
                    WriteNode(TagNextSibling, next);
                    current = next;
                    continue;
                }
            }
            for (;;) {
                if (current == root) return;
                TTreeNode* parent = current->Parent();
                if (!parent) return;
                WriteByte(TagParent);
                TTreeNode* next = parent != root ? parent->getNextSibling() : nullptr;
                if (next) {
                    WriteNode(TagNextSibling, next);
                    current = next;
                    break;
                }
                current = parent;
            }
        }
    }

private:
    void WriteByte(uint8_t value) {
        file_.BlockWrite(&value, 1);
        InOutCheck();
    }

    void WriteNode(uint8_t tag, TTreeNode* node) {
        WriteByte(tag);
        WriteBlockString(file_, node->Text());
        uint8_t kind = static_cast<uint8_t>(node->ImageIndex());
        WriteByte(kind);
        if (kind != 0) {
            const auto* entry = static_cast<const TEntryData*>(node->Data());
            std::string text = entry ? entry->Text : "";
            std::string file = entry ? entry->LinkedFile : "";
            std::string picture = entry ? entry->LinkedPicture : "";
            if (!relative_to_exe_.empty()) {
                file = MakeRelativeToExe(file, relative_to_exe_);
                picture = MakeRelativeToExe(picture, relative_to_exe_);
            }
            WriteBlockString(file_, text);
            WriteBlockString(file_, file);
            WriteBlockString(file_, picture);
        }
        WriteByte(node == selected_ ? 1 : 0);
    }

    TUntypedFile& file_;
    TTreeNode* selected_;
    const std::string& relative_to_exe_;
};

template <class T>
void PutUntested(TUntypedFile& file, T value) {
    file.BlockWrite(&value, sizeof value);
}

void WriteDocument(TUntypedFile& file, TMenuDocumentHolder& holder, const std::string& relativeToExe) {
    TTreeNodes& tree = holder.MenuTree();
    if (TTreeNode* root = tree.GetFirstNode()) {
        TDocumentWriter writer(file, tree.Selected(), relativeToExe);
        writer.WriteTree(root);
    }

    // The end tag, colours and switches are written untested: an error
    // there surfaces at the next tested write.
    TMenuSettings settings = holder.MenuSettings();
    PutUntested<uint8_t>(file, TagEndOfTree);
    WriteBlockString(file, settings.Caption);
    PutUntested<int32_t>(file, settings.WindowColor);
    PutUntested<int32_t>(file, settings.PageColor);
    PutUntested<int32_t>(file, settings.TreeColor);
    for (bool on : settings.Switches) PutUntested<uint8_t>(file, on ? 1 : 0);
    WriteFont(file, holder.CaptionFont());
    WriteFont(file, holder.MainTextFont());
}

// A file that exists but cannot be written (read only, in use, a folder)
// is not replaced either; a missing one is fine.
bool MayBeReplaced(const std::string& fileName) {
    FileBackend::Handle handle = FileBackend::kNoHandle;
    int error = FileBackend::Open(fileName, FileBackend::Access::Write, handle);
    if (error == 0) FileBackend::Close(handle);
    return error == 0 || error == kFileNotFound;
}

}  // namespace

bool WriteMenuDocument(TMenuDocumentHolder& holder, const std::string& fileName, const std::string& relativeToExe) {
    IOResult();  // a result left pending elsewhere is not this save's
    if (fileName.empty() || !MayBeReplaced(fileName)) return false;
    TReplacementFile replacement(fileName);
    if (replacement.Name().empty()) return false;
    {
        TUntypedFile file;  // closed before the side file is committed or removed
        file.Assign(replacement.Name());
        file.Rewrite(1);
        InOutCheck();
        WriteDocument(file, holder, relativeToExe);
        file.Close();
        InOutCheck();
    }
    if (int error = replacement.Commit()) {
        InOutRes = error;
        InOutCheck();
    }
    return true;
}
