#include "editor/document/entry_data.h"

#include <cstdlib>
#include <cstring>

#include "classlib/core/exceptions.h"
#include "classlib/core/resstrings.h"
#include "classlib/core/scope_exit.h"
#include "classlib/core/treenodes.h"

namespace {

// Resizes block to exactly s.size() + 1 bytes and copies s into it.
void AssignBlock(char*& block, const std::string& s) {
    void* resized = std::realloc(block, s.size() + 1);
    if (!resized) throw EOutOfMemory(LoadStr(SOutOfMemory));
    block = static_cast<char*>(resized);
    std::memcpy(block, s.data(), s.size());
    block[s.size()] = '\0';
}

}  // namespace

TEntryData* NewEntryData(const std::string& text, const std::string& linkedFile,
                         const std::string& linkedPicture) {
    auto* entry = static_cast<TEntryData*>(std::calloc(1, sizeof(TEntryData)));
    if (!entry) throw EOutOfMemory(LoadStr(SOutOfMemory));
    TScopeExit freeEntry([entry] { FreeEntryData(entry); });
    EditEntryData(entry, text, linkedFile, linkedPicture);
    freeEntry.Dismiss();
    return entry;
}

void EditEntryData(TEntryData* entry, const std::string& text, const std::string& linkedFile,
                   const std::string& linkedPicture) {
    AssignBlock(entry->Text, text);
    AssignBlock(entry->LinkedFile, linkedFile);
    AssignBlock(entry->LinkedPicture, linkedPicture);
}

void FreeEntryData(TEntryData* entry) {
    if (!entry) return;
    std::free(entry->Text);
    std::free(entry->LinkedFile);
    std::free(entry->LinkedPicture);
    std::free(entry);
}

void FreeNodeEntry(TTreeNode* node) {
    if (!node || node->ImageIndex() == 0) return;
    FreeEntryData(static_cast<TEntryData*>(node->Data()));
    node->SetData(nullptr);
}
