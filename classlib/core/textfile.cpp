#include "classlib/core/textfile.h"

namespace {

constexpr size_t kBufferSize = 4096;

}  // namespace

TTextFile::~TTextFile() {
    CloseQuietly();
}

void TTextFile::CloseQuietly() {
    if (IsOpen()) FileBackend::Close(handle_);
    handle_ = FileBackend::kNoHandle;
    mode_ = TMode::Closed;
    buffer_.clear();
    buffer_pos_ = buffer_end_ = 0;
}

void TTextFile::Assign(const std::string& name) {
    CloseQuietly();
    name_ = name;
}

bool TTextFile::Opened(int error, FileBackend::Handle handle, TMode mode) {
    if (error) {
        SetInOutResult(error);
        return false;
    }
    handle_ = handle;
    mode_ = mode;
    return true;
}

void TTextFile::Rewrite() {
    CloseQuietly();
    if (name_.empty()) return SetInOutResult(ioFileNotAssigned);
    FileBackend::Handle handle = FileBackend::kNoHandle;
    int error = FileBackend::Create(name_, handle);
    Opened(error, handle, TMode::Output);
}

void TTextFile::Append() {
    CloseQuietly();
    if (name_.empty()) return SetInOutResult(ioFileNotAssigned);
    FileBackend::Handle handle = FileBackend::kNoHandle;
    int error = FileBackend::Open(name_, FileBackend::Access::Write, handle);
    if (!Opened(error, handle, TMode::Output)) return;
    int64_t size = 0;
    error = FileBackend::Size(handle_, size);
    if (!error) error = FileBackend::Seek(handle_, size);
    if (error) {
        // Writing anywhere but the end would overwrite the file's text.
        CloseQuietly();
        SetInOutResult(error);
    }
}

void TTextFile::Reset() {
    CloseQuietly();
    if (name_.empty()) return SetInOutResult(ioFileNotAssigned);
    FileBackend::Handle handle = FileBackend::kNoHandle;
    int error = FileBackend::Open(name_, FileBackend::Access::Read, handle);
    if (Opened(error, handle, TMode::Input)) buffer_.resize(kBufferSize);
}

void TTextFile::Write(const std::string& text) {
    if (mode_ != TMode::Output) return SetInOutResult(mode_ == TMode::Closed ? ioFileNotOpen : ioFileNotOpenForOutput);
    int64_t done = 0;
    int error = FileBackend::Write(handle_, text.data(), static_cast<int64_t>(text.size()), done);
    SetInOutResult(error ? error : done < static_cast<int64_t>(text.size()) ? ioDiskFull : 0);
}

void TTextFile::WriteLn(const std::string& text) {
    Write(text + "\r\n");
}

bool TTextFile::HaveInput() {
    if (buffer_pos_ < buffer_end_) return true;
    int64_t done = 0;
    int error = FileBackend::Read(handle_, buffer_.data(), static_cast<int64_t>(buffer_.size()), done);
    SetInOutResult(error);
    buffer_pos_ = 0;
    buffer_end_ = static_cast<size_t>(done);
    return buffer_end_ > 0;
}

void TTextFile::ReadLn(std::string& line) {
    line.clear();
    if (mode_ != TMode::Input) return SetInOutResult(mode_ == TMode::Closed ? ioFileNotOpen : ioFileNotOpenForInput);
    while (HaveInput()) {
        const char* start = buffer_.data() + buffer_pos_;
        const char* end = buffer_.data() + buffer_end_;
        const char* p = start;
        while (p < end && *p != '\r' && *p != '\n') ++p;
        line.append(start, p);
        buffer_pos_ += static_cast<size_t>(p - start);
        if (p == end) continue;
        ++buffer_pos_;
        // A CR may end one buffer and its LF begin the next.
        if (*p == '\r' && HaveInput() && buffer_[buffer_pos_] == '\n') ++buffer_pos_;
        return;
    }
}

bool TTextFile::Eof() {
    if (mode_ != TMode::Input) {
        SetInOutResult(mode_ == TMode::Closed ? ioFileNotOpen : ioFileNotOpenForInput);
        return true;
    }
    return !HaveInput();
}

void TTextFile::Close() {
    if (!IsOpen()) return SetInOutResult(ioFileNotOpen);
    int error = FileBackend::Close(handle_);
    handle_ = FileBackend::kNoHandle;
    CloseQuietly();
    SetInOutResult(error);
}
