#include "exceptions.h"

#include "resstrings.h"

void Abort() {
    throw EAbort(LoadStr(SOperationAborted));
}
