#include "runtime/dir_mon_worker.h"

#include "classlib/gui/scoped_win32.h"

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
    void CloseNotification(HANDLE notification) override { TChangeNotification closed(notification); }
    void PostChange(HWND window) override { PostMessageA(window, WM_DIRCHANGE, 0, 0); }
    void ReleaseMutex(HANDLE mutex) override { ::ReleaseMutex(mutex); }
    DWORD LastError() override { return GetLastError(); }
};

// The worker's change notification, closed through its calls on every way
// out; empty when none could be made.
class TWatchedNotification {
public:
    TWatchedNotification(TDirMonCalls& calls, HANDLE notification) noexcept
        : calls_(calls), notification_(notification == INVALID_HANDLE_VALUE ? nullptr : notification) {}
    TWatchedNotification(const TWatchedNotification&) = delete;
    TWatchedNotification& operator=(const TWatchedNotification&) = delete;
    ~TWatchedNotification() {
        if (notification_) calls_.CloseNotification(notification_);
    }

    HANDLE Get() const noexcept { return notification_; }

private:
    TDirMonCalls& calls_;
    HANDLE notification_;
};

}  // namespace

DWORD WatchDirectory(const TDirMonBlock* block, TDirMonCalls& calls) {
    if (!block) return 1;
    {
        TWatchedNotification notification(calls,
                                           calls.FindFirst(block->Directory, block->Nested, block->NotifyMask));
        // Nothing to watch: the owner still counts this monitor as running
        // and stops it as usual.
        if (!notification.Get()) return calls.LastError();
        for (;;) {
            DWORD result = calls.WaitForEither(notification.Get(), block->Mutex);
            if (result == WAIT_OBJECT_0) {
                calls.PostChange(block->Window);
                if (!calls.FindNext(notification.Get())) return calls.LastError();
            } else if (result == WAIT_OBJECT_0 + 1 || result == WAIT_ABANDONED_0 + 1) {
                // The owner let go of the mutex (or its thread ended holding
                // it): this thread holds it now.
                break;
            } else if (result == WAIT_FAILED) {
                // Waiting again would fail again at once, for ever.
                return calls.LastError();
            }
        }
    }
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
