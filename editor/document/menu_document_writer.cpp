#include <algorithm>
#include <cstdint>
#include <string>

#include "classlib/core/file_backend.h"
#include "classlib/core/paths.h"
#include "classlib/core/replacement_file.h"
#include "classlib/core/untyped_file.h"
#include "editor/document/document_binding.h"
#include "editor/document/document_codec.h"
#include "editor/document/menu_document.h"

namespace {

// System error codes of the file layer.
constexpr int kFileNotFound = 2;

// A file that exists but cannot be written (read only, in use, a folder)
// is not replaced either; a missing one is fine.
bool MayBeReplaced(const std::string& fileName) {
    FileBackend::Handle handle = FileBackend::kNoHandle;
    int error = FileBackend::Open(fileName, FileBackend::Access::Write, handle);
    if (error == 0) FileBackend::Close(handle);
    return error == 0 || error == kFileNotFound;
}

// Linked files and pictures as seen from the executable's folder; the page
// texts stay as they are.
void MakeLinksRelative(TMenuDocument& doc, const std::string& exeName) {
    for (TDocumentNode& node : doc.Nodes) {
        if (!node.IsEntry()) continue;
        node.LinkedFile = MakeRelativeToExe(node.LinkedFile, exeName);
        node.LinkedPicture = MakeRelativeToExe(node.LinkedPicture, exeName);
    }
}

// Writes all bytes, in pieces the file layer takes; raises EInOutError.
void WriteAll(TUntypedFile& file, const std::string& bytes) {
    constexpr size_t kPiece = size_t{1} << 30;
    for (size_t done = 0; done < bytes.size();) {
        const auto piece = static_cast<int32_t>(std::min(kPiece, bytes.size() - done));
        file.BlockWrite(bytes.data() + done, piece);
        InOutCheck();
        done += static_cast<size_t>(piece);
    }
}

}  // namespace

bool WriteMenuDocument(TMenuDocumentHolder& holder, const std::string& fileName, const std::string& relativeToExe) {
    IOResult();  // a result left pending elsewhere is not this save's
    if (fileName.empty() || !MayBeReplaced(fileName)) return false;
    TMenuDocument doc = CaptureMenuDocument(holder);
    if (!relativeToExe.empty()) MakeLinksRelative(doc, relativeToExe);
    const std::string bytes = SerialiseMenuDocument(doc);

    TReplacementFile replacement(fileName);
    if (replacement.Name().empty()) return false;
    {
        TUntypedFile file;  // closed before the side file is committed or removed
        file.Assign(replacement.Name());
        file.Rewrite(1);
        InOutCheck();
        WriteAll(file, bytes);
        file.Close();
        InOutCheck();
    }
    if (int error = replacement.Commit()) {
        InOutRes = error;
        InOutCheck();
    }
    return true;
}
