// Owner of a kernel handle (file, thread, mutex, event, process;
// CloseHandle) for the length of a scope. Windows only. Move-only, never
// throws; a failed open (null or INVALID_HANDLE_VALUE) leaves it empty.
#pragma once
// Only the handle functions: <windows.h> would bring macros (MessageBox,
// ...) that rename our own names.
#include <windef.h>
#include <handleapi.h>

#include <utility>

class TKernelHandle {
public:
    TKernelHandle() noexcept = default;
    explicit TKernelHandle(HANDLE handle) noexcept : handle_(Usable(handle)) {}
    TKernelHandle(TKernelHandle&& other) noexcept : handle_(other.Release()) {}
    TKernelHandle& operator=(TKernelHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    ~TKernelHandle() noexcept { Reset(); }

    // Null when empty.
    HANDLE Get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != nullptr; }
    void Reset(HANDLE handle = nullptr) noexcept {
        handle = Usable(handle);
        if (handle_ && handle_ != handle) CloseHandle(handle_);
        handle_ = handle;
    }
    // Gives the handle away without closing it.
    HANDLE Release() noexcept { return std::exchange(handle_, nullptr); }

private:
    static HANDLE Usable(HANDLE handle) noexcept { return handle == INVALID_HANDLE_VALUE ? nullptr : handle; }

    HANDLE handle_ = nullptr;
};
