// Raises a nesting counter for the lifetime of a scope (guards against the
// echo of a control's own window changes).
#pragma once

class TScopedCount {
public:
    explicit TScopedCount(int& counter) : counter_(counter) { ++counter_; }
    ~TScopedCount() { --counter_; }
    TScopedCount(const TScopedCount&) = delete;
    TScopedCount& operator=(const TScopedCount&) = delete;

private:
    int& counter_;
};
