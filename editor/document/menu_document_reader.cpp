#include <algorithm>
#include <cstdint>
#include <new>
#include <stdexcept>
#include <string>

#include "classlib/core/exceptions.h"
#include "classlib/core/file_mode_scope.h"
#include "classlib/core/resstrings.h"
#include "classlib/core/treenodes.h"
#include "classlib/core/untyped_file.h"
#include "editor/document/document_binding.h"
#include "editor/document/document_codec.h"
#include "editor/document/document_holder.h"
#include "editor/document/io_errors.h"
#include "editor/document/menu_document.h"

namespace {

// The file's bytes from its position to its end, read in pieces the file
// layer takes; a failed read raises EInOutError.
std::string ReadRest(TUntypedFile& file, int64_t count) {
    std::string bytes;
    if (count > static_cast<int64_t>(std::min<size_t>(bytes.max_size(), INT64_MAX))) throw EOutOfMemory(LoadStr(SOutOfMemory));
    try {
        bytes.resize(static_cast<size_t>(count));
    } catch (const std::bad_alloc&) {
        throw EOutOfMemory(LoadStr(SOutOfMemory));
    } catch (const std::length_error&) {
        throw EOutOfMemory(LoadStr(SOutOfMemory));
    }
    constexpr size_t kPiece = size_t{1} << 30;
    size_t done = 0;
    while (done < bytes.size()) {
        int32_t read = 0;
        const auto piece = static_cast<int32_t>(std::min(kPiece, bytes.size() - done));
        file.BlockRead(bytes.data() + done, piece, read);
        InOutCheck();
        if (read == 0) break;  // the file was cut meanwhile
        done += static_cast<size_t>(read);
    }
    bytes.resize(done);
    return bytes;
}

}  // namespace

bool ReadMenuDocument(TMenuDocumentHolder& holder, const std::string& fileName, int64_t offset) {
    TTreeNodes& tree = holder.MenuTree();
    if (TTreeNode* root = tree.GetFirstNode()) tree.SetSelected(root);

    IOResult();  // a result left pending elsewhere is not this open's
    TUntypedFile file;
    {
        TFileModeScope readOnly(0);
        file.Assign(fileName);
        file.Reset(1);
    }
    if (IOResult() != 0) return false;
    const int64_t size = file.FileSize();
    if (offset < 0 || offset > size) RaiseDamagedDocument();
    file.Seek(offset);
    InOutCheck();
    const std::string bytes = ReadRest(file, size - offset);
    file.Close();
    IOResult();

    ApplyMenuDocument(holder, ParseMenuDocument(bytes));
    return true;
}
