#include "classlib/gui/actions.h"

#include <algorithm>

#include "classlib/core/class_builder.h"
#include "classlib/core/filer.h"
#include "classlib/gui/application.h"

// --- basic action ----------------------------------------------------------------

const TClassInfo& TBasicAction::StaticClass() {
    static const TClassInfo info = DefineClass<TBasicAction>("TBasicAction", &TComponent::StaticClass(), [](auto& c) {
        EVENT(c, OnExecute);
        EVENT(c, OnUpdate).Hidden();
    });
    return info;
}

TBasicAction::TBasicAction(TComponent* owner) : TComponent(owner) {}

TBasicAction::~TBasicAction() = default;

void TBasicAction::BeforeDestruction() {
    // Clients keep their link; it only forgets this action.
    while (!clients_.empty()) {
        TBasicActionLink* link = clients_.back();
        clients_.pop_back();
        link->action_ = nullptr;
    }
    SetActionComponent(nullptr);
    TComponent::BeforeDestruction();
}

bool TBasicAction::Execute() {
    if (!OnExecute) return false;
    OnExecute(this);
    return true;
}

bool TBasicAction::Update() {
    if (!OnUpdate) return false;
    OnUpdate(this);
    return true;
}

// Free notifications between two components are one pair, which another
// tie of the two may share: they are never taken back here, a stale one
// only finds nothing to clear.
void TBasicAction::SetActionComponent(TComponent* value) {
    if (action_component_ == value) return;
    action_component_ = value;
    if (value) value->FreeNotification(this);
}

void TBasicAction::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == action_component_) action_component_ = nullptr;
}

void TBasicAction::Change() {
    // The setters have told each link already; a link's own OnChange is for
    // its client taking the action as a whole.
}

void TBasicAction::RegisterChanges(TBasicActionLink* link) {
    clients_.push_back(link);
}

void TBasicAction::UnRegisterChanges(TBasicActionLink* link) {
    auto it = std::find(clients_.begin(), clients_.end(), link);
    if (it != clients_.end()) clients_.erase(it);
}

// --- basic action link -------------------------------------------------------------

const TClassInfo& TBasicActionLink::StaticClass() {
    static const TClassInfo info = DefineClass<TBasicActionLink>("TBasicActionLink", &TObject::StaticClass(), [](auto&) {});
    return info;
}

TBasicActionLink::TBasicActionLink(TObject*) {}

TBasicActionLink::~TBasicActionLink() {
    if (action_) action_->UnRegisterChanges(this);
}

void TBasicActionLink::SetAction(TBasicAction* value) {
    if (action_ == value) return;
    if (action_) action_->UnRegisterChanges(this);
    action_ = value;
    if (value) value->RegisterChanges(this);
}

bool TBasicActionLink::Execute(TComponent* actionComponent) {
    if (!action_) return false;
    TBasicAction* action = action_;
    action->SetActionComponent(actionComponent);
    struct Reset {
        TBasicAction* action;
        ~Reset() { action->SetActionComponent(nullptr); }
    } reset{action};
    return action->Execute();
}

bool TBasicActionLink::Update() {
    return action_ && action_->Update();
}

void TBasicActionLink::Change() {
    if (OnChange) OnChange(action_);
}

// --- contained action ---------------------------------------------------------------

const TClassInfo& TContainedAction::StaticClass() {
    static const TClassInfo info =
        DefineClass<TContainedAction>("TContainedAction", &TBasicAction::StaticClass(), [](auto& c) {
            PROPERTY(c, Category);
        });
    return info;
}

void TContainedAction::BeforeDestruction() {
    if (action_list_) action_list_->RemoveAction(this);
    TBasicAction::BeforeDestruction();
}

void TContainedAction::SetActionList(TCustomActionList* list) {
    if (list == action_list_) return;
    if (action_list_) action_list_->RemoveAction(this);
    if (list) list->AddAction(this);
}

void TContainedAction::SetCategory(const std::string& value) {
    category_ = value;
}

int32_t TContainedAction::Index() const {
    return action_list_ ? action_list_->IndexOfAction(this) : -1;
}

void TContainedAction::SetIndex(int32_t value) {
    if (action_list_) action_list_->MoveAction(this, value);
}

bool TContainedAction::Execute() {
    if (action_list_ && action_list_->ExecuteAction(this)) return true;
    if (TBasicAction::Execute()) return true;
    return Application && Application->Handle() &&
           SendMessageA(Application->Handle(), CM_ACTIONEXECUTE, 0, reinterpret_cast<LPARAM>(this)) == 1;
}

bool TContainedAction::Update() {
    if (action_list_ && action_list_->UpdateAction(this)) return true;
    if (TBasicAction::Update()) return true;
    return Application && Application->Handle() &&
           SendMessageA(Application->Handle(), CM_ACTIONUPDATE, 0, reinterpret_cast<LPARAM>(this)) == 1;
}

TComponent* TContainedAction::GetParentComponent() const {
    return action_list_;
}

void TContainedAction::SetParentComponent(TComponent* parent) {
    if (auto* list = dynamic_cast<TCustomActionList*>(parent)) SetActionList(list);
}

void TContainedAction::ReadState(TReader* reader) {
    if (auto* list = dynamic_cast<TCustomActionList*>(reader->Parent())) SetActionList(list);
    TBasicAction::ReadState(reader);
}

// --- custom action -------------------------------------------------------------------

const TClassInfo& TCustomAction::StaticClass() {
    static const TClassInfo info = DefineClass<TCustomAction>("TCustomAction", &TContainedAction::StaticClass(), [](auto& c) {
        PROPERTY(c, Caption).Hidden();
        PROPERTY(c, Checked).Default(false).Hidden();
        PROPERTY(c, Enabled).Default(true).Hidden();
        PROPERTY(c, HelpContext).Default(0).Hidden();
        PROPERTY(c, Hint).Hidden();
        PROPERTY(c, ImageIndex).Default(-1).Hidden();
        PROPERTY(c, ShortCut).Default(0).Hidden();
        PROPERTY(c, Visible).Default(true).Hidden();
    });
    return info;
}

template <class V, class F>
void TCustomAction::SetValue(V& field, const V& value, F tellLink) {
    if (field == value) return;
    for (int i = 0; i < ClientCount(); ++i)
        if (auto* link = dynamic_cast<TActionLink*>(Clients(i))) tellLink(link, value);
    field = value;
    Change();
}

void TCustomAction::SetCaption(const std::string& value) {
    SetValue(caption_, value, [](TActionLink* l, const std::string& v) { l->SetCaption(v); });
}

void TCustomAction::SetHint(const std::string& value) {
    SetValue(hint_, value, [](TActionLink* l, const std::string& v) { l->SetHint(v); });
}

void TCustomAction::SetChecked(bool value) {
    SetValue(checked_, value, [](TActionLink* l, bool v) { l->SetChecked(v); });
}

void TCustomAction::SetEnabled(bool value) {
    SetValue(enabled_, value, [](TActionLink* l, bool v) { l->SetEnabled(v); });
}

void TCustomAction::SetHelpContext(int32_t value) {
    SetValue(help_context_, value, [](TActionLink* l, int32_t v) { l->SetHelpContext(v); });
}

void TCustomAction::SetImageIndex(int32_t value) {
    SetValue(image_index_, value, [](TActionLink* l, int32_t v) { l->SetImageIndex(v); });
}

void TCustomAction::SetShortCut(TShortCut value) {
    SetValue(short_cut_, value, [](TActionLink* l, TShortCut v) { l->SetShortCut(v); });
}

void TCustomAction::SetVisible(bool value) {
    SetValue(visible_, value, [](TActionLink* l, bool v) { l->SetVisible(v); });
}

bool TCustomAction::Execute() {
    Update();
    return enabled_ && TContainedAction::Execute();
}

void TCustomAction::AssignTo(TPersistent* dest) const {
    auto* action = dynamic_cast<TCustomAction*>(dest);
    if (!action) {
        TContainedAction::AssignTo(dest);
        return;
    }
    action->SetCaption(caption_);
    action->SetChecked(checked_);
    action->SetEnabled(enabled_);
    action->SetHelpContext(help_context_);
    action->SetHint(hint_);
    action->SetImageIndex(image_index_);
    action->SetShortCut(short_cut_);
    action->SetVisible(visible_);
}

const TClassInfo& TAction::StaticClass() {
    static const TClassInfo info = DefineClass<TAction>("TAction", &TCustomAction::StaticClass(), [](auto& c) {
        c.Creatable();
        c.PublishAll("Caption", "Checked", "Enabled", "HelpContext", "Hint", "ImageIndex", "ShortCut", "Visible",
                     "OnUpdate");
    });
    return info;
}

const TClassInfo& THintAction::StaticClass() {
    static const TClassInfo info = DefineClass<THintAction>("THintAction", &TCustomAction::StaticClass(), [](auto& c) {
        c.Creatable();
        c.Publish("Hint");
    });
    return info;
}

// --- action lists -----------------------------------------------------------------------

const TClassInfo& TCustomActionList::StaticClass() {
    static const TClassInfo info =
        DefineClass<TCustomActionList>("TCustomActionList", &TComponent::StaticClass(), [](auto& c) {
            EVENT(c, OnExecute).Hidden();
            EVENT(c, OnUpdate).Hidden();
        });
    return info;
}

void TCustomActionList::BeforeDestruction() {
    // The actions stay with their owner; they only leave the list.
    while (!actions_.empty()) actions_.back()->SetActionList(nullptr);
    TComponent::BeforeDestruction();
}

void TCustomActionList::AddAction(TContainedAction* action) {
    if (!action || action->action_list_ == this) return;
    if (action->action_list_) action->action_list_->RemoveAction(action);
    actions_.push_back(action);
    action->action_list_ = this;
    action->FreeNotification(this);
}

void TCustomActionList::RemoveAction(TContainedAction* action) {
    auto it = std::find(actions_.begin(), actions_.end(), action);
    if (it == actions_.end()) return;
    actions_.erase(it);
    action->action_list_ = nullptr;
}

int TCustomActionList::IndexOfAction(const TContainedAction* action) const {
    auto it = std::find(actions_.begin(), actions_.end(), action);
    return it == actions_.end() ? -1 : static_cast<int>(it - actions_.begin());
}

void TCustomActionList::MoveAction(TContainedAction* action, int index) {
    int from = IndexOfAction(action);
    if (from < 0) return;
    index = std::clamp(index, 0, ActionCount() - 1);
    actions_.erase(actions_.begin() + from);
    actions_.insert(actions_.begin() + index, action);
}

bool TCustomActionList::ExecuteAction(TBasicAction* action) {
    bool handled = false;
    if (OnExecute) OnExecute(action, handled);
    return handled;
}

bool TCustomActionList::UpdateAction(TBasicAction* action) {
    bool handled = false;
    if (OnUpdate) OnUpdate(action, handled);
    return handled;
}

void TCustomActionList::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) {
    for (TContainedAction* action : actions_)
        if (action->Owner() == root) proc(action);
}

void TCustomActionList::SetChildOrder(TComponent* child, int order) {
    if (auto* action = dynamic_cast<TContainedAction*>(child)) MoveAction(action, order);
}

void TCustomActionList::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove)
        if (auto* action = dynamic_cast<TContainedAction*>(component)) RemoveAction(action);
}

const TClassInfo& TActionList::StaticClass() {
    static const TClassInfo info = DefineClass<TActionList>("TActionList", &TCustomActionList::StaticClass(), [](auto& c) {
        c.Creatable();
        c.PublishAll("OnExecute", "OnUpdate");
    });
    return info;
}

// --- action link ---------------------------------------------------------------------------

const TClassInfo& TActionLink::StaticClass() {
    static const TClassInfo info = DefineClass<TActionLink>("TActionLink", &TBasicActionLink::StaticClass(), [](auto&) {});
    return info;
}

TCustomAction* TActionLink::CustomAction() const {
    return dynamic_cast<TCustomAction*>(action_);
}

bool TActionLink::IsCaptionLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsCheckedLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsEnabledLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsHelpContextLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsHintLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsImageIndexLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsShortCutLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsVisibleLinked() { return CustomAction() != nullptr; }

void RegisterActionClasses() {
    for (const TClassInfo* info : {&TAction::StaticClass(), &THintAction::StaticClass(), &TActionList::StaticClass()})
        RegisterClass(*info);
}
