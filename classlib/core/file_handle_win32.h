// The Win32 handle behind a file handle of the platform-free file code,
// which keeps it as an integer.
#pragma once
#include <windef.h>

#include <cstdint>

inline HANDLE FileHandleOf(intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}
