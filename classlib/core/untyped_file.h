// Untyped files as the classic runtime has them: transfers in records of a
// size fixed when the file is opened. No operation raises; each stores its
// failure in InOutRes (see io_result.h) and returns, and the caller checks
// with InOutCheck(). Sizes and positions are 64-bit, counted in records.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "classlib/core/file_backend.h"
#include "classlib/core/io_result.h"

class TUntypedFile {
public:
    TUntypedFile() = default;
    TUntypedFile(const TUntypedFile&) = delete;
    TUntypedFile& operator=(const TUntypedFile&) = delete;
    // Closes an open file; errors are ignored, so every path closes it.
    ~TUntypedFile();

    // Names the file; an open file is closed first rather than leaked.
    void Assign(const std::string& name);
    // Opens the existing file with the access FileMode gives; an open file
    // is closed first. recSize below 1 fails with ioInvalidParameter.
    void Reset(int32_t recSize = 1);
    // Creates the file or truncates it, for reading and writing.
    void Rewrite(int32_t recSize = 1);

    // Without a count variable, fewer records than asked is an error
    // (ioEndOfFile / ioDiskFull); with one it only tells how many moved.
    // Only whole records count; a partial one still advances the position.
    void BlockRead(void* buffer, int32_t count);
    void BlockRead(void* buffer, int32_t count, int32_t& read);
    void BlockWrite(const void* buffer, int32_t count);
    void BlockWrite(const void* buffer, int32_t count, int32_t& written);

    void Seek(int64_t position);
    // 0 (FilePos, FileSize) or true (Eof) when the file is not open.
    int64_t FilePos();
    int64_t FileSize();
    bool Eof();
    void Close();

    bool IsOpen() const { return handle_ != FileBackend::kNoHandle; }
    const std::string& Name() const { return name_; }

private:
    void Open(bool create, int32_t recSize);
    void CloseQuietly();
    int ReadRecords(void* buffer, int32_t count, int32_t& read);
    int ReadBytes(uint8_t* buffer, int64_t count, int64_t& done);
    // Puts the system's file position back where the caller stands, ahead
    // of which reading may have buffered.
    int Settle();
    int WriteRecords(const void* buffer, int32_t count, int32_t& written);

    std::string name_;
    FileBackend::Handle handle_ = FileBackend::kNoHandle;
    int32_t rec_size_ = 1;
    // Small reads are served from a buffer filled in large ones, so that
    // copies in 2048-byte blocks (building a menu, copying with progress)
    // do not ask the system for each block: ten times faster and more.
    std::vector<uint8_t> read_buffer_;
    size_t read_pos_ = 0, read_end_ = 0;
};
