// Owner of one reference to a COM interface: released when the owner goes
// or takes another, also when a scope is left by an exception.
#pragma once
#include <utility>

template <class I>
class TComPtr {
public:
    TComPtr() noexcept = default;
    // Takes over a reference the caller already holds.
    explicit TComPtr(I* taken) noexcept : p_(taken) {}
    TComPtr(const TComPtr& other) noexcept : p_(other.p_) {
        if (p_) p_->AddRef();
    }
    TComPtr(TComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    TComPtr& operator=(TComPtr other) noexcept {
        std::swap(p_, other.p_);
        return *this;
    }
    ~TComPtr() noexcept { Reset(); }

    // A new reference to an interface someone else holds.
    static TComPtr Share(I* held) noexcept {
        if (held) held->AddRef();
        return TComPtr(held);
    }

    I* Get() const noexcept { return p_; }
    I* operator->() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }
    void Reset() noexcept {
        if (I* old = std::exchange(p_, nullptr)) old->Release();
    }
    // For a call that hands out a new reference: the old one is released.
    I** Put() noexcept {
        Reset();
        return &p_;
    }
    void** PutVoid() noexcept { return reinterpret_cast<void**>(Put()); }

private:
    I* p_ = nullptr;
};
