// TThread: a thread of its own that runs Execute, and Synchronize, which
// runs a method on the main thread while the calling thread waits for it.
// The main thread runs such methods when its message loop calls
// CheckSynchronize; the application does, woken by the wake-up it sets.
#pragma once
#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>

#include "classlib/core/events.h"
#include "classlib/core/exceptions.h"
#include "classlib/core/object.h"

CLASSLIB_EXCEPTION(EThread, Exception)

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

using TThreadMethod = std::function<void()>;

namespace thread_native {
class TNativeThread;
}

class TThread : public TObject {
public:
    // The thread exists from construction on; it runs Execute once New has
    // finished, or at Resume when created suspended.
    explicit TThread(bool createSuspended);
    ~TThread() override;
    void AfterConstruction() override;
    // An unfinished thread is terminated, started when still suspended and
    // waited for before the object goes.
    void BeforeDestruction() override;

    // Starts a thread created suspended; nothing otherwise.
    void Resume();
    // Asks Execute to end (it looks at Terminated).
    void Terminate();
    // Waits until the thread has ended and gives its ReturnValue. On the
    // main thread the synchronized methods of other threads keep running
    // meanwhile, so a thread that synchronizes on its way out can end.
    int WaitFor();

    bool Terminated() const { return terminated_.load(); }
    bool Suspended() const { return suspended_.load(); }
    // Execute and DoTerminate are done.
    bool Finished() const { return finished_.load(); }
    // Frees the object on its own thread once it is finished.
    bool FreeOnTerminate() const { return free_on_terminate_.load(); }
    void SetFreeOnTerminate(bool value) { free_on_terminate_.store(value); }
    TThreadPriority Priority() const { return priority_; }
    void SetPriority(TThreadPriority value);
    // The system's handle of the thread (a Win32 HANDLE; 0 where there is none).
    uintptr_t Handle() const;
    uint32_t ThreadID() const;
    int ReturnValue() const { return return_value_.load(); }
    // What escaped Execute, if anything did.
    std::exception_ptr FatalException() const { return fatal_exception_; }

    TNotifyEvent OnTerminate;

    // Runs method on the main thread and waits for it; what it raises is
    // raised again here. On the main thread the method runs at once.
    static void Synchronize(TThread* thread, const TThreadMethod& method);

protected:
    virtual void Execute() = 0;
    // On the thread after Execute: OnTerminate, through Synchronize.
    virtual void DoTerminate();
    void Synchronize(const TThreadMethod& method) { Synchronize(this, method); }
    void SetReturnValue(int value) { return_value_.store(value); }

private:
    static void Run(void* self);

    std::unique_ptr<thread_native::TNativeThread> native_;
    bool create_suspended_ = false;
    std::atomic<bool> terminated_{false};
    std::atomic<bool> suspended_;
    std::atomic<bool> finished_{false};
    std::atomic<bool> free_on_terminate_{false};
    std::atomic<int> return_value_{0};
    TThreadPriority priority_ = tpNormal;
    std::exception_ptr fatal_exception_;
};

// The thread the program started on.
bool IsMainThread();
uint32_t MainThreadID();
// Runs the methods other threads have handed to Synchronize, in the order
// they came; main thread only. True when one ran.
bool CheckSynchronize();
// Called (from any thread) when a method starts waiting for the main
// thread, so that the main thread calls CheckSynchronize soon. Empty: the
// main thread has to look by itself.
void SetWakeMainThread(std::function<void()> wake);
