#include "classlib/core/thread.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

#include "classlib/core/thread_native.h"

namespace {

// Taken at program start, on the thread that runs the program.
const uint32_t g_main_thread_id = thread_native::CurrentThreadId();

struct TSyncRequest {
    const TThreadMethod* method;
    std::exception_ptr error;
    bool done = false;
};

// One lock and one signal for all of it: a request queued, a request done,
// a thread finished. Waiters check their own condition.
std::mutex g_sync_mutex;
std::condition_variable g_sync_changed;
std::deque<TSyncRequest*> g_sync_queue;
std::function<void()> g_wake_main_thread;

// A thread killed from outside never says it finished: the main thread's
// wait looks at the system's thread this often as well.
constexpr auto kKilledThreadPoll = std::chrono::milliseconds(100);

}  // namespace

bool IsMainThread() {
    return thread_native::CurrentThreadId() == g_main_thread_id;
}

uint32_t MainThreadID() {
    return g_main_thread_id;
}

void SetWakeMainThread(std::function<void()> wake) {
    std::lock_guard<std::mutex> lock(g_sync_mutex);
    g_wake_main_thread = std::move(wake);
}

bool CheckSynchronize() {
    if (!IsMainThread()) throw EThread("CheckSynchronize called on a thread other than the main thread");
    std::deque<TSyncRequest*> requests;
    {
        std::lock_guard<std::mutex> lock(g_sync_mutex);
        requests.swap(g_sync_queue);
    }
    for (TSyncRequest* request : requests) {
        std::exception_ptr error;
        try {
            (*request->method)();
        } catch (...) {
            error = std::current_exception();
        }
        std::lock_guard<std::mutex> lock(g_sync_mutex);
        request->error = error;
        request->done = true;
    }
    if (!requests.empty()) g_sync_changed.notify_all();
    return !requests.empty();
}

void TThread::Synchronize(TThread*, const TThreadMethod& method) {
    if (IsMainThread()) {
        method();
        return;
    }
    TSyncRequest request{&method, nullptr, false};
    std::function<void()> wake;
    {
        std::lock_guard<std::mutex> lock(g_sync_mutex);
        g_sync_queue.push_back(&request);
        wake = g_wake_main_thread;
    }
    g_sync_changed.notify_all();
    if (wake) wake();
    {
        std::unique_lock<std::mutex> lock(g_sync_mutex);
        g_sync_changed.wait(lock, [&] { return request.done; });
    }
    if (request.error) std::rethrow_exception(request.error);
}

TThread::TThread(bool createSuspended)
    : native_(thread_native::CreateSuspendedThread(&TThread::Run, this)),
      create_suspended_(createSuspended),
      suspended_(true) {}

TThread::~TThread() = default;

void TThread::AfterConstruction() {
    if (!create_suspended_) Resume();
}

void TThread::BeforeDestruction() {
    bool ownThread = thread_native::CurrentThreadId() == ThreadID();
    if (!ownThread && !finished_.load()) {
        Terminate();
        if (suspended_.load()) Resume();
        WaitFor();
    }
}

void TThread::Resume() {
    if (suspended_.exchange(false)) native_->Start();
}

void TThread::Terminate() {
    terminated_.store(true);
}

int TThread::WaitFor() {
    if (IsMainThread()) {
        for (;;) {
            CheckSynchronize();
            if (native_->WaitEnded(0)) break;
            std::unique_lock<std::mutex> lock(g_sync_mutex);
            if (g_sync_changed.wait_for(lock, kKilledThreadPoll,
                                        [&] { return finished_.load() || !g_sync_queue.empty(); }) &&
                finished_.load())
                break;
        }
    }
    native_->WaitEnded(-1);
    return return_value_.load();
}

void TThread::SetPriority(TThreadPriority value) {
    priority_ = value;
    native_->SetPriority(static_cast<int>(value));
}

uintptr_t TThread::Handle() const {
    return native_->Handle();
}

uint32_t TThread::ThreadID() const {
    return native_->Id();
}

void TThread::DoTerminate() {
    if (OnTerminate) Synchronize([this] { OnTerminate(this); });
}

void TThread::Run(void* self) {
    auto* thread = static_cast<TThread*>(self);
    try {
        if (!thread->Terminated()) thread->Execute();
    } catch (...) {
        thread->fatal_exception_ = std::current_exception();
    }
    bool freeThread = thread->FreeOnTerminate();
    try {
        thread->DoTerminate();
    } catch (...) {
        if (!thread->fatal_exception_) thread->fatal_exception_ = std::current_exception();
    }
    {
        // From here on a waiter may free the object.
        std::lock_guard<std::mutex> lock(g_sync_mutex);
        thread->finished_.store(true);
    }
    g_sync_changed.notify_all();
    if (freeThread) thread->Free();
}
