// The directory monitor's worker: it waits on a change notification and on
// the owner's mutex, posts WM_DIRCHANGE for every change and ends when it
// can take the mutex. The worker never touches the component; all it knows
// is the block below.
#pragma once
#include <cstddef>

#include "classlib/gui/win32.h"

constexpr UINT WM_DIRCHANGE = WM_USER + 1;

// 263 characters and the terminator.
constexpr size_t DirMonDirectorySize = 264;

// What the owner hands to its worker; it outlives the worker.
struct TDirMonBlock {
    HWND Window = nullptr;
    HANDLE Mutex = nullptr;
    char Directory[DirMonDirectorySize] = {};
    DWORD NotifyMask = 0;
    bool Nested = false;
};

// The system calls the worker makes, replaceable to drive its loop in tests.
class TDirMonCalls {
public:
    virtual ~TDirMonCalls() = default;
    virtual HANDLE FindFirst(const char* directory, bool nested, DWORD mask) = 0;
    // Waits for either handle, without time limit (WaitForMultipleObjects).
    virtual DWORD WaitForEither(HANDLE notification, HANDLE mutex) = 0;
    virtual bool FindNext(HANDLE notification) = 0;
    virtual void CloseNotification(HANDLE notification) = 0;
    virtual void PostChange(HWND window) = 0;
    virtual void ReleaseMutex(HANDLE mutex) = 0;
    virtual DWORD LastError() = 0;
};

// The worker's whole run; returns its exit code: 0 after the owner's stop
// signal, 1 without a block, the system's error code when the directory
// cannot be watched or waiting fails.
DWORD WatchDirectory(const TDirMonBlock* block, TDirMonCalls& calls);

// The thread procedure: WatchDirectory with the system's own calls.
DWORD WINAPI DirMonThreadProc(LPVOID block);

// Starts the worker thread for a block (CreateThread by default); null on
// failure, with the system's error set. Replaceable so tests can watch or
// refuse the start.
using TDirMonThreadStarter = HANDLE (*)(TDirMonBlock* block, DWORD* threadId);
extern TDirMonThreadStarter StartDirMonThread;
HANDLE CreateDirMonThread(TDirMonBlock* block, DWORD* threadId);
