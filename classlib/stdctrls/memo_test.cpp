#include "classlib/stdctrls/memo.h"

#include <gtest/gtest.h>

#include "classlib/stdctrls/button.h"
#include "classlib/stdctrls/test_support.h"

namespace {

// The text the memo's window holds.
std::string WindowText(TWinControl* control) {
    int n = GetWindowTextLengthA(control->Handle());
    std::string s(static_cast<size_t>(n) + 1, '\0');
    s.resize(static_cast<size_t>(GetWindowTextA(control->Handle(), s.data(), n + 1)));
    return s;
}

// The same checks with and without a window.
void CheckLinesKeepCrLf(TMemo* memo) {
    memo->Lines()->SetText("one\r\ntwo\r\n");
    EXPECT_EQ(memo->Text(), "one\r\ntwo\r\n");
    EXPECT_EQ(memo->Lines()->Count(), 2);
    memo->SetText("a\r\nb");
    EXPECT_EQ(memo->Lines()->Text(), "a\r\nb");
    memo->Lines()->Add("c");
    EXPECT_EQ(memo->Text(), "a\r\nb\r\nc");
    memo->Lines()->Insert(0, "z");
    EXPECT_EQ(memo->Text(), "z\r\na\r\nb\r\nc");
    memo->Lines()->Delete(1);
    memo->Lines()->Put(1, "B");
    EXPECT_EQ(memo->Text(), "z\r\nB\r\nc");
    EXPECT_EQ(memo->Lines()->Strings(2), "c");
    memo->Lines()->SetText("lone\nbreaks\r");
    EXPECT_EQ(memo->Text(), "lone\r\nbreaks\r\n");
    EXPECT_THROW(memo->Lines()->Strings(2), EListError);
    EXPECT_THROW(memo->Lines()->Insert(4, "x"), EListError);
    EXPECT_EQ(memo->Text(), "lone\r\nbreaks\r\n");
    memo->Lines()->Clear();
    EXPECT_EQ(memo->Text(), "");
    memo->Lines()->Add("first");
    EXPECT_EQ(memo->Text(), "first\r\n");
}

TEST(Memo, LinesAndTextKeepCrLfWithoutAWindow) {
    auto form = MakeForm();
    auto* memo = AddControl<TMemo>(form.get(), 10, 10, 200, 100);
    CheckLinesKeepCrLf(memo);
    EXPECT_FALSE(memo->HandleAllocated());
}

TEST(Memo, ListOperationsChangeOnceEach) {
    auto form = MakeForm();
    auto* memo = AddControl<TMemo>(form.get(), 10, 10, 200, 100);
    int changes = 0;
    memo->OnChange = [&](TObject*) { ++changes; };
    memo->Lines()->SetText("a\r\nb\r\nc\r\n");
    memo->Lines()->Delete(0);
    memo->Lines()->Add("d");
    auto source = MakeOwned<TStringList>();
    source->SetText("x\r\ny\r\n");
    memo->Lines()->Assign(source.get());
    EXPECT_EQ(changes, 4);
    EXPECT_EQ(memo->Text(), "x\r\ny\r\n");
}

using MemoOnForm = SharedFormTest;

TEST_F(MemoOnForm, LinesAndTextKeepCrLfInTheWindow) {
    auto* memo = AddControl<TMemo>(form, 10, 10, 200, 100);
    ASSERT_TRUE(memo->HandleAllocated());
    CheckLinesKeepCrLf(memo);
    memo->SetText("x\r\ny");
    EXPECT_EQ(WindowText(memo), "x\r\ny");
    // A new window gets the same bytes.
    memo->SetWordWrap(false);
    EXPECT_EQ(WindowText(memo), "x\r\ny");
    EXPECT_NE(GetWindowLongA(memo->Handle(), GWL_STYLE) & ES_AUTOHSCROLL, 0);
}

TEST_F(MemoOnForm, EnterTypesALineBreakOrClicksTheDefaultButton) {
    auto* memo = AddControl<TMemo>(form, 10, 10, 200, 100);
    auto* ok = AddControl<TButton>(form, 220, 10, 75, 25);
    ok->SetDefault(true);
    int clicks = 0;
    ok->OnClick = [&](TObject*) { ++clicks; };
    memo->SetFocus();
    DrainMessages();
    TypeText("a");
    PressKey(VK_RETURN);
    TypeText("b");
    EXPECT_EQ(memo->Text(), "a\r\nb");
    EXPECT_EQ(memo->Lines()->Count(), 2);
    EXPECT_EQ(clicks, 0);

    memo->SetWantReturns(false);
    PressKey(VK_RETURN);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(memo->Text(), "a\r\nb");
}

TEST_F(MemoOnForm, TabMovesOnUnlessWanted) {
    auto* memo = AddControl<TMemo>(form, 10, 10, 200, 100);
    auto* next = AddControl<TMemo>(form, 220, 10, 100, 100);
    memo->SetFocus();
    DrainMessages();
    PressKey(VK_TAB);
    EXPECT_TRUE(next->Focused());
    memo->SetWantTabs(true);
    memo->SetFocus();
    DrainMessages();
    PressKey(VK_TAB);
    EXPECT_TRUE(memo->Focused());
    EXPECT_EQ(memo->Text(), "\t");
}

}  // namespace
