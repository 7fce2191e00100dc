#include "editor/document/block_string.h"

#include <cstdint>

#include "editor/document/io_errors.h"
#include "classlib/core/untyped_file.h"

void WriteBlockString(TUntypedFile& file, const std::string& s) {
    int32_t length = static_cast<int32_t>(s.size());
    file.BlockWrite(&length, sizeof length);
    InOutCheck();
    file.BlockWrite(s.data(), length);
    InOutCheck();
}

void ReadBlockString(TUntypedFile& file, std::string& s) {
    int32_t length = 0;
    file.BlockRead(&length, sizeof length);
    InOutCheck();
    // Only a long string is checked against the file's rest before its room
    // is made; a short one that runs past the end fails in the read.
    constexpr int32_t kCheckedLength = 64 * 1024;
    if (length < 0 || (length > kCheckedLength && length > file.FileSize() - file.FilePos())) RaiseEndOfFile();
    std::string value(static_cast<size_t>(length), '\0');
    file.BlockRead(value.data(), length);
    InOutCheck();
    s = std::move(value);
}
