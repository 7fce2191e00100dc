#include "classlib/dialogs/file_dialog_text.h"

#include <algorithm>
#include <cstring>

#include "classlib/core/paths.h"

std::string PlatformFilter(const std::string& filter) {
    if (filter.empty()) return {};
    std::string result = filter;
    std::replace(result.begin(), result.end(), '|', '\0');
    // The list ends at an empty string; two zeros end it whatever the
    // filter's last character was.
    result.push_back('\0');
    result.push_back('\0');
    return result;
}

std::string PlatformDefaultExt(const std::string& ext) {
    size_t start = ext.find_first_not_of('.');
    return start == std::string::npos ? std::string() : ext.substr(start);
}

namespace {

bool IsAbsolute(const std::string& name) {
    return (name.size() >= 2 && name[1] == ':') || (!name.empty() && IsPathSeparator(name[0]));
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (IsAbsolute(name) || folder.empty()) return name;
    return IncludeTrailingBackslash(folder) + name;
}

std::vector<std::string> FolderAndNames(std::vector<std::string> parts) {
    if (parts.size() <= 1) return parts;
    std::vector<std::string> files;
    for (size_t i = 1; i < parts.size(); ++i) files.push_back(JoinPath(parts[0], parts[i]));
    return files;
}

}  // namespace

std::vector<std::string> SelectedFiles(const char* buffer, size_t size, bool multiSelect, bool explorerStyle) {
    auto stringAt = [&](size_t pos) {
        const char* start = buffer + pos;
        const void* zero = memchr(start, '\0', size - pos);
        size_t length = zero ? static_cast<size_t>(static_cast<const char*>(zero) - start) : size - pos;
        return std::string(start, length);
    };
    if (!buffer || size == 0) return {};
    std::string first = stringAt(0);
    if (first.empty()) return {};
    if (!multiSelect) return {first};

    std::vector<std::string> parts;
    if (explorerStyle) {
        for (size_t pos = 0; pos < size;) {
            std::string part = stringAt(pos);
            if (part.empty()) break;
            pos += part.size() + 1;
            parts.push_back(std::move(part));
        }
    } else {
        // Old-style dialogs give short names, which hold no blanks.
        for (size_t pos = 0; pos < first.size();) {
            size_t blank = first.find(' ', pos);
            if (blank == std::string::npos) blank = first.size();
            if (blank > pos) parts.push_back(first.substr(pos, blank - pos));
            pos = blank + 1;
        }
    }
    return FolderAndNames(std::move(parts));
}
