#include "classlib/core/collection.h"

#include <algorithm>

#include "classlib/core/class_builder.h"
#include "classlib/core/exceptions.h"
#include "classlib/core/resstrings.h"
#include "classlib/core/scope_exit.h"
#include "classlib/core/strutils.h"

TCollection* AsCollection(TObject* object) {
    return dynamic_cast<TCollection*>(object);
}

const TClassInfo& TCollectionItem::StaticClass() {
    static const TClassInfo info = DefineClass<TCollectionItem>(
        "TCollectionItem", &TPersistent::StaticClass(), [](auto& c) { c.Creatable(); });
    return info;
}

TCollectionItem::TCollectionItem(TCollection* collection) {
    if (collection) collection->InsertItem(this);
}

TCollectionItem::~TCollectionItem() {
    // Only when a constructor threw: Free() has left the collection already.
    if (collection_) collection_->RemoveItem(this);
}

void TCollectionItem::AfterConstruction() {
    inherited::AfterConstruction();
    if (collection_) collection_->Changed();
}

void TCollectionItem::BeforeDestruction() {
    SetCollection(nullptr);
    inherited::BeforeDestruction();
}

void TCollectionItem::SetCollection(TCollection* collection) {
    if (collection == collection_) return;
    if (TCollection* old = collection_) {
        old->RemoveItem(this);
        old->Changed();
    }
    if (collection) {
        collection->InsertItem(this);
        collection->Changed();
    }
}

int TCollectionItem::Index() const {
    if (!collection_) return -1;
    const auto& items = collection_->items_;
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].get() == this) return static_cast<int>(i);
    return -1;
}

void TCollectionItem::SetIndex(int index) {
    int current = Index();
    if (current < 0 || current == index) return;
    collection_->CheckIndex(index);
    auto& items = collection_->items_;
    auto from = items.begin() + current, to = items.begin() + index;
    if (current < index) std::rotate(from, from + 1, to + 1);
    else std::rotate(to, from, from + 1);
    Changed(true);
}

void TCollectionItem::SetDisplayName(const std::string&) {
    Changed(false);
}

void TCollectionItem::Changed(bool allItems) {
    if (collection_ && collection_->update_count_ == 0) collection_->Update(allItems ? nullptr : this);
}

std::string TCollectionItem::GetNamePath() const {
    if (!collection_) return ClassName();
    return collection_->GetNamePath() + "[" + IntToStr(Index()) + "]";
}

TPersistent* TCollectionItem::GetOwner() const {
    return collection_;
}

const TClassInfo& TCollection::StaticClass() {
    static const TClassInfo info = DefineClass<TCollection>("TCollection", &TPersistent::StaticClass(), [](auto&) {});
    return info;
}

TCollection::TCollection(const TClassInfo& itemClass) : item_class_(itemClass) {}

TCollection::~TCollection() {
    update_count_ = 1;
    while (!items_.empty()) items_.back()->Free();
}

TCollectionItem* TCollection::Items(int index) const {
    CheckIndex(index);
    return items_[static_cast<size_t>(index)].get();
}

TCollectionItem* TCollection::Add() {
    TObject* created = item_class_.CreateInstance(this);
    auto* item = dynamic_cast<TCollectionItem*>(created);
    if (!item || item->collection_ != this) {
        // A factory that made no item of this collection: nothing to keep.
        if (created) created->Free();
        throw EInvalidOperation(Format(LoadStr(SAbstractClass), {item_class_.Name()}));
    }
    return item;
}

TCollectionItem* TCollection::Insert(int index) {
    if (index < 0 || index > Count()) throw EListError(Format(LoadStr(SListIndexError), {index}));
    TCollectionItem* item = Add();
    item->SetIndex(index);
    return item;
}

void TCollection::Delete(int index) {
    Items(index)->Free();
}

void TCollection::Clear() {
    if (items_.empty()) return;
    WhileUpdating(*this, [this] {
        while (!items_.empty()) items_.back()->Free();
    });
}

TCollectionItem* TCollection::FindItemID(int id) const {
    for (const auto& item : items_)
        if (item->id_ == id) return item.get();
    return nullptr;
}

void TCollection::BeginUpdate() {
    ++update_count_;
}

void TCollection::EndUpdate() {
    if (update_count_ > 0) --update_count_;
    Changed();
}

void TCollection::Changed() {
    if (update_count_ == 0) Update(nullptr);
}

void TCollection::Assign(const TPersistent* source) {
    auto* other = dynamic_cast<const TCollection*>(source);
    if (!other) return inherited::Assign(source);
    if (other == this) return;
    // The copies go behind the old items, which leave only when every copy
    // succeeded: a failing Assign keeps the collection as it was.
    WhileUpdating(*this, [&] {
        size_t oldCount = items_.size();
        try {
            for (int i = 0; i < other->Count(); ++i) Add()->Assign(other->Items(i));
        } catch (...) {
            while (items_.size() > oldCount) items_.back()->Free();
            throw;
        }
        while (oldCount > 0) {
            items_.front()->Free();
            --oldCount;
        }
    });
}

std::string TCollection::GetNamePath() const {
    TPersistent* owner = GetOwner();
    if (!owner) return ClassName();
    for (const TPropInfo* prop : owner->ClassType().Props())
        if (prop->Kind() == tkClass && prop->GetObj && prop->GetObj(*owner) == this)
            return owner->GetNamePath() + "." + prop->Name;
    return owner->GetNamePath();
}

void TCollection::InsertItem(TCollectionItem* item) {
    items_.emplace_back(item);
    item->collection_ = this;
    item->id_ = next_id_++;
}

void TCollection::RemoveItem(TCollectionItem* item) {
    auto it = std::find_if(items_.begin(), items_.end(), [item](const auto& p) { return p.get() == item; });
    if (it != items_.end()) {
        it->release();
        items_.erase(it);
    }
    item->collection_ = nullptr;
}

void TCollection::CheckIndex(int index) const {
    if (index < 0 || index >= Count()) throw EListError(Format(LoadStr(SListIndexError), {index}));
}

const TClassInfo& TOwnedCollection::StaticClass() {
    static const TClassInfo info =
        DefineClass<TOwnedCollection>("TOwnedCollection", &TCollection::StaticClass(), [](auto&) {});
    return info;
}
