// Wide captions and hints of actions, carried to the controls and menu
// items linked to them although the class library's action machinery
// passes only ANSI texts. An action "has wide texts" when it is one of
// this layer's (TUcAction, TUcHintAction); its wide texts live in a
// TCustomActionHelper it owns.
#pragma once
#include <string>

#include "classlib/gui/actions.h"
#include "classlib/gui/control_action_links.h"
#include "classlib/gui/menus.h"
#include "classlib/stdctrls/button_control.h"

class TControl;

// The mark of the layer's actions: an action has wide texts when it
// implements this interface.
class IUcAction {
public:
    virtual ~IUcAction() = default;
};

bool ActionHasWideTexts(const TBasicAction* action);

// Keeps an action's wide caption and hint, and which ANSI text a wide set
// is on its way to.
class TCustomActionHelper : public TComponent {
    DECLARE_CLASS(TCustomActionHelper, TComponent)
public:
    explicit TCustomActionHelper(TComponent* owner) : TComponent(owner) {}

    TCustomAction* Action() const { return action_; }
    void SetAction(TCustomAction* action) { action_ = action; }

    // Read: during a transition the text before the set, else the wide
    // text brought in step with the action's ANSI text.
    std::wstring Caption();
    void SetCaption(const std::wstring& value);
    std::wstring Hint();
    void SetHint(const std::wstring& value);
    // A set is running and the action's ANSI text is not its target yet.
    bool CaptionTransition() const;
    bool HintTransition() const;
    // The stored wide texts as they stand.
    const std::wstring& WideCaption() const { return caption_.wide; }
    const std::wstring& WideHint() const { return hint_.wide; }

private:
    // The four fields of one text (caption or hint).
    struct TWideText {
        std::wstring wide;
        bool setting = false;
        std::wstring before_set;
        std::string ansi_target;
    };
    bool Transition(const TWideText& text, const std::string& ansiNow) const;
    std::wstring Read(TWideText& text, const std::string& ansiNow);
    void Set(TWideText& text, const std::wstring& value, const std::string& ansiNow,
             void (TCustomAction::*ansiSetter)(const std::string&));

    TCustomAction* action_ = nullptr;
    TWideText caption_;
    TWideText hint_;
};

// nullptr for an action without wide texts; else its helper (made on first use).
TCustomActionHelper* ActionWideHelper(TCustomAction* action);
std::wstring ActionGetWideCaption(TCustomAction* action);
void ActionSetWideCaption(TCustomAction* action, const std::wstring& value);
std::wstring ActionGetWideHint(TCustomAction* action);
void ActionSetWideHint(TCustomAction* action, const std::wstring& value);
// The text a link hands its client while the action tells it text: the
// helper's wide text during a wide set.
std::wstring ActionLinkWideCaption(TCustomAction* action, const std::wstring& text);
std::wstring ActionLinkWideHint(TCustomAction* action, const std::wstring& text);
// Copies the wide texts of an action or control into the action's ANSI texts.
void ActionAssignWideTexts(TCustomAction* action, TPersistent* source);
// The wide link class for a control (tool buttons have none here: no tool
// bar exists in this library).
const TClassInfo& UcActionLinkClassFor(const TControl* control);
// The control takes the wide caption and hint of an action with wide texts.
void ControlApplyActionTexts(TControl* control, TObject* sender, bool checkDefaults);

// An action whose Caption and Hint are wide.
class TUcAction : public TAction, public IUcAction {
    DECLARE_CLASS(TUcAction, TAction)
public:
    explicit TUcAction(TComponent* owner) : TAction(owner) {}
    std::wstring Caption() { return ActionGetWideCaption(this); }
    void SetCaption(const std::wstring& value) { ActionSetWideCaption(this, value); }
    std::wstring Hint() { return ActionGetWideHint(this); }
    void SetHint(const std::wstring& value) { ActionSetWideHint(this, value); }

    void DefineProperties(TFiler* filer) override;
    void Assign(const TPersistent* source) override;
};

class TUcHintAction : public THintAction, public IUcAction {
    DECLARE_CLASS(TUcHintAction, THintAction)
public:
    explicit TUcHintAction(TComponent* owner) : THintAction(owner) {}
    std::wstring Hint() { return ActionGetWideHint(this); }
    void SetHint(const std::wstring& value) { ActionSetWideHint(this, value); }

    void DefineProperties(TFiler* filer) override;
    void Assign(const TPersistent* source) override;
};

// The links: the client shows the wide texts of an action with wide texts.
class TUcMenuActionLink : public TMenuActionLink {
    DECLARE_CLASS(TUcMenuActionLink, TMenuActionLink)
public:
    explicit TUcMenuActionLink(TObject* client) : TMenuActionLink(client) {}
    bool IsCaptionLinked() override;
    bool IsHintLinked() override;
    void SetCaption(const std::string& value) override;
    void SetHint(const std::string& value) override;
};

class TUcButtonActionLink : public TButtonActionLink {
    DECLARE_CLASS(TUcButtonActionLink, TButtonActionLink)
public:
    explicit TUcButtonActionLink(TObject* client) : TButtonActionLink(client) {}
    bool IsCaptionLinked() override;
    bool IsHintLinked() override;
    void SetCaption(const std::string& value) override;
    void SetHint(const std::string& value) override;
};

class TUcWinControlActionLink : public TWinControlActionLink {
    DECLARE_CLASS(TUcWinControlActionLink, TWinControlActionLink)
public:
    explicit TUcWinControlActionLink(TObject* client) : TWinControlActionLink(client) {}
    bool IsCaptionLinked() override;
    bool IsHintLinked() override;
    void SetCaption(const std::string& value) override;
    void SetHint(const std::string& value) override;
};

class TUcControlActionLink : public TControlActionLink {
    DECLARE_CLASS(TUcControlActionLink, TControlActionLink)
public:
    explicit TUcControlActionLink(TObject* client) : TControlActionLink(client) {}
    bool IsCaptionLinked() override;
    bool IsHintLinked() override;
    void SetCaption(const std::string& value) override;
    void SetHint(const std::string& value) override;
};

void RegisterWideActionClasses();
