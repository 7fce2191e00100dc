#include "shell/lists/item_id_lists.h"

#include <cstdint>
#include <cstring>

namespace {

// Item counts are read and written byte by byte: list items are not aligned.
uint16_t ItemSizeAt(const unsigned char* at) {
    return static_cast<uint16_t>(at[0] | (at[1] << 8));
}

const unsigned char* Bytes(const void* list) {
    return static_cast<const unsigned char*>(list);
}

}  // namespace

std::size_t IdListSize(const void* list) {
    if (!list) return 0;
    const unsigned char* at = Bytes(list);
    std::size_t size = 0;
    while (uint16_t item = ItemSizeAt(at + size)) size += item;
    return size + 2;
}

int IdListCount(const void* list) {
    if (!list) return 0;
    const unsigned char* at = Bytes(list);
    int count = 0;
    for (uint16_t item; (item = ItemSizeAt(at)) != 0; at += item) ++count;
    return count;
}

void* IdListAlloc(const TItemIdAllocator& allocator, std::size_t size) {
    void* block = allocator.Alloc(size);
    if (block) std::memset(block, 0, size);
    return block;
}

void* IdListCopy(const TItemIdAllocator& allocator, const void* list) {
    if (!list) return nullptr;
    std::size_t size = IdListSize(list);
    void* copy = IdListAlloc(allocator, size);
    if (copy) std::memcpy(copy, list, size);
    return copy;
}

void* IdListConcat(const TItemIdAllocator& allocator, const void* first, const void* second) {
    if (!first) return IdListCopy(allocator, second);
    if (!second) return IdListCopy(allocator, first);
    // The first list's terminator is dropped; the second brings its own.
    std::size_t firstItems = IdListSize(first) - 2;
    std::size_t secondSize = IdListSize(second);
    auto* joined = static_cast<unsigned char*>(IdListAlloc(allocator, firstItems + secondSize));
    if (!joined) return nullptr;
    std::memcpy(joined, first, firstItems);
    std::memcpy(joined + firstItems, second, secondSize);
    return joined;
}

void* IdListItem(const TItemIdAllocator& allocator, const void* list, int index) {
    if (!list || index < 0) return nullptr;
    const unsigned char* at = Bytes(list);
    for (int i = 0; i < index; ++i) {
        uint16_t item = ItemSizeAt(at);
        if (item == 0) return nullptr;  // beyond the last item
        at += item;
    }
    uint16_t item = ItemSizeAt(at);  // 0 on the terminator: an empty list results
    auto* single = static_cast<unsigned char*>(IdListAlloc(allocator, std::size_t(item) + 2));
    if (single) std::memcpy(single, at, item);
    return single;
}

void* IdListTruncate(const TItemIdAllocator& allocator, const void* list, int count) {
    auto* copy = static_cast<unsigned char*>(IdListCopy(allocator, list));
    if (!copy) return nullptr;
    unsigned char* at = copy;
    for (int i = 0; i < count; ++i) {
        uint16_t item = ItemSizeAt(at);
        if (item == 0) return copy;  // fewer items than asked: the whole list
        at += item;
    }
    at[0] = 0;
    at[1] = 0;
    return copy;
}
