// The access with which Reset opens untyped files (FileMode), set for one
// scope and given back when it ends, also when it ends by an exception.
#pragma once
#include "classlib/core/io_result.h"

class TFileModeScope {
public:
    explicit TFileModeScope(int mode) : saved_(FileMode) { FileMode = mode; }
    ~TFileModeScope() { FileMode = saved_; }
    TFileModeScope(const TFileModeScope&) = delete;
    TFileModeScope& operator=(const TFileModeScope&) = delete;

private:
    int saved_;
};
