// Pointer lists: TList of untyped pointers and TObjectList, which can own
// its objects.
#pragma once
#include <functional>
#include <vector>

#include "classlib/core/object.h"

// Raises EListError with a list message (resstrings.h) and its number.
[[noreturn]] void RaiseListError(int resourceId, int data);

enum TListNotification { lnAdded, lnExtracted, lnDeleted };

// <0, 0, >0 as item1 sorts before, with or after item2.
using TListSortCompare = std::function<int(void* item1, void* item2)>;

class TList : public TObject {
public:
    // Clears through Clear so that descendants hear of every item.
    void BeforeDestruction() override;

    int Count() const { return static_cast<int>(items_.size()); }
    void* Items(int index) const;
    void SetItems(int index, void* item);
    void* First() const { return Items(0); }
    void* Last() const { return Items(Count() - 1); }

    int Add(void* item);
    void Insert(int index, void* item);
    void Delete(int index);
    // Deletes the first occurrence; returns its index or -1.
    int Remove(void* item);
    // Takes the first occurrence out without deleting it; returns the item,
    // nullptr when absent.
    void* Extract(void* item);
    int IndexOf(void* item) const;
    virtual void Clear();
    void Exchange(int index1, int index2);
    void Move(int curIndex, int newIndex);
    void Sort(const TListSortCompare& compare);
    // Drops the nullptr items.
    void Pack();

    int Capacity() const { return static_cast<int>(items_.capacity()); }
    // Below Count raises EListError: it would drop items.
    void SetCapacity(int capacity);

protected:
    // Told after an item came in or went out; nullptr items are not told.
    virtual void Notify(void* item, TListNotification action) {}
    void CheckIndex(int index) const;

private:
    std::vector<void*> items_;
};

// A list of objects that, with OwnsObjects, frees each object (Free) when it
// is deleted, replaced or cleared from the list; Extract hands it back
// instead.
class TObjectList : public TList {
public:
    explicit TObjectList(bool ownsObjects = true) : owns_objects_(ownsObjects) {}
    ~TObjectList() override;

    bool OwnsObjects() const { return owns_objects_; }
    void SetOwnsObjects(bool value) { owns_objects_ = value; }

    TObject* Items(int index) const { return static_cast<TObject*>(TList::Items(index)); }
    void SetItems(int index, TObject* object) { TList::SetItems(index, object); }
    TObject* First() const { return Items(0); }
    TObject* Last() const { return Items(Count() - 1); }
    int Add(TObject* object) { return TList::Add(object); }
    void Insert(int index, TObject* object) { TList::Insert(index, object); }
    int Remove(TObject* object) { return TList::Remove(object); }
    TObject* Extract(TObject* object) { return static_cast<TObject*>(TList::Extract(object)); }
    int IndexOf(TObject* object) const { return TList::IndexOf(object); }

protected:
    void Notify(void* item, TListNotification action) override;

private:
    bool owns_objects_;
};
