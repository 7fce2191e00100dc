// Plain helpers on integers and memory blocks.
#pragma once
#include <cstddef>
#include <cstdint>

inline int32_t Max(int32_t a, int32_t b) { return a > b ? a : b; }
inline int32_t Min(int32_t a, int32_t b) { return a < b ? a : b; }

// A zero-filled block from the global heap, locked; nullptr for size <= 0
// (or when the heap has no room).
void* AllocHugeMem(intptr_t size);
// Unlocks and frees a block of AllocHugeMem; the pointer becomes nullptr.
void FreeHugeMem(void*& block);
// True when the first `count` bytes are equal (always for 0).
bool CompareBytes(const void* a, const void* b, size_t count);
inline void* OffsetPointer(void* p, intptr_t offset) { return static_cast<char*>(p) + offset; }
// Overlap-safe copy.
void CopyBytes(void* destination, const void* source, size_t count);
