#include "classlib/core/component_list.h"

// Hears of the freeing of every component in the list.
class TComponentList::TNexus : public TComponent {
public:
    explicit TNexus(TComponentList* list) : TComponent(nullptr), list_(list) {}
    void Notification(TComponent* component, TOperation operation) override {
        if (operation == opRemove && list_) list_->ComponentFreed(component);
        TComponent::Notification(component, operation);
    }
    TComponentList* list_;
};

TComponentList::TComponentList(bool ownsObjects) : TObjectList(ownsObjects), nexus_(New<TNexus>(this)) {}

TComponentList::~TComponentList() {
    Clear();
    nexus_->list_ = nullptr;
    FreeAndNil(nexus_);
}

void TComponentList::ComponentFreed(TComponent* component) {
    while (IndexOf(component) >= 0) Extract(component);
}

void TComponentList::Notify(void* item, TListNotification action) {
    auto* component = static_cast<TComponent*>(item);
    if (action == lnAdded) {
        nexus_->FreeNotification(component);
    } else if (IndexOf(component) < 0) {
        // The last place it held in the list is gone.
        nexus_->RemoveFreeNotification(component);
    }
    TObjectList::Notify(item, action);
}
