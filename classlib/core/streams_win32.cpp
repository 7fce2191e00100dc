#include <windows.h>

#include "classlib/core/exceptions.h"
#include "classlib/core/file_handle_win32.h"
#include "classlib/core/resstrings.h"
#include "classlib/core/streams.h"
#include "classlib/core/strutils.h"


int32_t THandleStream::Read(void* buffer, int32_t count) {
    DWORD read = 0;
    if (count <= 0 || !ReadFile(FileHandleOf(handle_), buffer, static_cast<DWORD>(count), &read, nullptr)) return 0;
    return static_cast<int32_t>(read);
}

int32_t THandleStream::Write(const void* buffer, int32_t count) {
    DWORD written = 0;
    if (count <= 0 || !WriteFile(FileHandleOf(handle_), buffer, static_cast<DWORD>(count), &written, nullptr)) return 0;
    return static_cast<int32_t>(written);
}

int64_t THandleStream::Seek(int64_t offset, TSeekOrigin origin) {
    LARGE_INTEGER distance, result;
    distance.QuadPart = offset;
    DWORD method = origin == soBeginning ? FILE_BEGIN : origin == soCurrent ? FILE_CURRENT : FILE_END;
    if (!SetFilePointerEx(FileHandleOf(handle_), distance, &result, method)) return -1;
    return result.QuadPart;
}

void THandleStream::SetSize(int64_t size) {
    Seek(size, soBeginning);
    if (!SetEndOfFile(FileHandleOf(handle_))) throw EStreamError(LoadStr(SWriteError));
}

TFileStream::TFileStream(const std::string& fileName, uint16_t mode) : THandleStream(-1), file_name_(fileName) {
    HANDLE h;
    if (mode == fmCreate) {
        h = CreateFileA(fileName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) throw EFCreateError(Format(LoadStr(SFCreateError), {fileName}));
    } else {
        static const DWORD access[] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE};
        static const DWORD share[] = {FILE_SHARE_READ | FILE_SHARE_WRITE, 0, FILE_SHARE_READ, FILE_SHARE_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE};
        unsigned a = mode & 3u, s = (mode & 0xF0u) >> 4;
        if (a > 2 || s > 4) throw EFOpenError(Format(LoadStr(SFOpenError), {fileName}));
        h = CreateFileA(fileName.c_str(), access[a], share[s], nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                        nullptr);
        if (h == INVALID_HANDLE_VALUE) throw EFOpenError(Format(LoadStr(SFOpenError), {fileName}));
    }
    handle_ = reinterpret_cast<intptr_t>(h);
}

TFileStream::~TFileStream() {
    if (handle_ != -1) CloseHandle(FileHandleOf(handle_));
}
