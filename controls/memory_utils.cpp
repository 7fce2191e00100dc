#include "controls/memory_utils.h"

#include <cstring>
#include <utility>

#include "classlib/gui/scoped_win32.h"
#include "classlib/gui/win32.h"

// The block is handed out locked, by its address; FreeHugeMem finds its
// handle again, ends that lock and frees it.
void* AllocHugeMem(intptr_t size) {
    if (size <= 0) return nullptr;
    TGlobalMemory block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, static_cast<SIZE_T>(size)));
    void* data = block ? GlobalLock(block.Get()) : nullptr;
    if (data) block.Release();
    return data;
}

void FreeHugeMem(void*& block) {
    if (!block) return;
    void* data = std::exchange(block, nullptr);
    TGlobalMemory owned(GlobalHandle(data));
    TGlobalLock<> taken(owned.Get(), data);
}

bool CompareBytes(const void* a, const void* b, size_t count) {
    return count == 0 || std::memcmp(a, b, count) == 0;
}

void CopyBytes(void* destination, const void* source, size_t count) {
    if (count) std::memmove(destination, source, count);
}
