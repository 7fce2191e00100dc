#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

#include "classlib/core/fileutils.h"
#include "classlib/core/fileutils_platform.h"

namespace {

bool StatMode(const std::string& name, mode_t& mode) {
    struct stat info;
    if (name.empty() || ::stat(name.c_str(), &info) != 0) return false;
    mode = info.st_mode;
    return true;
}

}  // namespace

bool FileExists(const std::string& fileName) {
    mode_t mode;
    return StatMode(fileName, mode) && !S_ISDIR(mode);
}

bool DirectoryExists(const std::string& directory) {
    mode_t mode;
    return StatMode(directory, mode) && S_ISDIR(mode);
}

bool DeleteFile(const std::string& fileName) {
    return FileExists(fileName) && ::unlink(fileName.c_str()) == 0;
}

bool RenameFile(const std::string& oldName, const std::string& newName) {
    // rename() would replace newName; Windows refuses, and so do we.
    mode_t mode;
    if (StatMode(newName, mode)) return false;
    return ::rename(oldName.c_str(), newName.c_str()) == 0;
}

bool CreateDir(const std::string& directory) {
    return ::mkdir(directory.c_str(), 0777) == 0;
}

std::string GetCurrentDir() {
    std::string buffer(PATH_MAX, '\0');
    if (!::getcwd(buffer.data(), buffer.size())) return std::string();
    buffer.resize(std::char_traits<char>::length(buffer.c_str()));
    return buffer;
}

bool SetCurrentDir(const std::string& directory) {
    return ::chdir(directory.c_str()) == 0;
}

std::string GetTempDirectory() {
    const char* tmp = ::getenv("TMPDIR");
    std::string dir = tmp && *tmp ? tmp : "/tmp";
    if (dir.back() != '/') dir += '/';
    return dir;
}

namespace FileUtilsPlatform {

std::vector<std::string> ProgramParams() {
    // NUL-separated arguments, taken as they are (no quote parsing).
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> params;
    size_t start = 0;
    while (start < all.size()) {
        size_t end = all.find('\0', start);
        if (end == std::string::npos) end = all.size();
        params.push_back(all.substr(start, end - start));
        start = end + 1;
    }
    return params;
}

std::string ProgramFileName() {
    std::string buffer(PATH_MAX, '\0');
    ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n <= 0) return std::string();
    buffer.resize(static_cast<size_t>(n));
    return buffer;
}

}  // namespace FileUtilsPlatform

std::string ExpandFileName(const std::string& fileName) {
    if (fileName.empty() || fileName[0] == '/') return fileName;
    std::string folder = GetCurrentDir();
    return folder.empty() ? fileName : folder + '/' + fileName;
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat x {}, y {};
    if (stat(a.c_str(), &x) != 0 || stat(b.c_str(), &y) != 0) return a == b;
    return x.st_dev == y.st_dev && x.st_ino == y.st_ino;
}
