// Critical sections for threads sharing data. The same thread may enter
// again; it must leave as often as it entered.
#pragma once
#include <mutex>

class TCriticalSection {
public:
    TCriticalSection() = default;
    TCriticalSection(const TCriticalSection&) = delete;
    TCriticalSection& operator=(const TCriticalSection&) = delete;

    void Enter() { mutex_.lock(); }
    void Leave() { mutex_.unlock(); }
    void Acquire() { Enter(); }
    void Release() { Leave(); }
    // Enters when no other thread is inside; never waits.
    bool TryEnter() { return mutex_.try_lock(); }

    // So that std::lock_guard / std::unique_lock can hold it.
    void lock() { Enter(); }
    void unlock() { Leave(); }
    bool try_lock() { return TryEnter(); }

private:
    std::recursive_mutex mutex_;
};
