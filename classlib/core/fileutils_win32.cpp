#include <windows.h>
#undef DeleteFile

#include "classlib/core/fileutils.h"
#include "classlib/core/fileutils_platform.h"
#include "classlib/core/kernel_handle.h"
#include "classlib/core/paths.h"

namespace {

DWORD Attributes(const std::string& name) {
    return GetFileAttributesA(name.c_str());
}

// Calls fill(buffer, size) -> length until the text fits; "" on failure.
template <class Fill>
std::string GrowingBuffer(Fill fill) {
    std::string buffer(MAX_PATH, '\0');
    for (;;) {
        DWORD n = fill(buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return std::string();
        if (n < buffer.size()) {
            buffer.resize(n);
            return buffer;
        }
        buffer.resize(buffer.size() * 2 > n + 1 ? buffer.size() * 2 : n + 1);
    }
}

}  // namespace

bool FileExists(const std::string& fileName) {
    DWORD attributes = Attributes(fileName);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& directory) {
    DWORD attributes = Attributes(directory);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DeleteFile(const std::string& fileName) {
    return DeleteFileA(fileName.c_str()) != 0;
}

bool RenameFile(const std::string& oldName, const std::string& newName) {
    return MoveFileA(oldName.c_str(), newName.c_str()) != 0;  // never replaces an existing file
}

bool CreateDir(const std::string& directory) {
    return CreateDirectoryA(directory.c_str(), nullptr) != 0;
}

std::string GetCurrentDir() {
    return GrowingBuffer([](char* buffer, DWORD size) { return GetCurrentDirectoryA(size, buffer); });
}

bool SetCurrentDir(const std::string& directory) {
    return SetCurrentDirectoryA(directory.c_str()) != 0;
}

std::string GetTempDirectory() {
    return IncludeTrailingBackslash(
        GrowingBuffer([](char* buffer, DWORD size) { return GetTempPathA(size, buffer); }));
}

namespace FileUtilsPlatform {

std::vector<std::string> ProgramParams() {
    return ParseCommandLine(GetCommandLineA());
}

std::string ProgramFileName() {
    return GrowingBuffer([](char* buffer, DWORD size) { return GetModuleFileNameA(nullptr, buffer, size); });
}

}  // namespace FileUtilsPlatform

std::string ExpandFileName(const std::string& fileName) {
    std::string path = GrowingBuffer([&](char* buffer, DWORD size) {
        return GetFullPathNameA(fileName.c_str(), size, buffer, nullptr);
    });
    return path.empty() ? fileName : path;
}

bool SameFile(const std::string& a, const std::string& b) {
    if (lstrcmpiA(ExpandFileName(a).c_str(), ExpandFileName(b).c_str()) == 0) return true;
    auto identity = [](const std::string& name, BY_HANDLE_FILE_INFORMATION& info) {
        TKernelHandle file(CreateFileA(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        return file && GetFileInformationByHandle(file.Get(), &info) != FALSE;
    };
    BY_HANDLE_FILE_INFORMATION x{}, y{};
    return identity(a, x) && identity(b, y) && x.dwVolumeSerialNumber == y.dwVolumeSerialNumber &&
           x.nFileIndexHigh == y.nFileIndexHigh && x.nFileIndexLow == y.nFileIndexLow;
}
