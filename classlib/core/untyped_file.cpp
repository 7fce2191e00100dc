#include "classlib/core/untyped_file.h"

namespace {

void Fail(int code) {
    if (code != 0) InOutRes = code;
}

}  // namespace

TUntypedFile::~TUntypedFile() {
    CloseQuietly();
}

void TUntypedFile::CloseQuietly() {
    if (IsOpen()) FileBackend::Close(handle_);
    handle_ = FileBackend::kNoHandle;
}

void TUntypedFile::Assign(const std::string& name) {
    CloseQuietly();
    name_ = name;
}

void TUntypedFile::Reset(int32_t recSize) {
    Open(false, recSize);
}

void TUntypedFile::Rewrite(int32_t recSize) {
    Open(true, recSize);
}

void TUntypedFile::Open(bool create, int32_t recSize) {
    CloseQuietly();
    if (recSize < 1) return Fail(ioInvalidParameter);
    if (name_.empty()) return Fail(ioFileNotAssigned);
    FileBackend::Handle handle = FileBackend::kNoHandle;
    int error;
    if (create) {
        error = FileBackend::Create(name_, handle);
    } else {
        int mode = FileMode;
        if (mode < 0 || mode > 2) return Fail(ioInvalidAccessCode);
        error = FileBackend::Open(name_, static_cast<FileBackend::Access>(mode), handle);
    }
    if (error) return Fail(error);
    handle_ = handle;
    rec_size_ = recSize;
}

int TUntypedFile::ReadRecords(void* buffer, int32_t count, int32_t& read) {
    read = 0;
    if (!IsOpen()) return ioFileNotOpen;
    if (count < 0) return ioInvalidParameter;
    int64_t done = 0;
    int error = FileBackend::Read(handle_, buffer, static_cast<int64_t>(count) * rec_size_, done);
    read = static_cast<int32_t>(done / rec_size_);
    return error;
}

int TUntypedFile::WriteRecords(const void* buffer, int32_t count, int32_t& written) {
    written = 0;
    if (!IsOpen()) return ioFileNotOpen;
    if (count < 0) return ioInvalidParameter;
    int64_t done = 0;
    int error = FileBackend::Write(handle_, buffer, static_cast<int64_t>(count) * rec_size_, done);
    written = static_cast<int32_t>(done / rec_size_);
    return error;
}

void TUntypedFile::BlockRead(void* buffer, int32_t count) {
    int32_t read;
    int error = ReadRecords(buffer, count, read);
    Fail(error ? error : read < count ? ioEndOfFile : 0);
}

void TUntypedFile::BlockRead(void* buffer, int32_t count, int32_t& read) {
    Fail(ReadRecords(buffer, count, read));
}

void TUntypedFile::BlockWrite(const void* buffer, int32_t count) {
    int32_t written;
    int error = WriteRecords(buffer, count, written);
    Fail(error ? error : written < count ? ioDiskFull : 0);
}

void TUntypedFile::BlockWrite(const void* buffer, int32_t count, int32_t& written) {
    Fail(WriteRecords(buffer, count, written));
}

void TUntypedFile::Seek(int64_t position) {
    if (!IsOpen()) return Fail(ioFileNotOpen);
    if (position < 0) return Fail(ioNegativeSeek);
    if (position > INT64_MAX / rec_size_) return Fail(ioInvalidParameter);
    Fail(FileBackend::Seek(handle_, position * rec_size_));
}

int64_t TUntypedFile::FilePos() {
    int64_t position = 0;
    if (!IsOpen()) Fail(ioFileNotOpen);
    else Fail(FileBackend::Position(handle_, position));
    return position / rec_size_;
}

int64_t TUntypedFile::FileSize() {
    int64_t size = 0;
    if (!IsOpen()) Fail(ioFileNotOpen);
    else Fail(FileBackend::Size(handle_, size));
    return size / rec_size_;
}

bool TUntypedFile::Eof() {
    if (!IsOpen()) {
        Fail(ioFileNotOpen);
        return true;
    }
    int64_t position = 0, size = 0;
    int error = FileBackend::Position(handle_, position);
    if (!error) error = FileBackend::Size(handle_, size);
    Fail(error);
    return error != 0 || position >= size;
}

void TUntypedFile::Close() {
    if (!IsOpen()) return Fail(ioFileNotOpen);
    int error = FileBackend::Close(handle_);
    handle_ = FileBackend::kNoHandle;
    Fail(error);
}
