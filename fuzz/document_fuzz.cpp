// The menu-document reader on a whole file's bytes. A document that reads
// is written and read back to the same document; one that does not raises
// only EInOutError.
#include <cstdint>

#include "fuzz/document_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CheckDocumentBytes(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
