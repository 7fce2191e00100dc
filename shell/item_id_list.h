// Item-ID lists of the shell, allocated with the COM task allocator and
// owned by the caller: each function that makes a list hands it over in a
// TItemIdList, which frees it with CoTaskMemFree.
#pragma once
#include <cstddef>
#include <memory>

#include "classlib/gui/win32.h"
#include <shlobj.h>

struct TTaskMemFree {
    void operator()(void* block) const noexcept { CoTaskMemFree(block); }
};
using TItemIdList = std::unique_ptr<ITEMIDLIST, TTaskMemFree>;

// Takes over a list the shell handed out with the task allocator.
inline TItemIdList AdoptItemIdList(ITEMIDLIST* list) noexcept {
    return TItemIdList(list);
}

// Zero-filled; empty when the allocator has no memory.
TItemIdList ItemIdListAlloc(std::size_t size);
std::size_t ItemIdListSize(const ITEMIDLIST* list);
int ItemIdListCount(const ITEMIDLIST* list);
TItemIdList ItemIdListConcat(const ITEMIDLIST* first, const ITEMIDLIST* second);
TItemIdList ItemIdListCopy(const ITEMIDLIST* list);
TItemIdList ItemIdListItem(const ITEMIDLIST* list, int index);
TItemIdList ItemIdListTruncate(const ITEMIDLIST* list, int count);

// The shell's empty list (the desktop): a static terminator, never freed.
const ITEMIDLIST* EmptyItemIdList();
