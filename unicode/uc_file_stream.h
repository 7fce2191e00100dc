// A file stream opened by a wide file name.
#pragma once
#include <cstdint>
#include <string>

#include "classlib/core/streams.h"

class TUcFileStream : public THandleStream {
public:
    // mode fmCreate creates (or truncates) the file, any other opens it
    // with the class library's file mode. Raises EFCreateError or
    // EFOpenError when that fails.
    TUcFileStream(const std::wstring& fileName, uint16_t mode);
    ~TUcFileStream() override;
};
