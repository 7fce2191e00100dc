#include <windows.h>

#include <process.h>

#include "classlib/core/kernel_handle.h"
#include "classlib/core/thread.h"
#include "classlib/core/thread_native.h"

namespace thread_native {
namespace {

struct TStart {
    void (*entry)(void*);
    void* argument;
};

class TWin32Thread : public TNativeThread {
public:
    TWin32Thread(void (*entry)(void*), void* argument) : start_{entry, argument} {
        unsigned id = 0;
        // The C runtime's own start, so that it keeps its per-thread data.
        handle_.Reset(reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &Trampoline, &start_, CREATE_SUSPENDED, &id)));
        if (!handle_) throw EThread("Thread creation error: the system gave no thread");
        id_ = id;
    }
    void Start() override { ResumeThread(handle_.Get()); }
    bool WaitEnded(int timeoutMs) override {
        return WaitForSingleObject(handle_.Get(), timeoutMs < 0 ? INFINITE : static_cast<DWORD>(timeoutMs)) ==
               WAIT_OBJECT_0;
    }
    uintptr_t Handle() const override { return reinterpret_cast<uintptr_t>(handle_.Get()); }
    uint32_t Id() const override { return id_; }
    void SetPriority(int priority) override {
        static const int kPriorities[] = {THREAD_PRIORITY_IDLE,   THREAD_PRIORITY_LOWEST,  THREAD_PRIORITY_BELOW_NORMAL,
                                          THREAD_PRIORITY_NORMAL, THREAD_PRIORITY_ABOVE_NORMAL,
                                          THREAD_PRIORITY_HIGHEST, THREAD_PRIORITY_TIME_CRITICAL};
        if (priority >= 0 && priority < 7) SetThreadPriority(handle_.Get(), kPriorities[priority]);
    }

private:
    static unsigned __stdcall Trampoline(void* parameter) {
        // The object may be gone once entry returns (a thread that frees
        // itself): nothing of it is touched afterwards.
        TStart start = *static_cast<TStart*>(parameter);
        start.entry(start.argument);
        return 0;
    }

    TStart start_;
    TKernelHandle handle_;
    uint32_t id_ = 0;
};

}  // namespace

std::unique_ptr<TNativeThread> CreateSuspendedThread(void (*entry)(void*), void* argument) {
    return std::make_unique<TWin32Thread>(entry, argument);
}

uint32_t CurrentThreadId() {
    return GetCurrentThreadId();
}

}  // namespace thread_native
