#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "classlib/core/thread.h"
#include "classlib/core/thread_native.h"

namespace thread_native {
namespace {

std::atomic<uint32_t> g_next_id{1};
thread_local uint32_t t_id = 0;

uint32_t NewId() {
    return g_next_id.fetch_add(1);
}

// Outlives the object when the thread frees it on its way out.
struct TShared {
    std::mutex mutex;
    std::condition_variable changed;
    bool ended = false;
};

class TPosixThread : public TNativeThread {
public:
    TPosixThread(void (*entry)(void*), void* argument)
        : entry_(entry), argument_(argument), id_(NewId()), shared_(std::make_shared<TShared>()) {}
    ~TPosixThread() override {
        if (!thread_.joinable()) return;
        if (thread_.get_id() == std::this_thread::get_id()) thread_.detach();
        else thread_.join();
    }

    void Start() override {
        if (thread_.joinable()) return;
        thread_ = std::thread([entry = entry_, argument = argument_, id = id_, shared = shared_] {
            t_id = id;
            entry(argument);
            std::lock_guard<std::mutex> lock(shared->mutex);
            shared->ended = true;
            shared->changed.notify_all();
        });
    }
    bool WaitEnded(int timeoutMs) override {
        std::unique_lock<std::mutex> lock(shared_->mutex);
        if (timeoutMs < 0) shared_->changed.wait(lock, [&] { return shared_->ended; });
        else shared_->changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return shared_->ended; });
        return shared_->ended;
    }
    uintptr_t Handle() const override { return 0; }
    uint32_t Id() const override { return id_; }
    void SetPriority(int) override {}

private:
    void (*entry_)(void*);
    void* argument_;
    uint32_t id_;
    std::shared_ptr<TShared> shared_;
    std::thread thread_;
};

}  // namespace

std::unique_ptr<TNativeThread> CreateSuspendedThread(void (*entry)(void*), void* argument) {
    return std::make_unique<TPosixThread>(entry, argument);
}

uint32_t CurrentThreadId() {
    if (t_id == 0) t_id = NewId();
    return t_id;
}

}  // namespace thread_native
