#include "classlib/core/untyped_file.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t kReadBufferBytes = 64 * 1024;

}  // namespace

TUntypedFile::~TUntypedFile() {
    CloseQuietly();
}

void TUntypedFile::CloseQuietly() {
    read_pos_ = read_end_ = 0;
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
    if (recSize < 1) return SetInOutResult(ioInvalidParameter);
    if (name_.empty()) return SetInOutResult(ioFileNotAssigned);
    FileBackend::Handle handle = FileBackend::kNoHandle;
    int error;
    if (create) {
        error = FileBackend::Create(name_, handle);
    } else {
        int mode = FileMode;
        if (mode < 0 || mode > 2) return SetInOutResult(ioInvalidAccessCode);
        error = FileBackend::Open(name_, static_cast<FileBackend::Access>(mode), handle);
    }
    if (error) return SetInOutResult(error);
    handle_ = handle;
    rec_size_ = recSize;
}

int TUntypedFile::ReadRecords(void* buffer, int32_t count, int32_t& read) {
    read = 0;
    if (!IsOpen()) return ioFileNotOpen;
    if (count < 0) return ioInvalidParameter;
    int64_t done = 0;
    int error = ReadBytes(static_cast<uint8_t*>(buffer), static_cast<int64_t>(count) * rec_size_, done);
    read = static_cast<int32_t>(done / rec_size_);
    return error;
}

int TUntypedFile::ReadBytes(uint8_t* buffer, int64_t count, int64_t& done) {
    done = std::min<int64_t>(count, static_cast<int64_t>(read_end_ - read_pos_));
    if (done > 0) std::memcpy(buffer, read_buffer_.data() + read_pos_, static_cast<size_t>(done));
    read_pos_ += static_cast<size_t>(done);
    if (done == count) return 0;
    if (count - done >= static_cast<int64_t>(kReadBufferBytes)) {
        int64_t direct = 0;
        int error = FileBackend::Read(handle_, buffer + done, count - done, direct);
        done += direct;
        return error;
    }
    read_buffer_.resize(kReadBufferBytes);
    int64_t filled = 0;
    int error = FileBackend::Read(handle_, read_buffer_.data(), static_cast<int64_t>(kReadBufferBytes), filled);
    read_pos_ = 0;
    read_end_ = static_cast<size_t>(filled);
    const int64_t rest = std::min<int64_t>(count - done, filled);
    if (rest > 0) std::memcpy(buffer + done, read_buffer_.data(), static_cast<size_t>(rest));
    read_pos_ = static_cast<size_t>(rest);
    done += rest;
    return error;
}

int TUntypedFile::Settle() {
    const auto unread = static_cast<int64_t>(read_end_ - read_pos_);
    read_pos_ = read_end_ = 0;
    if (unread == 0) return 0;
    int64_t position = 0;
    int error = FileBackend::Position(handle_, position);
    return error ? error : FileBackend::Seek(handle_, position - unread);
}

int TUntypedFile::WriteRecords(const void* buffer, int32_t count, int32_t& written) {
    written = 0;
    if (!IsOpen()) return ioFileNotOpen;
    if (count < 0) return ioInvalidParameter;
    if (int error = Settle()) return error;
    int64_t done = 0;
    int error = FileBackend::Write(handle_, buffer, static_cast<int64_t>(count) * rec_size_, done);
    written = static_cast<int32_t>(done / rec_size_);
    return error;
}

void TUntypedFile::BlockRead(void* buffer, int32_t count) {
    int32_t read;
    int error = ReadRecords(buffer, count, read);
    SetInOutResult(error ? error : read < count ? ioEndOfFile : 0);
}

void TUntypedFile::BlockRead(void* buffer, int32_t count, int32_t& read) {
    SetInOutResult(ReadRecords(buffer, count, read));
}

void TUntypedFile::BlockWrite(const void* buffer, int32_t count) {
    int32_t written;
    int error = WriteRecords(buffer, count, written);
    SetInOutResult(error ? error : written < count ? ioDiskFull : 0);
}

void TUntypedFile::BlockWrite(const void* buffer, int32_t count, int32_t& written) {
    SetInOutResult(WriteRecords(buffer, count, written));
}

void TUntypedFile::Seek(int64_t position) {
    if (!IsOpen()) return SetInOutResult(ioFileNotOpen);
    if (position < 0) return SetInOutResult(ioNegativeSeek);
    if (position > INT64_MAX / rec_size_) return SetInOutResult(ioInvalidParameter);
    read_pos_ = read_end_ = 0;
    SetInOutResult(FileBackend::Seek(handle_, position * rec_size_));
}

int64_t TUntypedFile::FilePos() {
    int64_t position = 0;
    if (!IsOpen()) SetInOutResult(ioFileNotOpen);
    else SetInOutResult(FileBackend::Position(handle_, position));
    position -= static_cast<int64_t>(read_end_ - read_pos_);
    return position / rec_size_;
}

int64_t TUntypedFile::FileSize() {
    int64_t size = 0;
    if (!IsOpen()) SetInOutResult(ioFileNotOpen);
    else SetInOutResult(FileBackend::Size(handle_, size));
    return size / rec_size_;
}

bool TUntypedFile::Eof() {
    if (!IsOpen()) {
        SetInOutResult(ioFileNotOpen);
        return true;
    }
    if (read_pos_ < read_end_) return false;
    int64_t position = 0, size = 0;
    int error = FileBackend::Position(handle_, position);
    if (!error) error = FileBackend::Size(handle_, size);
    SetInOutResult(error);
    return error != 0 || position >= size;
}

void TUntypedFile::Close() {
    if (!IsOpen()) return SetInOutResult(ioFileNotOpen);
    read_pos_ = read_end_ = 0;
    int error = FileBackend::Close(handle_);
    handle_ = FileBackend::kNoHandle;
    SetInOutResult(error);
}
