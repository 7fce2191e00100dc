#include "classlib/core/interface_list.h"

#include <mutex>

#include "classlib/core/lists.h"
#include "classlib/core/resstrings.h"

TInterfaceList::~TInterfaceList() {
    Clear();
}

void TInterfaceList::CheckIndex(int index) const {
    if (index < 0 || index >= static_cast<int>(items_.size())) RaiseListError(SListIndexError, index);
}

int TInterfaceList::Count() const {
    std::lock_guard<TCriticalSection> guard(lock_);
    return static_cast<int>(items_.size());
}

TInterfacePtr<IInterface> TInterfaceList::Items(int index) const {
    std::lock_guard<TCriticalSection> guard(lock_);
    CheckIndex(index);
    return items_[static_cast<size_t>(index)];
}

TInterfacePtr<IInterface> TInterfaceList::Last() const {
    std::lock_guard<TCriticalSection> guard(lock_);
    return Items(static_cast<int>(items_.size()) - 1);
}

void TInterfaceList::SetItems(int index, IInterface* item) {
    TInterfacePtr<IInterface> old;
    std::lock_guard<TCriticalSection> guard(lock_);
    CheckIndex(index);
    old = std::exchange(items_[static_cast<size_t>(index)], TInterfacePtr<IInterface>(item));
}

int TInterfaceList::Add(IInterface* item) {
    std::lock_guard<TCriticalSection> guard(lock_);
    items_.emplace_back(item);
    return static_cast<int>(items_.size()) - 1;
}

void TInterfaceList::Insert(int index, IInterface* item) {
    std::lock_guard<TCriticalSection> guard(lock_);
    if (index < 0 || index > static_cast<int>(items_.size())) RaiseListError(SListIndexError, index);
    items_.emplace(items_.begin() + index, item);
}

void TInterfaceList::Delete(int index) {
    TInterfacePtr<IInterface> old;
    std::lock_guard<TCriticalSection> guard(lock_);
    CheckIndex(index);
    // Released after the list is consistent again: the last reference may
    // run code that looks at the list.
    old = std::move(items_[static_cast<size_t>(index)]);
    items_.erase(items_.begin() + index);
}

int TInterfaceList::Remove(IInterface* item) {
    std::lock_guard<TCriticalSection> guard(lock_);
    int index = IndexOf(item);
    if (index >= 0) Delete(index);
    return index;
}

int TInterfaceList::IndexOf(IInterface* item) const {
    std::lock_guard<TCriticalSection> guard(lock_);
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].Get() == item) return static_cast<int>(i);
    return -1;
}

void TInterfaceList::Clear() {
    std::vector<TInterfacePtr<IInterface>> old;
    std::lock_guard<TCriticalSection> guard(lock_);
    old.swap(items_);
}

void TInterfaceList::Exchange(int index1, int index2) {
    std::lock_guard<TCriticalSection> guard(lock_);
    CheckIndex(index1);
    CheckIndex(index2);
    std::swap(items_[static_cast<size_t>(index1)], items_[static_cast<size_t>(index2)]);
}

TInterfaceList* TInterfaceList::LockList() {
    lock_.Enter();
    return this;
}

void TInterfaceList::UnlockList() {
    lock_.Leave();
}
