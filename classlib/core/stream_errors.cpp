#include "classlib/core/stream_errors.h"

#include "classlib/core/exceptions.h"
#include "classlib/core/resstrings.h"

void RaiseInvalidImage() {
    throw EReadError(LoadStr(SInvalidImage));
}

TScopedCount EnterNesting(int& depth) {
    return TScopedCount(depth, kMaxStreamNesting, [] { return EReadError(LoadStr(SNestingTooDeep)); });
}
