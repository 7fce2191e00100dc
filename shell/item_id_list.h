// Item-ID lists of the shell, allocated with the COM task allocator and
// owned by the caller: each function that makes a list hands it over in a
// TItemIdList, which frees it with the task allocator.
#pragma once
#include <cstddef>
#include <memory>

#include "classlib/gui/scoped_win32.h"
#include "classlib/gui/win32.h"
#include <shlobj.h>

using TItemIdList = TTaskMemory<ITEMIDLIST>;

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

// The lists above as the shell-namespace pieces take them.
struct TTaskIdLists {
    using List = TItemIdList;
    static List Copy(const ITEMIDLIST* list) { return ItemIdListCopy(list); }
    static List Concat(const ITEMIDLIST* first, const ITEMIDLIST* second) { return ItemIdListConcat(first, second); }
    static int Count(const ITEMIDLIST* list) { return ItemIdListCount(list); }
    static List Truncate(const ITEMIDLIST* list, int count) { return ItemIdListTruncate(list, count); }
    static List Item(const ITEMIDLIST* list, int index) { return ItemIdListItem(list, index); }
};
