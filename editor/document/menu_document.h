// Writing a holder's menu document to a .qbx file and reading one from a
// file into a holder. The bytes are made and read in memory
// (document_codec.h); these routines bring them to and from the file.
#pragma once
#include <cstdint>
#include <string>

class TMenuDocumentHolder;

// Writes the holder's document to fileName. With relativeToExe set, linked
// files and pictures are stored relative to that executable's folder (the
// tree keeps its own paths). The document is written to a new file in the
// same folder, which replaces fileName only once it is complete; on every
// failure fileName stays as it was (or absent) and the new file is removed.
// Returns false, silently, when nothing can be created there (a missing or
// closed folder, an empty name) or when fileName exists but cannot be
// written (read only, in use, a folder); a failed write or replacement
// raises EInOutError.
bool WriteMenuDocument(TMenuDocumentHolder& holder, const std::string& fileName,
                       const std::string& relativeToExe = std::string());

// Replaces the holder's document by the one stored in fileName from byte
// `offset` on. The whole document is read before anything is replaced:
// returns false, silently, when the file cannot be opened; raises
// EInOutError when it is truncated or damaged, or when offset lies outside
// the file, and EOutOfMemory when it does not fit in memory -- in these
// cases the holder's document is unchanged (only the root is selected, as
// before every open).
bool ReadMenuDocument(TMenuDocumentHolder& holder, const std::string& fileName, int64_t offset = 0);
