// The links of controls to their actions: the control shows the action's
// caption, enabled state, hint and visibility while they equal the
// action's values.
#pragma once
#include "classlib/gui/actions.h"
#include "classlib/gui/control.h"

class TControlActionLink : public TActionLink {
    DECLARE_CLASS(TControlActionLink, TActionLink)
public:
    explicit TControlActionLink(TObject* client);

    bool IsCaptionLinked() override;
    bool IsEnabledLinked() override;
    bool IsHintLinked() override;
    bool IsVisibleLinked() override;
    void SetCaption(const std::string& value) override;
    void SetEnabled(bool value) override;
    void SetHint(const std::string& value) override;
    void SetVisible(bool value) override;

protected:
    // The client; raises EInvalidCast when it is no control.
    TControl* Client() const;

private:
    TObject* client_;
};

class TWinControlActionLink : public TControlActionLink {
    DECLARE_CLASS(TWinControlActionLink, TControlActionLink)
public:
    explicit TWinControlActionLink(TObject* client) : TControlActionLink(client) {}
};
