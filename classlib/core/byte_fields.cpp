#include "classlib/core/byte_fields.h"

#include "classlib/core/exceptions.h"
#include "classlib/core/io_result.h"

void TByteReader::RaiseEndOfBytes() {
    throw EInOutError(InOutErrorMessage(ioEndOfFile), ioEndOfFile);
}
