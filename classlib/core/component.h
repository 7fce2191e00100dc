// Components: named objects owned by another component, freed with their
// owner, filed in form layouts.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "classlib/core/persistent.h"
#include "classlib/core/sets.h"

class TReader;
class TWriter;

enum TComponentStateItem {
    csLoading, csReading, csWriting, csDestroying, csDesigning, csAncestor, csUpdating,
    csFixups, csFreeNotification, csInline, csDesignInstance
};
using TComponentState = TSet<TComponentStateItem>;

enum TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
    DECLARE_CLASS(TComponent, TPersistent)
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    // Frees the owned components and detaches from the owner while this
    // object is still whole.
    void BeforeDestruction() override;

    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const;
    int ComponentIndex() const;
    TComponent* FindComponent(const std::string& name) const;
    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);
    void DestroyComponents();

    const std::string& Name() const { return name_; }
    virtual void SetName(const std::string& name);
    int32_t Tag() const { return tag_; }
    void SetTag(int32_t tag) { tag_ = tag; }
    TComponentState ComponentState() const { return state_; }
    // Position of a non-visual component in the designer ("Left"/"Top").
    int32_t DesignInfo() const { return design_info_; }
    void SetDesignInfo(int32_t value) { design_info_ = value; }

    // When `component` is freed, this component gets Notification(opRemove).
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);
    // Sets csDestroying here and in every owned component.
    void Destroying();

    // Parent chain as layouts nest components (controls in their parents).
    virtual bool HasParent() const { return false; }
    virtual TComponent* GetParentComponent() const { return nullptr; }
    virtual void SetParentComponent(TComponent*) {}
    // Children to file below this component, in order.
    virtual void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root);
    virtual void SetChildOrder(TComponent*, int) {}
    // Where a layout places this component's children: their parent (this
    // by default) and their owner (nullptr: the layout's root).
    virtual TComponent* GetChildParent() { return this; }
    virtual TComponent* GetChildOwner() { return nullptr; }

    virtual void ReadState(TReader* reader);
    virtual void WriteState(TWriter* writer);
    virtual void Loaded();
    virtual void Notification(TComponent* component, TOperation operation);

    std::string GetNamePath() const override { return name_; }
    TPersistent* GetOwner() const override { return owner_; }
    void DefineProperties(TFiler* filer) override;

    // State changes made by the streaming system.
    void SetState(TComponentStateItem item, bool on);
    void SetDesigning(bool value, bool children = true);

protected:
    virtual void ValidateRename(TComponent* component, const std::string& oldName, const std::string& newName);
    virtual void ValidateInsert(TComponent*) {}
    virtual void ChangeName(const std::string& name) { name_ = name; }

private:
    void SetReference(bool enable);
    void Insert(TComponent* component);
    void Remove(TComponent* component);

    TComponent* owner_ = nullptr;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> free_notifies_;
    std::string name_;
    int32_t tag_ = 0;
    int32_t design_info_ = 0;
    TComponentState state_;
};

// True for a valid identifier (letters, digits, underscores, not starting
// with a digit).
bool IsValidIdent(const std::string& ident);
