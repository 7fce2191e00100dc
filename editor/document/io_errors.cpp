#include "io_errors.h"

#include "exceptions.h"
#include "resstrings.h"
#include "untyped_file.h"

void RaiseEndOfFile() {
    InOutRes = 100;
    InOutCheck();
    throw EInOutError(LoadStr(SEndOfFile), 100);  // not reached
}

void RaiseDamagedDocument() {
    throw EInOutError(LoadStr(SInvalidImage), 100);
}
