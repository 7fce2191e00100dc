#include <algorithm>
#include <cstdint>
#include <new>
#include <optional>
#include <string>

#include "classlib/core/exceptions.h"
#include "classlib/core/file_mode_scope.h"
#include "classlib/core/resstrings.h"
#include "classlib/core/untyped_file.h"
#include "editor/document/document_binding.h"
#include "editor/document/document_codec.h"
#include "editor/document/io_errors.h"
#include "editor/document/menu_document.h"

namespace {

// Runs a step of reading a document; running out of memory on the way is
// reported as the class library reports it, whatever ran out.
template <class Step>
auto ReportingOutOfMemory(Step&& step) {
    try {
        return step();
    } catch (const std::bad_alloc&) {
        throw EOutOfMemory(LoadStr(SOutOfMemory));
    }
}

// Room for count bytes; a file too big for this process's memory is
// reported as running out of it.
std::string RoomFor(int64_t count) {
    if (static_cast<uint64_t>(count) > std::string().max_size()) throw std::bad_alloc();
    return std::string(static_cast<size_t>(count), '\0');
}

// The file's bytes from its position on, count of them at most, read in
// blocks the file layer takes; a failed read raises EInOutError.
std::string ReadRest(TUntypedFile& file, int64_t count) {
    std::string bytes = RoomFor(count);
    constexpr size_t kBlock = size_t{1} << 30;
    size_t done = 0;
    while (done < bytes.size()) {
        int32_t read = 0;
        const auto block = static_cast<int32_t>(std::min(kBlock, bytes.size() - done));
        file.BlockRead(bytes.data() + done, block, read);
        InOutCheck();
        if (read == 0) break;  // the file was cut meanwhile
        done += static_cast<size_t>(read);
    }
    bytes.resize(done);
    return bytes;
}

// The document stored in fileName from byte offset on; none when the file
// cannot be opened.
std::optional<TMenuDocument> ReadDocumentFile(const std::string& fileName, int64_t offset) {
    IOResult();  // a result left pending elsewhere is not this open's
    TUntypedFile file;
    {
        TFileModeScope readOnly(0);
        file.Assign(fileName);
        file.Reset(1);
    }
    if (IOResult() != 0) return std::nullopt;
    const int64_t size = file.FileSize();
    if (offset < 0 || offset > size) RaiseDamagedDocument();
    file.Seek(offset);
    InOutCheck();
    const std::string bytes = ReadRest(file, size - offset);
    file.Close();
    IOResult();
    return ParseMenuDocument(bytes);
}

}  // namespace

bool ReadMenuDocument(TMenuDocumentHolder& holder, const std::string& fileName, int64_t offset) {
    return ReportingOutOfMemory([&] {
        return OpenMenuDocument(holder, [&] { return ReadDocumentFile(fileName, offset); });
    });
}
