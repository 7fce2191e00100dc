#include "classlib/core/io_result.h"

#include "classlib/core/exceptions.h"
#include "classlib/core/resstrings.h"
#include "classlib/core/strutils.h"

thread_local int InOutRes = 0;
std::atomic<int> FileMode{2};

int IOResult() {
    int code = InOutRes;
    InOutRes = 0;
    return code;
}

void InOutCheck() {
    int code = IOResult();
    if (code != 0) throw EInOutError(InOutErrorMessage(code), code);
}

std::string InOutErrorMessage(int code) {
    switch (code) {
    case 2: return LoadStr(SFileNotFound);
    case 3: return LoadStr(SInvalidFilename);
    case 4: return LoadStr(STooManyOpenFiles);
    case 5: return LoadStr(SAccessDenied);
    case ioEndOfFile: return LoadStr(SEndOfFile);
    case ioDiskFull: return LoadStr(SDiskFull);
    case ioFileNotOpen: return LoadStr(SFileNotOpen);
    default: return Format(LoadStr(SInOutError), {code});
    }
}
