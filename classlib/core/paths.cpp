#include "classlib/core/paths.h"

#include <vector>

#include "classlib/core/strutils.h"

namespace {

constexpr char kPathDelim = '\\';
constexpr char kDriveDelim = ':';

size_t NameStart(const std::string& fileName) {
    size_t i = fileName.find_last_of("\\:");
    return i == std::string::npos ? 0 : i + 1;
}

// Index of the extension's dot; npos when the name part has no dot.
size_t ExtensionDot(const std::string& fileName) {
    size_t i = fileName.find_last_of(".\\:");
    return i != std::string::npos && fileName[i] == '.' ? i : std::string::npos;
}

std::vector<std::string> SplitFolders(const std::string& path) {
    std::vector<std::string> folders;
    size_t start = 0;
    while (start < path.size()) {
        size_t end = path.find(kPathDelim, start);
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

std::string ExtractFilePath(const std::string& fileName) {
    return fileName.substr(0, NameStart(fileName));
}

std::string ExtractFileName(const std::string& fileName) {
    return fileName.substr(NameStart(fileName));
}

std::string ExtractFileDir(const std::string& fileName) {
    size_t end = NameStart(fileName);  // length of the path part
    // Drop the trailing '\' unless it is the root's: "C:\", "\", "\\".
    if (end > 1 && fileName[end - 1] == kPathDelim && fileName[end - 2] != kPathDelim &&
        fileName[end - 2] != kDriveDelim)
        --end;
    return fileName.substr(0, end);
}

std::string ExtractFileDrive(const std::string& fileName) {
    if (fileName.size() >= 2 && fileName[1] == kDriveDelim) return fileName.substr(0, 2);
    if (fileName.size() >= 2 && fileName[0] == kPathDelim && fileName[1] == kPathDelim) {
        // "\\server\share": up to the delimiter after the share name.
        size_t server = fileName.find(kPathDelim, 2);
        if (server == std::string::npos) return fileName;
        size_t share = fileName.find(kPathDelim, server + 1);
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
    if (!path.empty() && path.back() == kPathDelim) return path;
    return path + kPathDelim;
}

std::string ExcludeTrailingBackslash(const std::string& path) {
    if (!path.empty() && path.back() == kPathDelim) return path.substr(0, path.size() - 1);
    return path;
}

bool IsPathDelimiter(const std::string& s, int index) {
    return index >= 0 && static_cast<size_t>(index) < s.size() && s[static_cast<size_t>(index)] == kPathDelim;
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
