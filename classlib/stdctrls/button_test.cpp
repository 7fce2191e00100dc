#include "classlib/stdctrls/button.h"

#include <gtest/gtest.h>

#include "classlib/stdctrls/edit.h"
#include "classlib/stdctrls/panel.h"
#include "classlib/stdctrls/test_support.h"

namespace {

LONG PushStyle(TButton* button) {
    return GetWindowLongA(button->Handle(), GWL_STYLE) & 0xF;
}

struct DialogButtons : SharedFormTest {
    TEdit* edit = nullptr;
    TButton* ok = nullptr;
    TButton* cancel = nullptr;
    TButton* other = nullptr;
    std::vector<std::string> clicks;

    void SetUp() override {
        // The buttons sit on a panel: focus changes must reach them there.
        auto* panel = AddControl<TPanel>(form, 0, 200, 400, 60);
        edit = AddControl<TEdit>(form, 10, 10, 150, 21);
        ok = AddControl<TButton>(panel, 10, 10, 75, 25);
        cancel = AddControl<TButton>(panel, 100, 10, 75, 25);
        other = AddControl<TButton>(panel, 190, 10, 75, 25);
        ok->SetCaption("OK");
        ok->SetDefault(true);
        cancel->SetCaption("Cancel");
        cancel->SetCancel(true);
        other->SetCaption("&Other");
        for (auto* b : {ok, cancel, other}) {
            b->OnClick = [this, b](TObject*) { clicks.push_back(b->Caption()); };
        }
        edit->SetFocus();
        DrainMessages();
    }
};

TEST_F(DialogButtons, EnterClicksTheDefaultAndEscapeTheCancelButton) {
    ASSERT_TRUE(edit->Focused());
    EXPECT_EQ(PushStyle(ok), BS_DEFPUSHBUTTON);
    PressKey(VK_RETURN);
    PressKey(VK_ESCAPE);
    EXPECT_EQ(clicks, (std::vector<std::string>{"OK", "Cancel"}));
    // Shift+Enter is not a dialog key for buttons.
    PressChord(VK_SHIFT, VK_RETURN);
    EXPECT_EQ(clicks.size(), 2u);
}

TEST_F(DialogButtons, AFocusedButtonTakesEnterItself) {
    other->SetFocus();
    DrainMessages();
    EXPECT_TRUE(other->Active());
    EXPECT_FALSE(ok->Active());
    EXPECT_EQ(PushStyle(other), BS_DEFPUSHBUTTON);
    EXPECT_EQ(PushStyle(ok), BS_PUSHBUTTON);
    PressKey(VK_RETURN);
    EXPECT_EQ(clicks, (std::vector<std::string>{"&Other"}));
    // Back on the edit, the default button is active again.
    edit->SetFocus();
    DrainMessages();
    EXPECT_TRUE(ok->Active());
    EXPECT_EQ(PushStyle(other), BS_PUSHBUTTON);
}

TEST_F(DialogButtons, DisabledDefaultButtonIgnoresEnter) {
    ok->SetEnabled(false);
    PressKey(VK_RETURN);
    EXPECT_TRUE(clicks.empty());
}

TEST_F(DialogButtons, ChangingDefaultUpdatesTheActiveButton) {
    ok->SetDefault(false);
    EXPECT_FALSE(ok->Active());
    cancel->SetDefault(true);
    EXPECT_TRUE(cancel->Active());
    PressKey(VK_RETURN);
    EXPECT_EQ(clicks, (std::vector<std::string>{"Cancel"}));
}

TEST_F(DialogButtons, MouseAndAcceleratorClick) {
    ClickAt(other, 20, 10);
    EXPECT_EQ(clicks, (std::vector<std::string>{"&Other"}));
    EXPECT_TRUE(other->Focused());
    // Pressed on the button, released outside: no click.
    MoveMouseTo(ok, 10, 10);
    MouseButton(true);
    MoveMouseTo(form, 5, 100);
    MouseButton(false);
    EXPECT_EQ(clicks.size(), 1u);

    edit->SetFocus();
    DrainMessages();
    PressChord(VK_MENU, 'O');
    EXPECT_EQ(clicks, (std::vector<std::string>{"&Other", "&Other"}));
}

TEST_F(DialogButtons, ClickOnAFormThatIsNotModalLeavesModalResult) {
    ok->SetModalResult(mrOk);
    ok->Click();
    EXPECT_EQ(form->ModalResult(), mrNone);
    EXPECT_TRUE(form->Visible());
}

TEST(Button, ModalFormEndsWithTheButtonsResult) {
    auto form = MakeForm(300, 120);
    auto* edit = AddControl<TEdit>(form.get(), 10, 10, 150, 21);
    auto* ok = AddControl<TButton>(form.get(), 10, 50, 75, 25);
    auto* cancel = AddControl<TButton>(form.get(), 100, 50, 75, 25);
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
    edit->SetTabOrder(0);
    std::vector<WORD> keys = {VK_RETURN, VK_ESCAPE};
    TModalResult results[2] = {};
    for (int round = 0; round < 2; ++round) {
        form->OnShow = [&, round](TObject*) { PostMessageA(form->Handle(), WM_USER + 7, keys[round], 0); };
        Application->OnMessage = [&](MSG& msg, bool& handled) {
            if (msg.message != WM_USER + 7) return;
            handled = true;
            SendKeyEvent(static_cast<WORD>(msg.wParam), false);
            SendKeyEvent(static_cast<WORD>(msg.wParam), true);
        };
        results[round] = form->ShowModal();
        Application->OnMessage = nullptr;
    }
    EXPECT_EQ(results[0], mrOk);
    EXPECT_EQ(results[1], mrCancel);
}

}  // namespace
