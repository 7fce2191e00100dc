// Actions: named commands that controls and menu items link to. An action
// carries the caption, hint, shortcut and states its clients show, and
// tells each client's link of every change before it stores it.
#pragma once
#include <string>
#include <vector>

#include "classlib/core/component.h"
#include "classlib/core/events.h"
#include "classlib/gui/shortcuts.h"

class TBasicActionLink;
class TCustomActionList;

class TBasicAction : public TComponent {
    DECLARE_CLASS(TBasicAction, TComponent)
public:
    explicit TBasicAction(TComponent* owner);
    ~TBasicAction() override;
    // Detaches every client link while the action is still whole.
    void BeforeDestruction() override;

    // OnExecute; true when it ran.
    virtual bool Execute();
    // OnUpdate; true when it ran.
    virtual bool Update();
    // Whether the target (a control the application offers) takes the action.
    virtual bool HandlesTarget(TObject*) { return false; }
    virtual void ExecuteTarget(TObject*) {}
    virtual void UpdateTarget(TObject*) {}

    // The component that executes the action now (a clicked control).
    TComponent* ActionComponent() const { return action_component_; }
    void SetActionComponent(TComponent* value);

    int ClientCount() const { return static_cast<int>(clients_.size()); }
    TBasicActionLink* Clients(int index) const { return clients_[static_cast<size_t>(index)]; }

    void Notification(TComponent* component, TOperation operation) override;

    TNotifyEvent OnExecute;
    TNotifyEvent OnUpdate;

protected:
    // Called after a property changed (its setter has told the links).
    virtual void Change();

private:
    friend class TBasicActionLink;
    void RegisterChanges(TBasicActionLink* link);
    void UnRegisterChanges(TBasicActionLink* link);

    std::vector<TBasicActionLink*> clients_;
    TComponent* action_component_ = nullptr;
};

// The tie of one client (control, menu item) to its action.
class TBasicActionLink : public TObject {
    DECLARE_CLASS(TBasicActionLink, TObject)
public:
    explicit TBasicActionLink(TObject* client);
    ~TBasicActionLink() override;

    TBasicAction* Action() const { return action_; }
    virtual void SetAction(TBasicAction* value);
    // Executes the action on behalf of the component (the client).
    virtual bool Execute(TComponent* actionComponent = nullptr);
    virtual bool Update();
    virtual bool IsOnExecuteLinked() { return true; }

    // Told when the action changed as a whole (the client takes it again).
    TNotifyEvent OnChange;

protected:
    friend class TBasicAction;
    virtual void Change();

    TBasicAction* action_ = nullptr;
};

// An action that lives in an action list.
class TContainedAction : public TBasicAction {
    DECLARE_CLASS(TContainedAction, TBasicAction)
public:
    explicit TContainedAction(TComponent* owner) : TBasicAction(owner) {}
    void BeforeDestruction() override;

    TCustomActionList* ActionList() const { return action_list_; }
    void SetActionList(TCustomActionList* list);
    const std::string& Category() const { return category_; }
    void SetCategory(const std::string& value);
    int32_t Index() const;
    void SetIndex(int32_t value);

    // The list's handler, the action's own, then the application (which
    // offers the action to the active form's controls).
    bool Execute() override;
    bool Update() override;

    bool HasParent() const override { return action_list_ != nullptr; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* parent) override;
    void ReadState(TReader* reader) override;

private:
    friend class TCustomActionList;
    TCustomActionList* action_list_ = nullptr;
    std::string category_;
};

class TCustomAction : public TContainedAction {
    DECLARE_CLASS(TCustomAction, TContainedAction)
public:
    explicit TCustomAction(TComponent* owner) : TContainedAction(owner) {}

    // The setters tell each client link the new value, then store it.
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& value);
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& value);
    bool Checked() const { return checked_; }
    void SetChecked(bool value);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    int32_t HelpContext() const { return help_context_; }
    void SetHelpContext(int32_t value);
    int32_t ImageIndex() const { return image_index_; }
    void SetImageIndex(int32_t value);
    TShortCut ShortCut() const { return short_cut_; }
    void SetShortCut(TShortCut value);
    bool Visible() const { return visible_; }
    void SetVisible(bool value);

    // Updates first; runs only while enabled.
    bool Execute() override;

protected:
    void AssignTo(TPersistent* dest) const override;

private:
    template <class V, class F>
    void SetValue(V& field, const V& value, F tellLink);

    std::string caption_;
    std::string hint_;
    bool checked_ = false;
    bool enabled_ = true;
    int32_t help_context_ = 0;
    int32_t image_index_ = -1;
    TShortCut short_cut_ = 0;
    bool visible_ = true;
};

class TAction : public TCustomAction {
    DECLARE_CLASS(TAction, TCustomAction)
public:
    explicit TAction(TComponent* owner) : TCustomAction(owner) {}
};

// Carries the application's hint to whatever shows hints (a status bar).
class THintAction : public TCustomAction {
    DECLARE_CLASS(THintAction, TCustomAction)
public:
    explicit THintAction(TComponent* owner) : TCustomAction(owner) {}
};

using TActionEvent = TEvent<void(TBasicAction* Action, bool& Handled)>;

class TCustomActionList : public TComponent {
    DECLARE_CLASS(TCustomActionList, TComponent)
public:
    explicit TCustomActionList(TComponent* owner) : TComponent(owner) {}
    void BeforeDestruction() override;

    int ActionCount() const { return static_cast<int>(actions_.size()); }
    TContainedAction* Actions(int index) const { return actions_[static_cast<size_t>(index)]; }
    void AddAction(TContainedAction* action);
    void RemoveAction(TContainedAction* action);
    int IndexOfAction(const TContainedAction* action) const;
    void MoveAction(TContainedAction* action, int index);

    // The list's handler; true when it handled the action.
    virtual bool ExecuteAction(TBasicAction* action);
    virtual bool UpdateAction(TBasicAction* action);

    void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;
    void SetChildOrder(TComponent* child, int order) override;
    void Notification(TComponent* component, TOperation operation) override;

    TActionEvent OnExecute;
    TActionEvent OnUpdate;

private:
    std::vector<TContainedAction*> actions_;
};

class TActionList : public TCustomActionList {
    DECLARE_CLASS(TActionList, TCustomActionList)
public:
    explicit TActionList(TComponent* owner) : TCustomActionList(owner) {}
};

// A link to a TCustomAction: the client shows the action's values. Each
// Is...Linked says whether the client still shows the action's value (it
// then follows changes); the setters change the client only then.
class TActionLink : public TBasicActionLink {
    DECLARE_CLASS(TActionLink, TBasicActionLink)
public:
    explicit TActionLink(TObject* client) : TBasicActionLink(client) {}

    virtual bool IsCaptionLinked();
    virtual bool IsCheckedLinked();
    virtual bool IsEnabledLinked();
    virtual bool IsHelpContextLinked();
    virtual bool IsHintLinked();
    virtual bool IsImageIndexLinked();
    virtual bool IsShortCutLinked();
    virtual bool IsVisibleLinked();

    virtual void SetCaption(const std::string&) {}
    virtual void SetChecked(bool) {}
    virtual void SetEnabled(bool) {}
    virtual void SetHelpContext(int32_t) {}
    virtual void SetHint(const std::string&) {}
    virtual void SetImageIndex(int32_t) {}
    virtual void SetShortCut(TShortCut) {}
    virtual void SetVisible(bool) {}

protected:
    // The action as a TCustomAction (nullptr for other actions).
    TCustomAction* CustomAction() const;
};

// Registers the action classes for layouts.
void RegisterActionClasses();
