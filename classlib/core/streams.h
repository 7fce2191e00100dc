// Byte streams: the abstract stream, handle and file streams, memory streams.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "classlib/core/object.h"

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream : public TObject {
public:
    // Reads up to count bytes; returns how many were read.
    virtual int32_t Read(void* buffer, int32_t count) = 0;
    // Writes up to count bytes; returns how many were written.
    virtual int32_t Write(const void* buffer, int32_t count) = 0;
    virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;

    int64_t Position();
    void SetPosition(int64_t position);
    virtual int64_t Size();
    virtual void SetSize(int64_t size);

    // Exactly count bytes or EReadError "Stream-Read-Fehler".
    void ReadBuffer(void* buffer, int32_t count);
    // Exactly count bytes or EWriteError "Stream-Write-Fehler".
    void WriteBuffer(const void* buffer, int32_t count);
    // Copies count bytes from source (count 0: all of source from its start).
    int64_t CopyFrom(TStream& source, int64_t count);
};

// A stream over an operating-system file handle that it does not own.
class THandleStream : public TStream {
public:
    explicit THandleStream(intptr_t handle) : handle_(handle) {}
    intptr_t Handle() const { return handle_; }
    int32_t Read(void* buffer, int32_t count) override;
    int32_t Write(const void* buffer, int32_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    void SetSize(int64_t size) override;

protected:
    intptr_t handle_;
};

// File open modes: the low bits choose the access, the next ones the
// sharing; fmCreate creates or truncates.
enum : uint16_t {
    fmOpenRead = 0x0000, fmOpenWrite = 0x0001, fmOpenReadWrite = 0x0002,
    fmShareCompat = 0x0000, fmShareExclusive = 0x0010, fmShareDenyWrite = 0x0020,
    fmShareDenyRead = 0x0030, fmShareDenyNone = 0x0040, fmCreate = 0xFFFF
};

// A stream over a named file it opens and closes. Raises EFOpenError or
// EFCreateError when the file cannot be opened or created.
class TFileStream : public THandleStream {
public:
    TFileStream(const std::string& fileName, uint16_t mode);
    ~TFileStream() override;
    const std::string& FileName() const { return file_name_; }

private:
    std::string file_name_;
};

// A stream held in memory.
class TMemoryStream : public TStream {
public:
    int32_t Read(void* buffer, int32_t count) override;
    int32_t Write(const void* buffer, int32_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    int64_t Size() override { return static_cast<int64_t>(data_.size()); }
    void SetSize(int64_t size) override;

    const uint8_t* Memory() const { return data_.data(); }
    uint8_t* Memory() { return data_.data(); }
    const std::vector<uint8_t>& Bytes() const { return data_; }
    void Clear();
    void LoadFromStream(TStream& stream);
    void SaveToStream(TStream& stream);
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName);

private:
    std::vector<uint8_t> data_;
    int64_t position_ = 0;
};

// A memory stream over a string's bytes.
class TStringStream : public TMemoryStream {
public:
    explicit TStringStream(const std::string& data = std::string());
    std::string DataString() const;
};
