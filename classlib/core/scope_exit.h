// Steps that run when a scope is left, by its end or by an exception.
#pragma once
#include <type_traits>
#include <utility>

// Runs a callable at the end of the scope unless dismissed. The step must
// not throw (an exception from it ends the program): resetting a flag,
// giving back a handle. A final step that may throw takes TryFinally.
template <class Step>
class TScopeExit {
public:
    explicit TScopeExit(Step step) noexcept(std::is_nothrow_move_constructible_v<Step>) : step_(std::move(step)) {}
    TScopeExit(TScopeExit&& other) noexcept(std::is_nothrow_move_constructible_v<Step>)
        : step_(std::move(other.step_)), armed_(std::exchange(other.armed_, false)) {}
    TScopeExit(const TScopeExit&) = delete;
    TScopeExit& operator=(const TScopeExit&) = delete;
    TScopeExit& operator=(TScopeExit&&) = delete;
    ~TScopeExit() noexcept {
        if (armed_) step_();
    }

    // The step will not run (the work succeeded and keeps what it made).
    void Dismiss() noexcept { armed_ = false; }

private:
    Step step_;
    bool armed_ = true;
};

// Saves a variable and puts the saved value back at the end of the scope.
template <class T>
class TRestore {
public:
    explicit TRestore(T& variable) : variable_(variable), saved_(variable) {}
    ~TRestore() noexcept { variable_ = std::move(saved_); }
    TRestore(const TRestore&) = delete;
    TRestore& operator=(const TRestore&) = delete;

private:
    T& variable_;
    T saved_;
};

// try/finally for a final step that may throw itself: `last` runs after
// `work` on every path. When work failed, its exception is the one that goes
// on and a failure of the final step is dropped.
template <class Work, class Last>
void TryFinally(Work&& work, Last&& last) {
    try {
        work();
    } catch (...) {
        try {
            last();
        } catch (...) {
        }
        throw;
    }
    last();
}

// Runs work between target.BeginUpdate() and target.EndUpdate() (a string
// list, collection or node list), EndUpdate on every path.
template <class Target, class Work>
void WhileUpdating(Target& target, Work&& work) {
    target.BeginUpdate();
    TryFinally(std::forward<Work>(work), [&target] { target.EndUpdate(); });
}
