// The algebra of the shell's item-ID lists on plain memory: a chain of items,
// each a 16-bit byte count (counting itself) followed by its data, ended by
// a 16-bit zero. The terminator alone is the empty list (the desktop); a
// null pointer is no list at all. Blocks come from the allocator the caller
// names, so the same code serves the task allocator and the shell's own.
#pragma once
#include <cstddef>

struct TItemIdAllocator {
    void* (*Alloc)(std::size_t size);  // nullptr when it has no memory
    void (*Free)(void* block);
};

// Bytes of the whole list with its terminator; 0 for no list.
std::size_t IdListSize(const void* list);
// Items before the terminator; 0 for no list.
int IdListCount(const void* list);
// A zero-filled block of that many bytes; nullptr when the allocator fails.
void* IdListAlloc(const TItemIdAllocator& allocator, std::size_t size);
// A new block holding the list; nullptr for no list or a failed allocation.
void* IdListCopy(const TItemIdAllocator& allocator, const void* list);
// The items of first followed by those of second. With one list missing the
// result is a copy of the other, with both missing nullptr.
void* IdListConcat(const TItemIdAllocator& allocator, const void* first, const void* second);
// A one-item list holding item number index (from 0); index equal to the
// count gives the empty list; beyond it, negative, or no list: nullptr.
void* IdListItem(const TItemIdAllocator& allocator, const void* list, int index);
// A copy that keeps its first count items (the block keeps its full size);
// count 0 gives the empty list, a count at or beyond the items the whole
// list; nullptr for no list.
void* IdListTruncate(const TItemIdAllocator& allocator, const void* list, int count);
