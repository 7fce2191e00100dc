#include "classlib/core/lists.h"

#include <algorithm>

#include "classlib/core/exceptions.h"
#include "classlib/core/listalgo.h"
#include "classlib/core/resstrings.h"
#include "classlib/core/strutils.h"

void RaiseListError(int resourceId, int data) {
    throw EListError(Format(LoadStr(resourceId), {data}));
}

void TList::BeforeDestruction() {
    Clear();
    TObject::BeforeDestruction();
}

void TList::CheckIndex(int index) const {
    if (index < 0 || index >= Count()) RaiseListError(SListIndexError, index);
}

void* TList::Items(int index) const {
    CheckIndex(index);
    return items_[static_cast<size_t>(index)];
}

void TList::SetItems(int index, void* item) {
    CheckIndex(index);
    void*& slot = items_[static_cast<size_t>(index)];
    if (slot == item) return;
    void* old = slot;
    slot = item;
    if (old) Notify(old, lnDeleted);
    if (item) Notify(item, lnAdded);
}

int TList::Add(void* item) {
    int index = Count();
    Insert(index, item);
    return index;
}

void TList::Insert(int index, void* item) {
    if (index < 0 || index > Count()) RaiseListError(SListIndexError, index);
    items_.insert(items_.begin() + index, item);
    if (item) Notify(item, lnAdded);
}

void TList::Delete(int index) {
    CheckIndex(index);
    // Out of the list before anyone hears of it, so an object freed by the
    // notification finds the list consistent.
    void* item = items_[static_cast<size_t>(index)];
    items_.erase(items_.begin() + index);
    if (item) Notify(item, lnDeleted);
}

int TList::Remove(void* item) {
    int index = IndexOf(item);
    if (index >= 0) Delete(index);
    return index;
}

void* TList::Extract(void* item) {
    int index = IndexOf(item);
    if (index < 0) return nullptr;
    items_.erase(items_.begin() + index);
    if (item) Notify(item, lnExtracted);
    return item;
}

int TList::IndexOf(void* item) const {
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TList::Clear() {
    // One by one from the end: a notification may free an object that
    // looks at the list.
    while (!items_.empty()) Delete(Count() - 1);
    std::vector<void*>().swap(items_);
}

void TList::Exchange(int index1, int index2) {
    CheckIndex(index1);
    CheckIndex(index2);
    std::swap(items_[static_cast<size_t>(index1)], items_[static_cast<size_t>(index2)]);
}

void TList::Move(int curIndex, int newIndex) {
    CheckIndex(curIndex);
    CheckIndex(newIndex);
    MoveItem(items_, static_cast<size_t>(curIndex), static_cast<size_t>(newIndex));
}

void TList::Sort(const TListSortCompare& compare) {
    MergeSort(items_, compare);
}

void TList::Pack() {
    items_.erase(std::remove(items_.begin(), items_.end(), nullptr), items_.end());
}

void TList::SetCapacity(int capacity) {
    if (capacity < Count()) RaiseListError(SListCapacityError, capacity);
    if (capacity != Capacity()) SetVectorCapacity(items_, static_cast<size_t>(capacity));
}

TObjectList::~TObjectList() {
    // Covers lists that end without Free (members, stack objects); after
    // Free the list is empty already.
    Clear();
}

void TObjectList::Notify(void* item, TListNotification action) {
    if (owns_objects_ && action == lnDeleted) static_cast<TObject*>(item)->Free();
}
