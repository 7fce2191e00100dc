// A list of components that drops a component by itself when it is freed
// elsewhere; when it owns its items, deleting one frees it.
#pragma once
#include "classlib/core/component.h"
#include "classlib/core/lists.h"

class TComponentList : public TObjectList {
public:
    explicit TComponentList(bool ownsObjects = true);
    ~TComponentList() override;

    TComponent* Items(int index) const { return static_cast<TComponent*>(TList::Items(index)); }
    void SetItems(int index, TComponent* component) { TList::SetItems(index, component); }
    TComponent* First() const { return Items(0); }
    TComponent* Last() const { return Items(Count() - 1); }
    int Add(TComponent* component) { return TList::Add(component); }
    void Insert(int index, TComponent* component) { TList::Insert(index, component); }
    int Remove(TComponent* component) { return TList::Remove(component); }
    TComponent* Extract(TComponent* component) { return static_cast<TComponent*>(TList::Extract(component)); }
    int IndexOf(TComponent* component) const { return TList::IndexOf(component); }

protected:
    void Notify(void* item, TListNotification action) override;

private:
    class TNexus;
    void ComponentFreed(TComponent* component);

    TNexus* nexus_ = nullptr;
};
