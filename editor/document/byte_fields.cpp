#include "editor/document/byte_fields.h"

#include "editor/document/io_errors.h"

void TByteReader::RaiseEndOfBytes() {
    RaiseEndOfFile();
}
