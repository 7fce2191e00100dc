#include "shell/item_id_list.h"

#include "shell/lists/item_id_lists.h"

namespace {

const TItemIdAllocator kTaskAllocator{[](std::size_t size) { return CoTaskMemAlloc(size); },
                                      [](void* block) { TTaskMemFree{}(block); }};

TItemIdList Owned(void* block) {
    return TItemIdList(static_cast<ITEMIDLIST*>(block));
}

}  // namespace

TItemIdList ItemIdListAlloc(std::size_t size) {
    return Owned(IdListAlloc(kTaskAllocator, size));
}

std::size_t ItemIdListSize(const ITEMIDLIST* list) {
    return IdListSize(list);
}

int ItemIdListCount(const ITEMIDLIST* list) {
    return IdListCount(list);
}

TItemIdList ItemIdListConcat(const ITEMIDLIST* first, const ITEMIDLIST* second) {
    return Owned(IdListConcat(kTaskAllocator, first, second));
}

TItemIdList ItemIdListCopy(const ITEMIDLIST* list) {
    return Owned(IdListCopy(kTaskAllocator, list));
}

TItemIdList ItemIdListItem(const ITEMIDLIST* list, int index) {
    return Owned(IdListItem(kTaskAllocator, list, index));
}

TItemIdList ItemIdListTruncate(const ITEMIDLIST* list, int count) {
    return Owned(IdListTruncate(kTaskAllocator, list, count));
}

const ITEMIDLIST* EmptyItemIdList() {
    static const unsigned short terminator = 0;
    return reinterpret_cast<const ITEMIDLIST*>(&terminator);
}
