// Counts a nesting level up for the lifetime of the guard: code that
// triggers notifications of its own marks them as not the user's.
#pragma once

class TNestingGuard {
public:
    explicit TNestingGuard(int& level) : level_(level) { ++level_; }
    ~TNestingGuard() { --level_; }
    TNestingGuard(const TNestingGuard&) = delete;
    TNestingGuard& operator=(const TNestingGuard&) = delete;

private:
    int& level_;
};
