// The runtime's read of a document stored behind other bytes: the first
// two input bytes give the offset (which may lie outside the file).
#include <cstdint>

#include "fuzz/document_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const int64_t offset = data[0] | data[1] << 8;
    CheckDocumentRead(data + 2, size - 2, offset);
    return 0;
}
