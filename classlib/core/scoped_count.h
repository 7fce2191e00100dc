// Raises a counter for the lifetime of a scope: a nesting level, or the
// echo guard of code that triggers notifications of its own (they are then
// known as not the user's).
#pragma once

class TScopedCount {
public:
    explicit TScopedCount(int& counter) noexcept : counter_(counter) { ++counter_; }

    // With a limit: when the counter already stands at `limit`, raises the
    // exception tooDeep() makes and leaves the counter as it was.
    template <class MakeError>
    TScopedCount(int& counter, int limit, MakeError tooDeep) : counter_(counter) {
        if (counter_ >= limit) throw tooDeep();
        ++counter_;
    }

    ~TScopedCount() { --counter_; }
    TScopedCount(const TScopedCount&) = delete;
    TScopedCount& operator=(const TScopedCount&) = delete;

private:
    int& counter_;
};
