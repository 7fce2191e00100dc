#include "editor/document/io_errors.h"

#include "classlib/core/exceptions.h"
#include "classlib/core/io_result.h"
#include "classlib/core/resstrings.h"

void RaiseEndOfFile() {
    throw EInOutError(InOutErrorMessage(ioEndOfFile), ioEndOfFile);
}

void RaiseDamagedDocument() {
    throw EInOutError(LoadStr(SInvalidImage), ioEndOfFile);
}
