// The system's side of TThread: a thread that waits, suspended, until it is
// started, and can be waited for. One implementation per platform.
#pragma once
#include <cstdint>
#include <memory>

namespace thread_native {

class TNativeThread {
public:
    virtual ~TNativeThread() = default;
    virtual void Start() = 0;
    // True when the thread has ended within timeoutMs (-1: no limit).
    virtual bool WaitEnded(int timeoutMs) = 0;
    virtual uintptr_t Handle() const = 0;
    virtual uint32_t Id() const = 0;
    // Priority as TThreadPriority's ordinal.
    virtual void SetPriority(int priority) = 0;
};

// Raises EThread when the system has no thread to give.
std::unique_ptr<TNativeThread> CreateSuspendedThread(void (*entry)(void*), void* argument);
uint32_t CurrentThreadId();

}  // namespace thread_native
