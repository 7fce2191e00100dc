// Collections: ordered lists of persistent items of one class, owned by the
// collection and filed in layouts as vaCollection.
#pragma once
#include <string>
#include <vector>

#include "classlib/core/persistent.h"

class TCollection;

class TCollectionItem : public TPersistent {
    DECLARE_CLASS(TCollectionItem, TPersistent)
public:
    // Joins the collection, which then owns the item.
    explicit TCollectionItem(TCollection* collection);
    ~TCollectionItem() override;
    // Tells the collection once the item is whole.
    void AfterConstruction() override;
    // Leaves the collection while still whole.
    void BeforeDestruction() override;

    TCollection* Collection() const { return collection_; }
    // Moves the item to another collection (nullptr: none, the caller then
    // owns it).
    void SetCollection(TCollection* collection);
    int Index() const;
    // Moves the item within its collection.
    void SetIndex(int index);
    // Unique within the collection and never reused.
    int ID() const { return id_; }
    std::string DisplayName() const { return GetDisplayName(); }
    void SetDisplayName(const std::string& name);

    std::string GetNamePath() const override;
    TPersistent* GetOwner() const override;

protected:
    virtual std::string GetDisplayName() const { return ClassName(); }
    // Tells the collection of a change to this item or, with allItems, to
    // all of them.
    void Changed(bool allItems);

private:
    friend class TCollection;
    TCollection* collection_ = nullptr;
    int id_ = 0;
};

class TCollection : public TPersistent {
    DECLARE_CLASS(TCollection, TPersistent)
public:
    explicit TCollection(const TClassInfo& itemClass);
    ~TCollection() override;

    const TClassInfo& ItemClass() const { return item_class_; }
    int Count() const { return static_cast<int>(items_.size()); }
    TCollectionItem* Items(int index) const;
    TCollectionItem* Add();
    TCollectionItem* Insert(int index);
    void Delete(int index);
    void Clear();
    TCollectionItem* FindItemID(int id) const;

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return update_count_; }

    // Copies another collection: one new item per source item, assigned.
    void Assign(const TPersistent* source) override;
    std::string GetNamePath() const override;

protected:
    // Called after changes unless updating; nullptr means all items.
    virtual void Update(TCollectionItem*) {}
    void Changed();

private:
    friend class TCollectionItem;
    void InsertItem(TCollectionItem* item);
    void RemoveItem(TCollectionItem* item);
    void CheckIndex(int index) const;

    const TClassInfo& item_class_;
    std::vector<TOwned<TCollectionItem>> items_;
    int next_id_ = 0;
    int update_count_ = 0;
};

// A collection that names its owner (for name paths and the designer).
class TOwnedCollection : public TCollection {
    DECLARE_CLASS(TOwnedCollection, TCollection)
public:
    TOwnedCollection(TPersistent* owner, const TClassInfo& itemClass)
        : TCollection(itemClass), owner_(owner) {}
    TPersistent* GetOwner() const override { return owner_; }

private:
    TPersistent* owner_;
};
