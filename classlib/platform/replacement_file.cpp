#include <windows.h>
#undef DeleteFile

#include "classlib/platform/replacement_file.h"

#include "classlib/core/fileutils.h"
#include "classlib/core/paths.h"

TReplacementFile::TReplacementFile(const std::string& destination) : destination_(destination) {
    std::string folder = ExtractFilePath(destination);
    if (folder.empty()) folder = ".";
    char name[MAX_PATH] = {};
    if (GetTempFileNameA(folder.c_str(), "qb", 0, name) != 0) name_ = name;
}

TReplacementFile::~TReplacementFile() {
    if (!name_.empty()) DeleteFile(name_);
}

bool TReplacementFile::Commit() {
    if (name_.empty()) return false;
    bool done = MoveFileExA(name_.c_str(), destination_.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
    if (!done) DeleteFile(name_);
    name_.clear();
    return done;
}
