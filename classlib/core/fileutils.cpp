#include "classlib/core/fileutils.h"

#include <mutex>

#include "classlib/core/fileutils_platform.h"
#include "classlib/core/paths.h"

namespace {

std::mutex& TestingLock() {
    static std::mutex lock;
    return lock;
}

std::optional<std::vector<std::string>>& TestingParams() {
    static std::optional<std::vector<std::string>> params;
    return params;
}

std::vector<std::string> Params() {
    {
        std::lock_guard<std::mutex> guard(TestingLock());
        if (TestingParams()) return *TestingParams();
    }
    return FileUtilsPlatform::ProgramParams();
}

}  // namespace

bool ForceDirectories(const std::string& directory) {
    std::string dir = ExcludeTrailingBackslash(directory);
    if (dir.empty()) return !directory.empty() && DirectoryExists(directory);  // "\" is a root
    if (DirectoryExists(dir)) return true;
    std::string parent = ExtractFileDir(dir);
    // A drive or root gives itself as parent and cannot be created.
    if (!parent.empty() && parent.size() < dir.size() && !ForceDirectories(parent)) return false;
    // Another process may have made it meanwhile.
    return CreateDir(dir) || DirectoryExists(dir);
}

std::vector<std::string> ParseCommandLine(const std::string& commandLine) {
    std::vector<std::string> params;
    size_t i = 0, n = commandLine.size();
    auto blank = [&](size_t at) { return static_cast<unsigned char>(commandLine[at]) <= ' '; };
    for (;;) {
        while (i < n && blank(i)) ++i;
        if (i >= n) break;
        std::string param;
        bool quoted = false;
        for (; i < n && (quoted || !blank(i)); ++i) {
            if (commandLine[i] == '"') quoted = !quoted;
            else param += commandLine[i];
        }
        params.push_back(std::move(param));
    }
    return params;
}

void SetCommandLineForTesting(std::optional<std::string> commandLine) {
    std::lock_guard<std::mutex> guard(TestingLock());
    if (commandLine) TestingParams() = ParseCommandLine(*commandLine);
    else TestingParams().reset();
}

int ParamCount() {
    std::vector<std::string> params = Params();
    return params.empty() ? 0 : static_cast<int>(params.size()) - 1;
}

std::string ParamStr(int index) {
    if (index == 0) return FileUtilsPlatform::ProgramFileName();
    std::vector<std::string> params = Params();
    if (index < 0 || static_cast<size_t>(index) >= params.size()) return std::string();
    return params[static_cast<size_t>(index)];
}
