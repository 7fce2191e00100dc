#include "editor/document/io_errors.h"

#include "classlib/core/exceptions.h"
#include "classlib/core/resstrings.h"
#include "classlib/core/untyped_file.h"

void RaiseEndOfFile() {
    InOutRes = 100;
    InOutCheck();
    throw EInOutError(LoadStr(SEndOfFile), 100);  // not reached
}

void RaiseDamagedDocument() {
    throw EInOutError(LoadStr(SInvalidImage), 100);
}
