// The pending result of untyped- and text-file operations, kept as the
// classic runtime keeps it: an operation that fails stores its code in
// InOutRes and returns; the caller checks it later with InOutCheck() or
// IOResult(). Operations run even while a result is pending, and a later
// failure replaces the pending code (the latest error wins).
#pragma once
#include <atomic>
#include <string>

// Result codes of the runtime itself; other codes are the operating
// system's (2 file not found, 3 path not found, 5 access denied, ...).
enum : int {
    ioInvalidAccessCode = 12,     // FileMode out of range
    ioInvalidParameter = 87,      // record size or count out of range
    ioEndOfFile = 100,            // BlockRead without count variable read less
    ioDiskFull = 101,             // BlockWrite without count variable wrote less
    ioFileNotAssigned = 102,      // no file name
    ioFileNotOpen = 103,
    ioFileNotOpenForInput = 104,
    ioFileNotOpenForOutput = 105,
    ioNegativeSeek = 131,
};

// The pending code of this thread; 0 when none.
extern thread_local int InOutRes;
// Access with which Reset opens untyped files: 0 read only, 1 write only,
// 2 read/write (default). Shared by all threads.
extern std::atomic<int> FileMode;

// Makes a failed file operation's code (not 0) the pending one.
inline void SetInOutResult(int code) {
    if (code != 0) InOutRes = code;
}
// Returns the pending code and clears it.
int IOResult();
// Raises EInOutError for a pending code (clearing it); nothing when 0.
void InOutCheck();
// The German message for a result code ("E/A-Fehler %d" when it has none).
std::string InOutErrorMessage(int code);
