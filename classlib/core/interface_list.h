// A list of interface references for several threads: each operation takes
// the list's lock, and LockList / UnlockList hold it across several.
#pragma once
#include <vector>

#include "classlib/core/interfaces.h"
#include "classlib/core/syncobjs.h"

class TInterfaceList : public TObject {
public:
    ~TInterfaceList() override;

    int Count() const;
    // A reference to the item (raises EListError outside the list).
    TInterfacePtr<IInterface> Items(int index) const;
    void SetItems(int index, IInterface* item);
    TInterfacePtr<IInterface> First() const { return Items(0); }
    TInterfacePtr<IInterface> Last() const;
    int Add(IInterface* item);
    void Insert(int index, IInterface* item);
    void Delete(int index);
    // Deletes the first occurrence; returns its index or -1.
    int Remove(IInterface* item);
    int IndexOf(IInterface* item) const;
    void Clear();
    void Exchange(int index1, int index2);

    // Holds the lock until UnlockList (the same thread may enter again).
    TInterfaceList* LockList();
    void UnlockList();

private:
    void CheckIndex(int index) const;

    mutable TCriticalSection lock_;
    std::vector<TInterfacePtr<IInterface>> items_;
};
