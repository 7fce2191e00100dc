#include "unicode/uc_file_stream.h"

#include "classlib/core/exceptions.h"
#include "classlib/core/resstrings.h"
#include "classlib/core/strutils.h"
#include "unicode/wide_sysutils.h"

TUcFileStream::TUcFileStream(const std::wstring& fileName, uint16_t mode) : THandleStream(-1) {
    if (mode == fmCreate) {
        handle_ = WideFileCreate(fileName);
        if (handle_ < 0) throw EFCreateError(Format(LoadStr(SFCreateError), {WideToAnsi(fileName)}));
    } else {
        handle_ = WideFileOpen(fileName, mode);
        if (handle_ < 0) throw EFOpenError(Format(LoadStr(SFOpenError), {WideToAnsi(fileName)}));
    }
}

TUcFileStream::~TUcFileStream() {
    if (handle_ >= 0) WideFileClose(handle_);
}
