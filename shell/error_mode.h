// The process error mode for the length of a scope: SEM_FAILCRITICALERRORS
// keeps the system's "no disk" dialog away while the shell probes a drive.
#pragma once
#include "classlib/gui/win32.h"

class TErrorModeScope {
public:
    explicit TErrorModeScope(UINT mode) noexcept : old_(SetErrorMode(mode)) {}
    ~TErrorModeScope() noexcept { SetErrorMode(old_); }
    TErrorModeScope(const TErrorModeScope&) = delete;
    TErrorModeScope& operator=(const TErrorModeScope&) = delete;

private:
    UINT old_;
};
