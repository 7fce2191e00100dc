// Copying a file in 2048-byte blocks with a progress bar, keeping the
// window painted between blocks, then taking over the source's file times.
#pragma once
#include <string>

#include "classlib/gui/win32.h"

class TCopyProgress {
public:
    virtual ~TCopyProgress() = default;
    virtual void SetProStatus(int percent) = 0;
    // The window the copy works for: its paint messages are handled between
    // blocks, and it owns the box that reports a failure.
    virtual HWND ProgressWindow() = 0;
};

// Copies source to destination. Failures (the source missing, the
// destination not creatable, a read or write error, a write cut short at the
// end of a medium, source and destination being the same file) end in the
// message box "Could not copy file!" and leave the destination as it was:
// the copy is written beside it and takes its place only when complete.
// The progress goes back to 0 in every case. Returns whether the copy
// succeeded.
bool CopyFileWithProgress(const std::string& source, const std::string& destination, TCopyProgress& progress);
