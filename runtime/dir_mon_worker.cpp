#include "runtime/dir_mon_worker.h"

namespace {

class TSystemDirMonCalls : public TDirMonCalls {
public:
    HANDLE FindFirst(const char* directory, bool nested, DWORD mask) override {
        return FindFirstChangeNotificationA(directory, nested ? TRUE : FALSE, mask);
    }
    DWORD WaitForEither(HANDLE notification, HANDLE mutex) override {
        HANDLE handles[2] = {notification, mutex};
        return WaitForMultipleObjects(2, handles, FALSE, INFINITE);
    }
    bool FindNext(HANDLE notification) override { return FindNextChangeNotification(notification) != FALSE; }
    void FindClose(HANDLE notification) override { FindCloseChangeNotification(notification); }
    void PostChange(HWND window) override { PostMessageA(window, WM_DIRCHANGE, 0, 0); }
    void ReleaseMutex(HANDLE mutex) override { ::ReleaseMutex(mutex); }
    DWORD LastError() override { return GetLastError(); }
};

}  // namespace

DWORD WatchDirectory(const TDirMonBlock* block, TDirMonCalls& calls) {
    if (!block) return 1;
    HANDLE notification = calls.FindFirst(block->Directory, block->Nested, block->NotifyMask);
    // Nothing to watch: the owner still counts this monitor as running and
    // stops it as usual.
    if (notification == INVALID_HANDLE_VALUE || !notification) return calls.LastError();
    for (;;) {
        DWORD result = calls.WaitForEither(notification, block->Mutex);
        if (result == WAIT_OBJECT_0) {
            calls.PostChange(block->Window);
            if (!calls.FindNext(notification)) {
                DWORD error = calls.LastError();
                calls.FindClose(notification);
                return error;
            }
        } else if (result == WAIT_OBJECT_0 + 1 || result == WAIT_ABANDONED_0 + 1) {
            // The owner let go of the mutex (or its thread ended holding
            // it): this thread holds it now.
            break;
        } else if (result == WAIT_FAILED) {
            // Waiting again would fail again at once, for ever.
            DWORD error = calls.LastError();
            calls.FindClose(notification);
            return error;
        }
    }
    calls.FindClose(notification);
    calls.ReleaseMutex(block->Mutex);
    return 0;
}

DWORD WINAPI DirMonThreadProc(LPVOID block) {
    TSystemDirMonCalls calls;
    try {
        return WatchDirectory(static_cast<const TDirMonBlock*>(block), calls);
    } catch (...) {
        return 1;
    }
}

HANDLE CreateDirMonThread(TDirMonBlock* block, DWORD* threadId) {
    return CreateThread(nullptr, 0, DirMonThreadProc, block, 0, threadId);
}

TDirMonThreadStarter StartDirMonThread = CreateDirMonThread;
