// TButtonControl: the common base of buttons and check boxes, which wrap
// the system BUTTON class. A mouse press first moves the focus to the
// button; when the focus does not arrive (an OnExit elsewhere refused it),
// the press is dropped, and no click is reported while it moves.
#pragma once
#include "classlib/gui/control_action_links.h"
#include "classlib/gui/wincontrol.h"

class TButtonControl : public TWinControl {
    DECLARE_CLASS(TButtonControl, TWinControl)
public:
    explicit TButtonControl(TComponent* owner) : TWinControl(owner) {}
    void WndProc(TMessage& message) override;
    // Check boxes and radio buttons have a checked state.
    virtual bool Checked() const { return false; }
    virtual void SetChecked(bool) {}

protected:
    const TClassInfo& GetActionLinkClass() const override;
    // Also takes the action's checked state.
    void ActionChange(TObject* sender, bool checkDefaults) override;
    bool ClicksDisabled() const { return clicks_disabled_; }
    void SetClicksDisabled(bool value) { clicks_disabled_ = value; }

private:
    bool clicks_disabled_ = false;
};

// The link of a button control: the checked state follows the action too.
class TButtonActionLink : public TWinControlActionLink {
    DECLARE_CLASS(TButtonActionLink, TWinControlActionLink)
public:
    explicit TButtonActionLink(TObject* client) : TWinControlActionLink(client) {}
    bool IsCheckedLinked() override;
    void SetChecked(bool value) override;
};
