#include "controls/memory_utils.h"

#include <cstring>

#include "classlib/gui/win32.h"

void* AllocHugeMem(intptr_t size) {
    if (size <= 0) return nullptr;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, static_cast<SIZE_T>(size));
    if (!block) return nullptr;
    return GlobalLock(block);
}

void FreeHugeMem(void*& block) {
    if (!block) return;
    HGLOBAL handle = GlobalHandle(block);
    GlobalUnlock(handle);
    GlobalFree(handle);
    block = nullptr;
}

bool CompareBytes(const void* a, const void* b, size_t count) {
    return count == 0 || std::memcmp(a, b, count) == 0;
}

void CopyBytes(void* destination, const void* source, size_t count) {
    if (count) std::memmove(destination, source, count);
}
