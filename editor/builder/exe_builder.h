// Building a menu executable: the runtime template (every byte stored plus
// one) restored to the target, its document marker patched with the
// template's size, the menu document appended; and the autorun file.
#pragma once
#include <cstdint>
#include <string>

// The signature in the runtime image whose first four bytes become the
// document's offset.
extern const char DocumentSignature[8];
// Template files are read and written in blocks of this size; the
// signature is searched block by block.
constexpr int32_t BuildBlockSize = 2048;

// Builds target from template and document; reports every outcome by
// message box, owned by owner ("Could not create file!" for any failure,
// after the box of its cause where it has one; "The exe file could be
// successfully created." otherwise). Returns success. The build stops at
// its first failure. It is written beside the target and replaces it only
// when complete, so a failed build leaves the target as it was. A target
// that is the template or the document itself is refused.
bool CreateExeFromTemplate(const std::string& templatePath, const std::string& documentPath,
                           const std::string& targetPath, void* owner = nullptr);

// Patches every signature at a position k with k + 20 <= count (so both
// patched fields lie in the block): the int32 offset at k, int32 0 at k + 16.
// Returns whether one was found.
bool PatchDocumentMarker(uint8_t* block, int32_t count, int32_t offset);

// The first free "tfN.qbx" in folder (N counting from 0).
std::string FreeTemporaryDocument(const std::string& folder);
// The platform's temporary folder with a trailing backslash; "" when it
// cannot be read.
std::string TemporaryFolder();

// Writes folder + "autorun.inf" ("[autorun]", "open=" + exeFileName, CR LF;
// a name with blanks in double quotes, so that it is read whole). Returns
// false when it could not be created or written; an autorun file already
// there is then left as it was.
bool WriteAutorunFile(const std::string& folder, const std::string& exeFileName);
