#include <windows.h>

#include <algorithm>

#include "classlib/core/file_backend.h"
#include "classlib/core/file_handle_win32.h"
#include "classlib/core/file_size_limit.h"

namespace FileBackend {

namespace {

// ReadFile / WriteFile take 32-bit counts.
constexpr int64_t kChunk = 1 << 30;

int LastError() {
    DWORD error = GetLastError();
    return error ? static_cast<int>(error) : ERROR_GEN_FAILURE;
}

int OpenWith(const std::string& name, DWORD access, DWORD share, DWORD disposition, Handle& handle) {
    HANDLE h = CreateFileA(name.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return LastError();
    handle = reinterpret_cast<Handle>(h);
    return 0;
}

}  // namespace

int Open(const std::string& name, Access access, Handle& handle) {
    static const DWORD rights[] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE};
    return OpenWith(name, rights[static_cast<int>(access)], FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING,
                    handle);
}

int Create(const std::string& name, Handle& handle) {
    return OpenWith(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS, handle);
}

int CreateNew(const std::string& name, Handle& handle) {
    return OpenWith(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, CREATE_NEW, handle);
}

int Replace(const std::string& from, const std::string& to) {
    // Marks the user gave the old file; the read-only one never gets here,
    // and the archive mark is the new file's own.
    constexpr DWORD kCarried = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    const DWORD old = GetFileAttributesA(to.c_str()), fresh = GetFileAttributesA(from.c_str());
    if (old != INVALID_FILE_ATTRIBUTES && fresh != INVALID_FILE_ATTRIBUTES && (old & kCarried))
        SetFileAttributesA(from.c_str(), fresh | (old & kCarried));
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ? 0 : LastError();
}

bool IsMarkedReadOnly(const std::string& name) {
    const DWORD attributes = GetFileAttributesA(name.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

int Read(Handle handle, void* buffer, int64_t count, int64_t& done) {
    done = 0;
    auto* bytes = static_cast<char*>(buffer);
    while (done < count) {
        DWORD chunk = static_cast<DWORD>(std::min(count - done, kChunk)), n = 0;
        if (!ReadFile(FileHandleOf(handle), bytes + done, chunk, &n, nullptr)) return LastError();
        done += n;
        if (n < chunk) break;
    }
    return 0;
}

int Write(Handle handle, const void* buffer, int64_t count, int64_t& done) {
    done = 0;
    count = FittingBelowSizeLimit(handle, count);
    const auto* bytes = static_cast<const char*>(buffer);
    while (done < count) {
        DWORD chunk = static_cast<DWORD>(std::min(count - done, kChunk)), n = 0;
        if (!WriteFile(FileHandleOf(handle), bytes + done, chunk, &n, nullptr)) return LastError();
        done += n;
        if (n < chunk) break;
    }
    return 0;
}

int Seek(Handle handle, int64_t position) {
    LARGE_INTEGER distance;
    distance.QuadPart = position;
    return SetFilePointerEx(FileHandleOf(handle), distance, nullptr, FILE_BEGIN) ? 0 : LastError();
}

int Position(Handle handle, int64_t& position) {
    LARGE_INTEGER zero, result;
    zero.QuadPart = 0;
    if (!SetFilePointerEx(FileHandleOf(handle), zero, &result, FILE_CURRENT)) return LastError();
    position = result.QuadPart;
    return 0;
}

int Size(Handle handle, int64_t& size) {
    LARGE_INTEGER result;
    if (!GetFileSizeEx(FileHandleOf(handle), &result)) return LastError();
    size = result.QuadPart;
    return 0;
}

int Close(Handle handle) {
    return CloseHandle(FileHandleOf(handle)) ? 0 : LastError();
}

}  // namespace FileBackend
