#include "classlib/core/paths.h"

#include <vector>

#include "classlib/core/strutils.h"

namespace {

constexpr char kPathDelim = '\\';
constexpr char kDriveDelim = ':';

// Index of the last character that ends a folder or drive part; npos when none.
size_t LastFolderEnd(const std::string& fileName) {
    for (size_t i = fileName.size(); i > 0; --i)
        if (IsPathSeparator(fileName[i - 1]) || fileName[i - 1] == kDriveDelim) return i - 1;
    return std::string::npos;
}

size_t NameStart(const std::string& fileName) {
    size_t i = LastFolderEnd(fileName);
    return i == std::string::npos ? 0 : i + 1;
}

// Index of the extension's dot; npos when the name part has no dot.
size_t ExtensionDot(const std::string& fileName) {
    size_t i = fileName.rfind('.');
    return i != std::string::npos && i >= NameStart(fileName) ? i : std::string::npos;
}

// Index of the first separator from start on; npos when none.
size_t NextSeparator(const std::string& path, size_t start) {
    for (size_t i = start; i < path.size(); ++i)
        if (IsPathSeparator(path[i])) return i;
    return std::string::npos;
}

std::vector<std::string> SplitFolders(const std::string& path) {
    std::vector<std::string> folders;
    size_t start = 0;
    while (start < path.size()) {
        size_t end = NextSeparator(path, start);
        if (end == std::string::npos) end = path.size();
        if (end > start) folders.push_back(path.substr(start, end - start));  // doubled delimiters add none
        start = end + 1;
    }
    return folders;
}

// The folders of a path after its drive ("C:\a\" gives "\a\").
std::string AfterDrive(const std::string& path, const std::string& drive) {
    return path.size() > drive.size() ? path.substr(drive.size()) : std::string();
}

}  // namespace

size_t LastPathSeparator(const std::string& path) {
    for (size_t i = path.size(); i > 0; --i)
        if (IsPathSeparator(path[i - 1])) return i - 1;
    return std::string::npos;
}

std::string ExtractFilePath(const std::string& fileName) {
    return fileName.substr(0, NameStart(fileName));
}

std::string ExtractFileName(const std::string& fileName) {
    return fileName.substr(NameStart(fileName));
}

std::string ExtractFileDir(const std::string& fileName) {
    size_t end = NameStart(fileName);  // length of the path part
    // Drop the trailing separator unless it is the root's: "C:\", "\", "\\".
    if (end > 1 && IsPathSeparator(fileName[end - 1]) && !IsPathSeparator(fileName[end - 2]) &&
        fileName[end - 2] != kDriveDelim)
        --end;
    return fileName.substr(0, end);
}

std::string ExtractFileDrive(const std::string& fileName) {
    if (fileName.size() >= 2 && fileName[1] == kDriveDelim) return fileName.substr(0, 2);
    if (fileName.size() >= 2 && IsPathSeparator(fileName[0]) && IsPathSeparator(fileName[1])) {
        // "\\server\share": up to the delimiter after the share name.
        size_t server = NextSeparator(fileName, 2);
        if (server == std::string::npos) return fileName;
        size_t share = NextSeparator(fileName, server + 1);
        if (share == std::string::npos && server + 1 == fileName.size()) share = server;  // "\\server\" has no share
        return fileName.substr(0, share);
    }
    return std::string();
}

std::string ExtractFileExt(const std::string& fileName) {
    size_t dot = ExtensionDot(fileName);
    return dot == std::string::npos ? std::string() : fileName.substr(dot);
}

std::string ChangeFileExt(const std::string& fileName, const std::string& extension) {
    size_t dot = ExtensionDot(fileName);
    return fileName.substr(0, dot == std::string::npos ? fileName.size() : dot) + extension;
}

std::string IncludeTrailingBackslash(const std::string& path) {
    if (!path.empty() && IsPathSeparator(path.back())) return path;
    return path + kPathDelim;
}

std::string ExcludeTrailingBackslash(const std::string& path) {
    if (!path.empty() && IsPathSeparator(path.back())) return path.substr(0, path.size() - 1);
    return path;
}

bool IsPathDelimiter(const std::string& s, int index) {
    return index >= 0 && static_cast<size_t>(index) < s.size() && IsPathSeparator(s[static_cast<size_t>(index)]);
}

std::string ExtractRelativePath(const std::string& baseName, const std::string& destName) {
    std::string baseDrive = ExtractFileDrive(baseName);
    std::string destDrive = ExtractFileDrive(destName);
    if (!SameText(baseDrive, destDrive)) return destName;
    std::string baseFolders = AfterDrive(ExtractFilePath(baseName), baseDrive);
    std::string destFolders = AfterDrive(ExtractFilePath(destName), destDrive);
    // "C:\x" and "C:x" (relative to the drive's current folder) cannot be related.
    if (IsPathDelimiter(baseFolders, 0) != IsPathDelimiter(destFolders, 0)) return destName;

    std::vector<std::string> base = SplitFolders(baseFolders);
    std::vector<std::string> dest = SplitFolders(destFolders);
    size_t shared = 0;
    while (shared < base.size() && shared < dest.size() && SameText(base[shared], dest[shared])) ++shared;
    std::string result;
    for (size_t i = shared; i < base.size(); ++i) result += "..\\";
    for (size_t i = shared; i < dest.size(); ++i) result += dest[i] + kPathDelim;
    return result + ExtractFileName(destName);
}

std::string MakeRelativeToExe(const std::string& path, const std::string& exeName) {
    if (ExtractFileDrive(path).empty()) return path;
    return ExtractRelativePath(exeName, path);
}
