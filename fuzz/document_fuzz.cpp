// The menu-document reader on a whole file. A document that reads is
// written, read and written again to the same bytes; one that does not
// raises only EInOutError and leaves the holder's document as it was.
#include <cstdint>

#include "fuzz/document_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CheckDocumentRead(data, size, 0);
    return 0;
}
