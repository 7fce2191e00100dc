#include "classlib/gui/actions.h"

#include <gtest/gtest.h>

#include "classlib/gui/application.h"
#include "classlib/gui/control_action_links.h"
#include "classlib/gui/forms.h"
#include "classlib/gui/graphic_control.h"
#include "classlib/gui/screen.h"

namespace {

// Records what a link was told and what the action held at that moment.
class TRecordingLink : public TActionLink {
public:
    explicit TRecordingLink(TObject* client) : TActionLink(client) {}
    void SetCaption(const std::string& value) override {
        told.push_back(value + " (held " + CustomAction()->Caption() + ")");
    }
    void SetHint(const std::string& value) override { told.push_back("hint " + value); }
    std::vector<std::string> told;
};

TEST(CustomAction, TellsEachLinkTheNewTextBeforeStoringIt) {
    auto action = MakeOwned<TAction>(nullptr);
    action->SetCaption("Old");
    TRecordingLink first(nullptr), second(nullptr);
    first.SetAction(action.get());
    second.SetAction(action.get());
    action->SetCaption("New");
    action->SetHint("Tip");
    EXPECT_EQ(first.told, (std::vector<std::string>{"New (held Old)", "hint Tip"}));
    EXPECT_EQ(second.told, first.told);
    action->SetCaption("New");
    EXPECT_EQ(first.told.size(), 2u) << "an unchanged text tells nobody";
}

TEST(CustomAction, FreedActionLeavesItsClientsUnlinked) {
    auto control = MakeOwned<TCustomControl>(nullptr);
    auto action = MakeOwned<TAction>(nullptr);
    control->SetAction(action.get());
    ASSERT_EQ(control->Action(), action.get());
    action.reset();
    EXPECT_EQ(control->Action(), nullptr);
}

TEST(ControlActionLink, ControlFollowsTheActionWhileItShowsTheActionsValues) {
    auto control = MakeOwned<TCustomControl>(nullptr);
    auto action = MakeOwned<TAction>(nullptr);
    action->SetCaption("Open");
    action->SetHint("Opens|Opens a document");
    control->SetAction(action.get());
    EXPECT_EQ(control->Caption(), "Open");
    EXPECT_EQ(control->Hint(), "Opens|Opens a document");
    EXPECT_TRUE(control->ActionLink()->IsCaptionLinked());

    action->SetCaption("Open file");
    action->SetEnabled(false);
    EXPECT_EQ(control->Caption(), "Open file");
    EXPECT_FALSE(control->Enabled());

    control->SetCaption("Mine");
    EXPECT_FALSE(control->ActionLink()->IsCaptionLinked());
    action->SetCaption("Later");
    EXPECT_EQ(control->Caption(), "Mine") << "a caption of its own is kept";
}

TEST(ControlActionLink, CheckingDefaultsKeepsTheControlsOwnCaption) {
    auto action = MakeOwned<TAction>(nullptr);
    action->SetCaption("Run");
    auto named = MakeOwned<TCustomControl>(nullptr);
    named->SetName("Button1");
    named->SetCaption("Button1");
    // Layouts link with defaults checked: a caption equal to the name is
    // a default, any other one the control's own.
    action->SetState(csLoading, true);
    named->SetAction(action.get());
    EXPECT_EQ(named->Caption(), "Run");
    auto own = MakeOwned<TCustomControl>(nullptr);
    own->SetCaption("Go");
    own->SetAction(action.get());
    EXPECT_EQ(own->Caption(), "Go");
    action->SetState(csLoading, false);
}

TEST(ControlActionLink, LinkingAClientOfAnotherClassRaisesAtItsFirstTest) {
    auto action = MakeOwned<TAction>(nullptr);
    TControlActionLink link(action.get());  // the client is no control
    link.SetAction(action.get());
    EXPECT_THROW(link.IsCaptionLinked(), EInvalidCast);
}

TEST(ControlClick, RunsOnClickOrElseTheAction) {
    auto control = MakeOwned<TCustomControl>(nullptr);
    auto action = MakeOwned<TAction>(nullptr);
    std::vector<std::string> ran;
    action->OnExecute = [&](TObject*) { ran.push_back("action"); };
    control->SetAction(action.get());
    control->Click();
    control->OnClick = [&](TObject*) { ran.push_back("click"); };
    control->Click();
    action->SetEnabled(false);
    control->OnClick = nullptr;
    control->Click();
    EXPECT_EQ(ran, (std::vector<std::string>{"action", "click"})) << "a disabled action does not run";
}

TEST(ActionList, ItsHandlerComesBeforeTheActionsOwn) {
    auto list = MakeOwned<TActionList>(nullptr);
    auto action = MakeOwned<TAction>(nullptr);
    action->SetActionList(list.get());
    EXPECT_EQ(action->Index(), 0);
    std::vector<std::string> ran;
    action->OnExecute = [&](TObject*) { ran.push_back("own"); };
    list->OnExecute = [&](TBasicAction* a, bool& handled) {
        ran.push_back("list");
        handled = a->Tag() == 1;
    };
    EXPECT_TRUE(action->Execute());
    action->SetTag(1);
    EXPECT_TRUE(action->Execute());
    EXPECT_EQ(ran, (std::vector<std::string>{"list", "own", "list"}));
    list.reset();
    EXPECT_EQ(action->ActionList(), nullptr);
}

// Shows the application's hint, as a status bar does.
class THintShower : public TCustomControl {
public:
    explicit THintShower(TComponent* owner) : TCustomControl(owner) {}
    bool ExecuteAction(TBasicAction* action) override {
        auto* hint = dynamic_cast<THintAction*>(action);
        if (!hint) return false;
        shown.push_back(hint->Hint());
        return true;
    }
    std::vector<std::string> shown;
};

TEST(ApplicationHint, AChangeReachesTheActiveFormThroughAHintAction) {
    auto form = MakeOwned<TForm>(nullptr);
    auto* shower = New<THintShower>(form.get());
    shower->SetParent(form.get());
    TCustomForm* saved = Screen->ActiveForm();
    Screen->SetActiveForm(form.get());
    Application->SetHint("Saves the document");
    Application->SetHint("Saves the document");
    Application->SetHint("");
    Screen->SetActiveForm(saved);
    EXPECT_EQ(shower->shown, (std::vector<std::string>{"Saves the document", ""}));
}

TEST(Hints, ShortAndLongPartsSplitAtTheFirstBar) {
    EXPECT_EQ(GetShortHint("A|B|C"), "A");
    EXPECT_EQ(GetLongHint("A|B|C"), "B|C");
    EXPECT_EQ(GetShortHint("Plain"), "Plain");
    EXPECT_EQ(GetLongHint("Plain"), "Plain");
}

}  // namespace
