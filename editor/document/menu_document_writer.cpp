#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "classlib/core/paths.h"
#include "classlib/core/replacement_file.h"
#include "classlib/core/untyped_file.h"
#include "editor/document/document_binding.h"
#include "editor/document/document_codec.h"
#include "editor/document/menu_document.h"

namespace {

// Linked files and pictures as seen from the executable's folder; the page
// texts stay as they are.
void MakeLinksRelative(TMenuDocument& doc, const std::string& exeName) {
    for (TDocumentNode& node : doc.Nodes) {
        if (!node.IsEntry()) continue;
        node.LinkedFile = MakeRelativeToExe(node.LinkedFile, exeName);
        node.LinkedPicture = MakeRelativeToExe(node.LinkedPicture, exeName);
    }
}

// The document goes to the file a megabyte at a time: few system calls,
// and no copy of a long document in memory.
constexpr size_t kPieceBytes = size_t{1} << 20;

// Writes all bytes, in blocks the file layer takes; raises EInOutError.
void WriteAll(TUntypedFile& file, std::string_view bytes) {
    constexpr size_t kBlock = size_t{1} << 30;
    for (size_t done = 0; done < bytes.size();) {
        const auto block = static_cast<int32_t>(std::min(kBlock, bytes.size() - done));
        file.BlockWrite(bytes.data() + done, block);
        InOutCheck();
        done += static_cast<size_t>(block);
    }
}

}  // namespace

bool WriteMenuDocument(TMenuDocumentHolder& holder, const std::string& fileName, const std::string& relativeToExe) {
    IOResult();  // a result left pending elsewhere is not this save's
    if (fileName.empty()) return false;
    TMenuDocument doc = CaptureMenuDocument(holder);
    if (!relativeToExe.empty()) MakeLinksRelative(doc, relativeToExe);

    TReplacementFile replacement(fileName);
    if (replacement.Name().empty()) return false;
    {
        TUntypedFile file;  // closed before the side file is committed or removed
        file.Assign(replacement.Name());
        file.Rewrite(1);
        InOutCheck();
        SerialiseMenuDocument(doc, [&](std::string_view piece) { WriteAll(file, piece); }, kPieceBytes);
        file.Close();
        InOutCheck();
    }
    if (int error = replacement.Commit()) {
        InOutRes = error;
        InOutCheck();
    }
    return true;
}
