#include "classlib/core/component.h"

#include <algorithm>

#include "classlib/core/class_builder.h"
#include "classlib/core/exceptions.h"
#include "classlib/core/filer.h"
#include "classlib/core/resstrings.h"
#include "classlib/core/strutils.h"

const TClassInfo& TComponent::StaticClass() {
    static const TClassInfo info = DefineClass<TComponent>("TComponent", &TPersistent::StaticClass(), [](auto& c) {
        PROPERTY(c, Name).Stored(false);
        PROPERTY(c, Tag).Default(0);
    });
    return info;
}

TComponent* AsComponent(TObject* object) {
    return dynamic_cast<TComponent*>(object);
}

bool IsValidIdent(const std::string& ident) {
    if (ident.empty()) return false;
    auto alpha = [](char ch) { return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || ch == '_'; };
    if (!alpha(ident[0])) return false;
    return std::all_of(ident.begin(), ident.end(), [&](char ch) { return alpha(ch) || (ch >= '0' && ch <= '9'); });
}

TComponent::TComponent(TComponent* owner) {
    if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() = default;

void TComponent::BeforeDestruction() {
    Destroying();
    // Tell everyone who asked that this component goes away.
    while (!free_notifies_.empty()) {
        TComponent* other = free_notifies_.back();
        free_notifies_.pop_back();
        auto& back = other->free_notifies_;
        back.erase(std::remove(back.begin(), back.end(), this), back.end());
        other->Notification(this, opRemove);
    }
    DestroyComponents();
    if (owner_) owner_->RemoveComponent(this);
}

TComponent* TComponent::Components(int index) const {
    if (index < 0 || index >= ComponentCount())
        throw EListError(Format(LoadStr(SListIndexError), {index}));
    return components_[static_cast<size_t>(index)];
}

int TComponent::ComponentIndex() const {
    if (!owner_) return -1;
    const auto& list = owner_->components_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

TComponent* TComponent::FindComponent(const std::string& name) const {
    if (name.empty()) return nullptr;
    for (TComponent* c : components_)
        if (SameText(c->name_, name)) return c;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
    ValidateInsert(component);
    ValidateRename(component, "", component->name_);
    Insert(component);
    component->SetReference(true);
    if (state_.Contains(csDesigning)) component->SetDesigning(true);
    Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
    Notification(component, opRemove);
    component->SetReference(false);
    Remove(component);
}

void TComponent::Insert(TComponent* component) {
    components_.push_back(component);
    component->owner_ = this;
}

void TComponent::Remove(TComponent* component) {
    components_.erase(std::remove(components_.begin(), components_.end(), component), components_.end());
    component->owner_ = nullptr;
}

void TComponent::DestroyComponents() {
    while (!components_.empty()) {
        TComponent* c = components_.back();
        Remove(c);
        c->Free();
    }
}

void TComponent::Destroying() {
    if (state_.Contains(csDestroying)) return;
    state_.Include(csDestroying);
    for (TComponent* c : components_) c->Destroying();
}

void TComponent::FreeNotification(TComponent* component) {
    if (!component || component == this) return;
    auto add = [](std::vector<TComponent*>& list, TComponent* c) {
        if (std::find(list.begin(), list.end(), c) == list.end()) list.push_back(c);
    };
    add(free_notifies_, component);
    add(component->free_notifies_, this);
    state_.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
    auto drop = [](std::vector<TComponent*>& list, TComponent* c) {
        list.erase(std::remove(list.begin(), list.end(), c), list.end());
    };
    drop(free_notifies_, component);
    drop(component->free_notifies_, this);
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    if (operation == opRemove && component) {
        auto& list = free_notifies_;
        list.erase(std::remove(list.begin(), list.end(), component), list.end());
    }
    for (size_t i = components_.size(); i-- > 0;)
        if (i < components_.size()) components_[i]->Notification(component, operation);
}

void TComponent::SetName(const std::string& name) {
    if (name_ == name) return;
    if (!name.empty() && !IsValidIdent(name))
        throw EComponentError(Format(LoadStr(SInvalidName), {name}));
    if (owner_) owner_->ValidateRename(this, name_, name);
    else ValidateRename(nullptr, name_, name);
    SetReference(false);
    ChangeName(name);
    SetReference(true);
}

void TComponent::ValidateRename(TComponent* component, const std::string& oldName, const std::string& newName) {
    if (component && !SameText(oldName, newName) && !newName.empty()) {
        TComponent* existing = FindComponent(newName);
        if (existing && existing != component)
            throw EComponentError(Format(LoadStr(SDuplicateName), {newName}));
    }
}

void TComponent::SetReference(bool enable) {
    if (!owner_ || name_.empty()) return;
    if (const TFieldInfo* field = owner_->ClassType().FindField(name_)) {
        if (enable) field->Set(*owner_, this);
        else if (field->Get(*owner_) == this) field->Set(*owner_, nullptr);
    }
}

void TComponent::GetChildren(const std::function<void(TComponent*)>&, TComponent*) {}

void TComponent::ReadState(TReader* reader) {
    reader->ReadData(this);
}

void TComponent::WriteState(TWriter* writer) {
    writer->WriteData(this);
}

void TComponent::Loaded() {
    state_.Exclude(csLoading);
}

void TComponent::SetState(TComponentStateItem item, bool on) {
    if (on) state_.Include(item);
    else state_.Exclude(item);
}

void TComponent::SetDesigning(bool value, bool children) {
    SetState(csDesigning, value);
    if (children)
        for (TComponent* c : components_) c->SetDesigning(value, true);
}

void TComponent::DefineProperties(TFiler* filer) {
    // Non-visual components keep their designer position in DesignInfo:
    // the low word is Left, the high word Top.
    auto* ancestor = dynamic_cast<TComponent*>(filer->Ancestor());
    uint32_t info = ancestor ? static_cast<uint32_t>(ancestor->design_info_) : 0;
    uint32_t mine = static_cast<uint32_t>(design_info_);
    filer->DefineProperty(
        "Left",
        [this](TReader* r) {
            design_info_ = static_cast<int32_t>((static_cast<uint32_t>(design_info_) & 0xFFFF0000u) |
                                                (static_cast<uint32_t>(r->ReadInteger()) & 0xFFFFu));
        },
        [this](TWriter* w) { w->WriteInteger(static_cast<int32_t>(static_cast<uint32_t>(design_info_) & 0xFFFFu)); },
        (mine & 0xFFFFu) != (info & 0xFFFFu));
    filer->DefineProperty(
        "Top",
        [this](TReader* r) {
            design_info_ = static_cast<int32_t>((static_cast<uint32_t>(design_info_) & 0xFFFFu) |
                                                (static_cast<uint32_t>(r->ReadInteger()) << 16));
        },
        [this](TWriter* w) { w->WriteInteger(static_cast<int32_t>(static_cast<uint32_t>(design_info_) >> 16)); },
        (mine >> 16) != (info >> 16));
}
