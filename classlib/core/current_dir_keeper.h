// Puts the current folder back, when the scope ends, to the one in force
// when it began: system dialogs move it while the user browses, and names
// relative to it must keep resolving as before.
#pragma once
#include <string>

#include "classlib/core/fileutils.h"

class TCurrentDirKeeper {
public:
    TCurrentDirKeeper() : folder_(GetCurrentDir()) {}
    ~TCurrentDirKeeper() {
        if (!folder_.empty() && GetCurrentDir() != folder_) SetCurrentDir(folder_);
    }
    TCurrentDirKeeper(const TCurrentDirKeeper&) = delete;
    TCurrentDirKeeper& operator=(const TCurrentDirKeeper&) = delete;

private:
    std::string folder_;
};
