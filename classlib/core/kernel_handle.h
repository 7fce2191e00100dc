// Sole owners of handles for the length of a scope. TScopedHandle holds a
// handle that Free gives back and can hand it over; TKernelHandle is the one
// for kernel handles (file, thread, mutex, event, process; CloseHandle).
// Windows only. Move-only, never throws; a null handle (and, for
// kernel-style handles, INVALID_HANDLE_VALUE) leaves the owner empty.
#pragma once
// Only the handle functions: <windows.h> would bring macros (MessageBox,
// ...) that rename our own names.
#include <windef.h>
#include <handleapi.h>

#include <type_traits>
#include <utility>

template <class Handle, class Free>
class TScopedHandle {
public:
    TScopedHandle() noexcept = default;
    explicit TScopedHandle(Handle handle) noexcept : handle_(Usable(handle)) {}
    TScopedHandle(TScopedHandle&& other) noexcept : handle_(other.Release()) {}
    TScopedHandle& operator=(TScopedHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    ~TScopedHandle() noexcept { Reset(); }

    // Null when empty.
    Handle Get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Handle{}; }
    void Reset(Handle handle = Handle{}) noexcept {
        handle = Usable(handle);
        if (handle_ != Handle{} && handle_ != handle) Free{}(handle_);
        handle_ = handle;
    }
    // Gives the handle away without giving it back.
    Handle Release() noexcept { return std::exchange(handle_, Handle{}); }

private:
    static Handle Usable(Handle handle) noexcept {
        if constexpr (std::is_same_v<Handle, HANDLE>) {
            if (handle == INVALID_HANDLE_VALUE) return nullptr;
        }
        return handle;
    }

    Handle handle_{};
};

struct TCloseHandleStep {
    void operator()(HANDLE handle) const noexcept { CloseHandle(handle); }
};
using TKernelHandle = TScopedHandle<HANDLE, TCloseHandleStep>;
