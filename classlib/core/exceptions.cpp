#include "classlib/core/exceptions.h"

#include "classlib/core/resstrings.h"

void Abort() {
    throw EAbort(LoadStr(SOperationAborted));
}
