// Operating-system file access for untyped and text files. Every function
// returns 0 or an error code in the Windows numbering (the POSIX twin maps
// errno onto it), so callers can store it as an I/O result.
#pragma once
#include <cstdint>
#include <string>

namespace FileBackend {

using Handle = intptr_t;
inline constexpr Handle kNoHandle = -1;

enum class Access { Read = 0, Write = 1, ReadWrite = 2 };

// Opens an existing file; others may still read and write it.
int Open(const std::string& name, Access access, Handle& handle);
// Creates a file or truncates an existing one, for reading and writing.
int Create(const std::string& name, Handle& handle);
// Creates a file that does not exist yet, for reading and writing; an
// existing one is left alone and gives 80 (file exists).
int CreateNew(const std::string& name, Handle& handle);
// Puts the closed file `from` in the place of `to` in one step, replacing a
// file of that name, whose marks (hidden, system; on POSIX its permissions)
// the new one takes over; afterwards only `to` exists. Both lie in one
// folder. The system may replace a file marked read-only: ask first.
int Replace(const std::string& from, const std::string& to);
// Whether the file carries the read-only mark (on POSIX: no write
// permission for anyone), whoever asks; false for a missing file.
bool IsMarkedReadOnly(const std::string& name);
// Transfer up to count bytes; done tells how many moved, also on failure.
// A short transfer without an error means end of file (read) or a full
// medium (write).
int Read(Handle handle, void* buffer, int64_t count, int64_t& done);
int Write(Handle handle, const void* buffer, int64_t count, int64_t& done);

// For tests: a medium on which no file grows beyond `bytes` bytes. A write
// that would go further moves only what fits and still reports success, as
// the system does at the end of a medium. Negative (the default): no limit.
void SetFileSizeLimitForTesting(int64_t bytes);

// The limit above for a scope.
class TFileSizeLimitForTesting {
public:
    explicit TFileSizeLimitForTesting(int64_t bytes) { SetFileSizeLimitForTesting(bytes); }
    ~TFileSizeLimitForTesting() { SetFileSizeLimitForTesting(-1); }
    TFileSizeLimitForTesting(const TFileSizeLimitForTesting&) = delete;
    TFileSizeLimitForTesting& operator=(const TFileSizeLimitForTesting&) = delete;
};

// Positions are bytes from the start.
int Seek(Handle handle, int64_t position);
int Position(Handle handle, int64_t& position);
int Size(Handle handle, int64_t& size);
int Close(Handle handle);

}  // namespace FileBackend
