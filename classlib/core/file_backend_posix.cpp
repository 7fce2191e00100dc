#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "classlib/core/file_backend.h"
#include "classlib/core/file_size_limit.h"

namespace FileBackend {

namespace {

constexpr int64_t kChunk = 1 << 30;

// errno in the Windows numbering the I/O results use.
int ErrorCode(int error) {
    switch (error) {
    case ENOENT: return 2;
    case ENOTDIR: return 3;
    case EMFILE:
    case ENFILE: return 4;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
    case EBADF: return 5;  // EBADF: reading a write-only descriptor or the reverse
    case EEXIST: return 80;
    case EINVAL: return 87;
    case ENOSPC: return 112;
    case ENAMETOOLONG: return 206;
    default: return 31;
    }
}

// ENOENT for a missing folder is "path not found" on Windows.
int OpenError(const std::string& name) {
    int error = errno;
    if (error == ENOENT) {
        size_t slash = name.find_last_of('/');
        std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : name.substr(0, slash);
        struct stat info;
        if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return 3;
    }
    return ErrorCode(error);
}

int OpenWith(const std::string& name, int flags, Handle& handle) {
    int fd;
    do fd = ::open(name.c_str(), flags | O_CLOEXEC, 0666);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) return OpenError(name);
    // Folders open for reading here; Windows refuses them.
    struct stat info;
    if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(fd);
        return 5;
    }
    handle = fd;
    return 0;
}

}  // namespace

int Open(const std::string& name, Access access, Handle& handle) {
    static const int flags[] = {O_RDONLY, O_WRONLY, O_RDWR};
    return OpenWith(name, flags[static_cast<int>(access)], handle);
}

int Create(const std::string& name, Handle& handle) {
    return OpenWith(name, O_RDWR | O_CREAT | O_TRUNC, handle);
}

int CreateNew(const std::string& name, Handle& handle) {
    return OpenWith(name, O_RDWR | O_CREAT | O_EXCL, handle);
}

int Replace(const std::string& from, const std::string& to) {
    struct stat old;
    if (::stat(to.c_str(), &old) == 0) ::chmod(from.c_str(), old.st_mode & 07777);
    return ::rename(from.c_str(), to.c_str()) != 0 ? ErrorCode(errno) : 0;
}

bool IsMarkedReadOnly(const std::string& name) {
    struct stat info;
    return ::stat(name.c_str(), &info) == 0 && (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

int Read(Handle handle, void* buffer, int64_t count, int64_t& done) {
    done = 0;
    auto* bytes = static_cast<char*>(buffer);
    while (done < count) {
        ssize_t n = ::read(static_cast<int>(handle), bytes + done, static_cast<size_t>(std::min(count - done, kChunk)));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return ErrorCode(errno);
        if (n == 0) break;
        done += n;
    }
    return 0;
}

int Write(Handle handle, const void* buffer, int64_t count, int64_t& done) {
    done = 0;
    count = FittingBelowSizeLimit(handle, count);
    const auto* bytes = static_cast<const char*>(buffer);
    while (done < count) {
        ssize_t n = ::write(static_cast<int>(handle), bytes + done, static_cast<size_t>(std::min(count - done, kChunk)));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return ErrorCode(errno);
        if (n == 0) break;
        done += n;
    }
    return 0;
}

int Seek(Handle handle, int64_t position) {
    if (position < 0) return 131;  // as Windows: negative seek
    return ::lseek(static_cast<int>(handle), static_cast<off_t>(position), SEEK_SET) < 0 ? ErrorCode(errno) : 0;
}

int Position(Handle handle, int64_t& position) {
    off_t result = ::lseek(static_cast<int>(handle), 0, SEEK_CUR);
    if (result < 0) return ErrorCode(errno);
    position = result;
    return 0;
}

int Size(Handle handle, int64_t& size) {
    struct stat info;
    if (::fstat(static_cast<int>(handle), &info) != 0) return ErrorCode(errno);
    size = info.st_size;
    return 0;
}

int Close(Handle handle) {
    return ::close(static_cast<int>(handle)) != 0 ? ErrorCode(errno) : 0;
}

}  // namespace FileBackend
