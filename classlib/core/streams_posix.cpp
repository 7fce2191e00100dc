#include <fcntl.h>
#include <unistd.h>

#include "classlib/core/exceptions.h"
#include "classlib/core/resstrings.h"
#include "classlib/core/streams.h"
#include "classlib/core/strutils.h"

int32_t THandleStream::Read(void* buffer, int32_t count) {
    if (count <= 0) return 0;
    ssize_t n = ::read(static_cast<int>(handle_), buffer, static_cast<size_t>(count));
    return n < 0 ? 0 : static_cast<int32_t>(n);
}

int32_t THandleStream::Write(const void* buffer, int32_t count) {
    if (count <= 0) return 0;
    ssize_t n = ::write(static_cast<int>(handle_), buffer, static_cast<size_t>(count));
    return n < 0 ? 0 : static_cast<int32_t>(n);
}

int64_t THandleStream::Seek(int64_t offset, TSeekOrigin origin) {
    int whence = origin == soBeginning ? SEEK_SET : origin == soCurrent ? SEEK_CUR : SEEK_END;
    return ::lseek(static_cast<int>(handle_), static_cast<off_t>(offset), whence);
}

void THandleStream::SetSize(int64_t size) {
    if (::ftruncate(static_cast<int>(handle_), static_cast<off_t>(size)) != 0) throw EStreamError(LoadStr(SWriteError));
}

TFileStream::TFileStream(const std::string& fileName, uint16_t mode) : THandleStream(-1), file_name_(fileName) {
    int fd;
    if (mode == fmCreate) {
        fd = ::open(fileName.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0644);
        if (fd < 0) throw EFCreateError(Format(LoadStr(SFCreateError), {fileName}));
    } else {
        static const int flags[] = {O_RDONLY, O_WRONLY, O_RDWR};
        unsigned a = mode & 3u;
        fd = a > 2 ? -1 : ::open(fileName.c_str(), flags[a]);
        if (fd < 0) throw EFOpenError(Format(LoadStr(SFOpenError), {fileName}));
    }
    handle_ = fd;
}

TFileStream::~TFileStream() {
    if (handle_ != -1) ::close(static_cast<int>(handle_));
}
