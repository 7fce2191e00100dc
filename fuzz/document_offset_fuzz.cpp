// The runtime's read of a document stored behind other bytes: the first
// two input bytes give the offset; the document is read from there on,
// and the bytes in front never count.
#include <cstdint>

#include "fuzz/document_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const size_t offset = data[0] | data[1] << 8;
    const std::string_view file(reinterpret_cast<const char*>(data) + 2, size - 2);
    if (offset > file.size()) return 0;
    CheckDocumentBytes(file.substr(offset));
    return 0;
}
