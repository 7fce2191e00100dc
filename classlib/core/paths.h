// File-name handling on Windows path strings. '\' and '/' both separate
// folders, as the system takes them in any name a user types, and ':' ends
// a drive. What these functions build uses '\'. Folder and drive names
// compare without regard to ASCII case. Indexes are 0-based.
#pragma once
#include <string>

// Whether c separates folders.
constexpr bool IsPathSeparator(char c) {
    return c == '\\' || c == '/';
}
// Index of the last separator in path; npos when it has none.
size_t LastPathSeparator(const std::string& path);

// Up to and including the last separator or ':' ("C:\a\b.txt" -> "C:\a\").
std::string ExtractFilePath(const std::string& fileName);
// After the last separator or ':'.
std::string ExtractFileName(const std::string& fileName);
// The folder without its trailing separator, except for a root ("C:\", "\").
std::string ExtractFileDir(const std::string& fileName);
// "C:" or "\\server\share"; "" for a path without a drive.
std::string ExtractFileDrive(const std::string& fileName);
// The extension with its dot ("a.tar.gz" -> ".gz"); "" when the name has none.
std::string ExtractFileExt(const std::string& fileName);
// Replaces the extension (or appends one); extension includes the dot.
std::string ChangeFileExt(const std::string& fileName, const std::string& extension);

// Appends '\' unless the path ends in a separator.
std::string IncludeTrailingBackslash(const std::string& path);
// Drops one trailing separator.
std::string ExcludeTrailingBackslash(const std::string& path);
// Whether s[index] is a separator; false outside the string.
bool IsPathDelimiter(const std::string& s, int index);

// destName relative to the folder of baseName (a file name: its folder is
// ExtractFilePath(baseName), so pass folders with a trailing '\'). When both
// have the same drive and are both rooted or both not, the shared leading
// folders are dropped, each further folder of the base becomes "..\" and
// the rest of destName follows; otherwise destName is returned unchanged.
std::string ExtractRelativePath(const std::string& baseName, const std::string& destName);

// A linked file's path as a menu document stores it: relative to the folder
// of the executable exeName when both lie on the same drive. Paths without a
// drive (already relative), on another drive, or empty stay unchanged.
std::string MakeRelativeToExe(const std::string& path, const std::string& exeName);
