#include "controls/path_utils.h"

#include "classlib/core/paths.h"
#include "classlib/gui/scoped_win32.h"
#include "classlib/gui/win32.h"

std::string RemoveTrailingBackslash(const std::string& path) {
    if (path.size() <= 1) return path;
    // The last character, a double-byte one counting as one.
    const char* last = CharPrevA(path.c_str(), path.c_str() + path.size());
    if (last != path.c_str() + path.size() - 1 || *last != '\\') return path;
    const bool driveRoot = path.size() == 3 && path[1] == ':' &&
                           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    if (driveRoot) return path;
    return path.substr(0, path.size() - 1);
}

bool IsExistingDirectory(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool ContainsAnyChar(const std::string& text, const std::string& chars) {
    return text.find_first_of(chars) != std::string::npos;
}

bool IsValidFileName(const std::string& name) {
    if (name.empty() || ContainsAnyChar(name, "<>\"[]|")) return false;
    return ExtractFileName(name).find('\\') == std::string::npos;
}

namespace {

std::string PathPart(const std::string& path, bool shortFirst) {
    WIN32_FIND_DATAA found{};
    if (!TFileSearch(FindFirstFileA(path.c_str(), &found))) return "";
    std::string longName = found.cFileName, shortName = found.cAlternateFileName;
    if (shortFirst) return shortName.empty() ? longName : shortName;
    return longName.empty() ? shortName : longName;
}

std::string ExpandPath(const std::string& path, bool shortForm) {
    std::string rest = path, result;
    for (size_t cut; (cut = LastPathSeparator(rest)) != std::string::npos; rest.erase(cut))
        result = "\\" + PathPart(rest, shortForm) + result;
    return rest + result;
}

}  // namespace

std::string GetLongPathPart(const std::string& path) { return PathPart(path, false); }
std::string GetShortPathPart(const std::string& path) { return PathPart(path, true); }
std::string ExpandToLongPath(const std::string& path) { return ExpandPath(path, false); }
std::string ExpandToShortPath(const std::string& path) { return ExpandPath(path, true); }
