#include "classlib/stdctrls/edit.h"

#include <gtest/gtest.h>

#include "classlib/stdctrls/test_support.h"

namespace {

// Records the text at every OnChange.
struct ChangeLog {
    std::vector<std::string> texts;
    void Attach(TCustomEdit* edit) {
        edit->OnChange = [this, edit](TObject*) { texts.push_back(edit->Text()); };
    }
};

TEST(Edit, ChangeFiresForRealChangesBeforeTheWindowExists) {
    auto form = MakeForm();  // never shown
    auto* edit = AddControl<TEdit>(form.get(), 10, 10, 150, 21);
    ChangeLog log;
    log.Attach(edit);
    edit->SetText("abc");
    edit->SetText("abc");
    edit->SetText("");
    EXPECT_FALSE(edit->HandleAllocated());
    EXPECT_EQ(log.texts, (std::vector<std::string>{"abc", ""}));
}

TEST(Edit, WindowlessSelectionAndModifiedFlagAreKept) {
    auto form = MakeForm();
    auto* edit = AddControl<TEdit>(form.get(), 10, 10, 150, 21);
    edit->SetText("0123456789");
    edit->SetSelStart(3);
    edit->SetSelLength(4);
    edit->SetModified(true);
    EXPECT_EQ(edit->SelText(), "3456");
    edit->SetSelText("-");
    EXPECT_EQ(edit->Text(), "012-789");
    EXPECT_EQ(edit->SelStart(), 4);
    EXPECT_EQ(edit->SelLength(), 0);
    edit->SetSelStart(100);  // clamped to the text
    EXPECT_EQ(edit->SelStart(), 7);
    edit->SelectAll();
    edit->SetModified(true);
    EXPECT_FALSE(edit->HandleAllocated());
    edit->HandleNeeded();
    EXPECT_EQ(edit->SelLength(), 7);
    EXPECT_TRUE(edit->Modified());
}

TEST(Edit, AutoSizeFollowsTheFont) {
    auto form = MakeForm();
    auto* edit = AddControl<TEdit>(form.get(), 10, 10, 150, 21);
    int small = edit->Height();
    edit->Font()->SetHeight(-24);
    EXPECT_GT(edit->Height(), small + 8);
    edit->SetAutoSize(false);
    edit->SetHeight(50);
    edit->Font()->SetHeight(-11);
    EXPECT_EQ(edit->Height(), 50);
}

using EditOnForm = SharedFormTest;

TEST_F(EditOnForm, KeptTextBecomesTheWindowsWithoutAChange) {
    auto* edit = New<TEdit>(form);
    ChangeLog log;
    log.Attach(edit);
    edit->SetText("kept");
    log.texts.clear();
    edit->SetParent(form);
    ASSERT_TRUE(edit->HandleAllocated());
    char buffer[32] = {};
    GetWindowTextA(edit->Handle(), buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "kept");
    EXPECT_TRUE(log.texts.empty());
}

TEST_F(EditOnForm, TypingAndSettingFromCodeEachChangeOnce) {
    auto* edit = AddControl<TEdit>(form, 10, 10, 150, 21);
    ChangeLog log;
    log.Attach(edit);
    edit->SetFocus();
    DrainMessages();
    TypeText("xy");
    EXPECT_EQ(edit->Text(), "xy");
    EXPECT_EQ(log.texts, (std::vector<std::string>{"x", "xy"}));
    EXPECT_TRUE(edit->Modified());

    log.texts.clear();
    edit->SetText("xy");
    EXPECT_TRUE(log.texts.empty());
    edit->SetText("from code");
    EXPECT_EQ(log.texts, (std::vector<std::string>{"from code"}));
    EXPECT_FALSE(edit->Modified());

    log.texts.clear();
    edit->SetSelStart(5);
    edit->SetSelLength(4);
    EXPECT_EQ(edit->SelText(), "code");
    edit->SetSelText("text");
    EXPECT_EQ(edit->Text(), "from text");
    edit->SetSelText("");  // an empty selection replaced by nothing
    EXPECT_EQ(log.texts, (std::vector<std::string>{"from text"}));
}

TEST_F(EditOnForm, RecreatingTheWindowKeepsTextSelectionAndModifiedFlag) {
    auto* edit = AddControl<TEdit>(form, 10, 10, 150, 21);
    ChangeLog log;
    log.Attach(edit);
    edit->SetText("recreate me");
    edit->SetModified(true);
    edit->SetSelStart(2);
    edit->SetSelLength(6);
    log.texts.clear();
    HWND before = edit->Handle();
    edit->SetBorderStyle(bsNone);
    ASSERT_NE(edit->Handle(), before);
    EXPECT_EQ(edit->Text(), "recreate me");
    EXPECT_EQ(edit->SelText(), "create");
    EXPECT_TRUE(edit->Modified());
    EXPECT_TRUE(log.texts.empty());
    EXPECT_EQ(GetWindowLongA(edit->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
}

TEST_F(EditOnForm, CharCaseMaxLengthPasswordAndReadOnlyReachTheWindow) {
    auto* edit = New<TEdit>(form);
    edit->SetCharCase(ecUpperCase);
    edit->SetText("Stra\xDF" "e \xFC");
    EXPECT_EQ(edit->Text(), "STRA\xDF" "E \xDC");
    edit->SetMaxLength(4);
    edit->SetPasswordChar('*');
    edit->SetParent(form);
    EXPECT_EQ(edit->Text(), "STRA\xDF" "E \xDC");
    EXPECT_EQ(SendMessageA(edit->Handle(), EM_GETPASSWORDCHAR, 0, 0), '*');
    edit->SetText("");
    edit->SetFocus();
    DrainMessages();
    TypeText("abcdef");
    EXPECT_EQ(edit->Text(), "ABCD");

    edit->SetReadOnly(true);
    TypeText("\b");
    EXPECT_EQ(edit->Text(), "ABCD");
    EXPECT_NE(GetWindowLongA(edit->Handle(), GWL_STYLE) & ES_READONLY, 0);
}

TEST_F(EditOnForm, TabbingInSelectsAllClickingDoesNot) {
    auto* first = AddControl<TEdit>(form, 10, 50, 150, 21);
    auto* edit = AddControl<TEdit>(form, 10, 10, 150, 21);
    edit->SetText("select me");
    first->SetFocus();
    DrainMessages();
    PressKey(VK_TAB);
    ASSERT_TRUE(edit->Focused());
    EXPECT_EQ(edit->SelLength(), 9);

    first->SetFocus();
    DrainMessages();
    ClickAt(edit, 140, 10);
    ASSERT_TRUE(edit->Focused());
    EXPECT_EQ(edit->SelLength(), 0);
    EXPECT_EQ(edit->SelStart(), 9);
}

}  // namespace
