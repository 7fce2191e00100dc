// The record an entry node of the menu tree owns: three zero-terminated
// heap strings, each block exactly its length + 1 bytes.
#pragma once
#include <string>

struct TEntryData {
    char* Text;           // body text of the entry's page, CR LF kept
    char* LinkedFile;     // opened by Install, copied by Copy; may be empty
    char* LinkedPicture;  // drawn above the text; may be empty
};

// Allocates a record and its three blocks (raises EOutOfMemory).
TEntryData* NewEntryData(const std::string& text, const std::string& linkedFile,
                         const std::string& linkedPicture);
// Reallocates each block to its new length + 1 and overwrites it.
void EditEntryData(TEntryData* entry, const std::string& text, const std::string& linkedFile,
                   const std::string& linkedPicture);
// Frees the three blocks, then the record. Null is ignored.
void FreeEntryData(TEntryData* entry);

class TTreeNode;
// The deletion rule of a menu tree: an entry node (image index not 0)
// frees its record; categories own none.
void FreeNodeEntry(TTreeNode* node);
