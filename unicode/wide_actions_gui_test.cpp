// Wide texts of actions and their way to the linked controls and menu items.
#include "unicode/wide_actions.h"

#include <gtest/gtest.h>

#include "classlib/core/streams.h"
#include "classlib/core/filer.h"
#include "classlib/gui/graphic_control.h"
#include "classlib/stdctrls/button.h"
#include "unicode/code_pages.h"
#include "unicode/wide_captions.h"
#include "unicode/wide_menus.h"
#include "unicode/wide_test_texts.h"

namespace {

// Counts what the ANSI side of links was told.
class TCountingLink : public TActionLink {
public:
    explicit TCountingLink(TObject* client) : TActionLink(client) {}
    void SetCaption(const std::string& value) override { told.push_back(value); }
    std::vector<std::string> told;
};

TEST(WideAction, AnActionWithoutWideTextsKeepsOnlyItsAnsiText) {
    auto action = MakeOwned<TAction>(nullptr);
    action->SetCaption("Caf\xE9");
    EXPECT_EQ(ActionGetWideCaption(action.get()), L"Caf\u00E9");
    ActionSetWideCaption(action.get(), kChinese);
    EXPECT_EQ(action->Caption(), SystemAnsiFromWide(kChinese));
    EXPECT_EQ(ActionGetWideCaption(action.get()), WideFromSystemAnsi(SystemAnsiFromWide(kChinese)));
    EXPECT_EQ(ActionWideHelper(action.get()), nullptr);
}

TEST(WideAction, KeepsWideTextsBesideTheAnsiOnes) {
    auto action = MakeOwned<TUcAction>(nullptr);
    action->SetCaption(kChinese);
    action->SetHint(L"Tip|" + kJapanese);
    EXPECT_EQ(action->Caption(), kChinese);
    EXPECT_EQ(action->Hint(), L"Tip|" + kJapanese);
    EXPECT_EQ(action->TCustomAction::Caption(), SystemAnsiFromWide(kChinese));
    // Set behind the layer's back: the ANSI text wins and is kept.
    action->TCustomAction::SetCaption("Plain");
    EXPECT_EQ(action->Caption(), L"Plain");
    EXPECT_EQ(ActionWideHelper(action.get())->WideCaption(), L"Plain");
    EXPECT_EQ(action->ComponentCount(), 1) << "one helper";
}

TEST(WideAction, EqualTextTellsNoLinkAndAnAnsiEqualTextTellsEmptyFirst) {
    auto action = MakeOwned<TUcAction>(nullptr);
    action->SetCaption(kChinese);
    TCountingLink link(nullptr);
    link.SetAction(action.get());
    action->SetCaption(kChinese);
    EXPECT_TRUE(link.told.empty());
    action->SetCaption(kJapanese);
    EXPECT_EQ(link.told, (std::vector<std::string>{"", SystemAnsiFromWide(kJapanese)}));
}

TEST(WideAction, LinkedControlsAndMenuItemsReceiveTheWideCaption) {
    auto action = MakeOwned<TUcAction>(nullptr);
    action->SetCaption(kChinese);
    action->SetHint(kChinese + L"|long");
    auto control = MakeOwned<TGraphicControl>(nullptr);
    control->SetAction(action.get());
    auto menu = MakeOwned<TPopupMenu>(nullptr);
    auto* item = New<TUcMenuItem>(nullptr);
    menu->Items()->Add(item);
    item->SetAction(action.get());
    EXPECT_EQ(item->Caption(), kChinese);
    EXPECT_EQ(item->Hint(), kChinese + L"|long");

    // The same ANSI form ("??"): the links still hand on the new text.
    action->SetCaption(kJapanese);
    EXPECT_EQ(item->Caption(), kJapanese);
    action->SetCaption(L"Open");
    EXPECT_EQ(item->Caption(), L"Open");
    EXPECT_EQ(control->Caption(), "Open");
}

TEST(WideAction, ButtonsTakeTheWideCaptionThroughTheirLink) {
    auto form = MakeOwned<TForm>(nullptr);
    auto* button = New<TButton>(form.get());
    button->SetParent(form.get());
    auto action = MakeOwned<TUcAction>(nullptr);
    action->SetCaption(L"Go");
    button->SetAction(action.get());
    EXPECT_EQ(&button->ActionLink()->ClassType(), &TButtonActionLink::StaticClass());
    EXPECT_EQ(&UcActionLinkClassFor(button), &TUcButtonActionLink::StaticClass());
    EXPECT_EQ(&UcActionLinkClassFor(form.get()), &TUcWinControlActionLink::StaticClass());
    auto plain = MakeOwned<TGraphicControl>(nullptr);
    EXPECT_EQ(&UcActionLinkClassFor(plain.get()), &TUcControlActionLink::StaticClass());

    // A wide link on a control: equal wide texts count as linked.
    TUcControlActionLink link(plain.get());
    link.SetAction(action.get());
    ControlSetWideText(plain.get(), L"Go");
    EXPECT_TRUE(link.IsCaptionLinked());
    link.SetCaption("Went");
    EXPECT_EQ(ControlGetWideText(plain.get()), L"Went");
    ControlSetWideText(plain.get(), L"go");
    EXPECT_FALSE(link.IsCaptionLinked()) << "controls compare exactly";
}

TEST(WideAction, ApplyingTextsKeepsACaptionOfTheControlsOwn) {
    auto action = MakeOwned<TUcAction>(nullptr);
    action->SetCaption(kChinese);
    action->SetHint(L"hint");
    auto named = MakeOwned<TGraphicControl>(nullptr);
    named->SetName("Label1");
    named->SetCaption("Label1");
    ControlApplyActionTexts(named.get(), action.get(), true);
    EXPECT_EQ(ControlGetWideText(named.get()), kChinese);
    EXPECT_EQ(ControlGetWideHint(named.get()), L"hint");
    auto own = MakeOwned<TGraphicControl>(nullptr);
    own->SetCaption("Mine");
    ControlApplyActionTexts(own.get(), action.get(), true);
    EXPECT_EQ(ControlGetWideText(own.get()), L"Mine");
    ControlApplyActionTexts(own.get(), action.get(), false);
    EXPECT_EQ(ControlGetWideText(own.get()), kChinese);
    auto plainAction = MakeOwned<TAction>(nullptr);
    plainAction->SetCaption("Other");
    ControlApplyActionTexts(own.get(), plainAction.get(), false);
    EXPECT_EQ(ControlGetWideText(own.get()), kChinese) << "only actions with wide texts apply";
}

TEST(WideAction, MenuLinkIgnoresCaseAndHotKeyMarks) {
    auto action = MakeOwned<TUcAction>(nullptr);
    action->SetCaption(L"&Open");
    auto* item = New<TUcMenuItem>(nullptr);
    TOwned<TMenuItem> owned(item);
    item->SetAction(action.get());
    item->SetCaption(L"o&pen");
    EXPECT_TRUE(item->ActionLink()->IsCaptionLinked());
    item->SetCaption(L"Close");
    EXPECT_FALSE(item->ActionLink()->IsCaptionLinked());
}

TEST(WideAction, LinksRaiseOnClientsOfAnotherClass) {
    auto action = MakeOwned<TUcAction>(nullptr);
    auto plainItem = MakeOwned<TMenuItem>(nullptr);
    TUcMenuActionLink menuLink(plainItem.get());
    menuLink.SetAction(action.get());
    EXPECT_THROW(menuLink.IsCaptionLinked(), EInvalidCast);
    auto list = MakeOwned<TActionList>(nullptr);
    auto notCustom = MakeOwned<TBasicAction>(nullptr);
    auto control = MakeOwned<TGraphicControl>(nullptr);
    TUcControlActionLink controlLink(control.get());
    controlLink.SetAction(notCustom.get());
    EXPECT_THROW(controlLink.IsHintLinked(), EInvalidCast);
}

TEST(WideAction, AssignCopiesTheWideTextsOfActionsAndControls) {
    auto source = MakeOwned<TUcAction>(nullptr);
    source->SetCaption(L"Caf\u00E9");
    source->SetHint(L"Hint");
    auto copy = MakeOwned<TUcAction>(nullptr);
    copy->Assign(source.get());
    EXPECT_EQ(copy->Caption(), L"Caf\u00E9");
    EXPECT_EQ(copy->Hint(), L"Hint");
    auto control = MakeOwned<TGraphicControl>(nullptr);
    ControlSetWideText(control.get(), L"From control");
    auto hint = MakeOwned<TUcHintAction>(nullptr);
    hint->Assign(copy.get());
    EXPECT_EQ(hint->Hint(), L"Hint");
    copy->Assign(control.get());
    EXPECT_EQ(copy->TCustomAction::Caption(), "From control");
}

TEST(WideAction, WideCaptionIsFiledWithItsUtf7Companion) {
    auto action = MakeOwned<TUcAction>(nullptr);
    action->SetCaption(L"\u00E9");
    action->SetHint(L"abc");
    TMemoryStream stream;
    {
        TWriter writer(stream);
        writer.WriteRootComponent(action.get());
    }
    std::string bytes(reinterpret_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
    const std::string utf7Caption("\x0C" "Caption_UTF7" "\x06\x04+AOk", 19);
    EXPECT_NE(bytes.find(utf7Caption), std::string::npos);
    EXPECT_EQ(bytes.find("Hint_UTF7"), std::string::npos) << "plain ASCII needs no companion";
}

}  // namespace
