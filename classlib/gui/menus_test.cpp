#include "classlib/gui/menus.h"
#include "classlib/testing/recording_popup_menu.h"

#include <gtest/gtest.h>

#include <set>

#include "classlib/gui/application.h"
#include "classlib/gui/forms.h"
#include "classlib/gui/graphic_control.h"
#include "classlib/testing/gui_testing.h"

namespace {

std::string SystemText(HMENU menu, UINT position) {
    char text[256] = {};
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

TMenuItem* AddItem(TMenuItem* parent, const std::string& caption, TShortCut shortCut = 0) {
    TMenuItem* item = New<TMenuItem>(parent->Owner());
    item->SetCaption(caption);
    item->SetShortCut(shortCut);
    parent->Add(item);
    return item;
}

TEST(MenuItem, SystemMenuShowsCaptionAndShortcutText) {
    auto menu = MakeOwned<TPopupMenu>(nullptr);
    TMenuItem* open = AddItem(menu->Items(), "&Open", scCtrl | 'O');
    TMenuItem* line = AddItem(menu->Items(), "-");
    AddItem(menu->Items(), "Quit");
    HMENU h = menu->Handle();
    ASSERT_EQ(GetMenuItemCount(h), 3);
    EXPECT_EQ(SystemText(h, 0), "&Open\tStrg+O");
    EXPECT_EQ(GetMenuState(h, 1, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
    EXPECT_EQ(GetMenuItemID(h, 0), open->Command());
    EXPECT_TRUE(line->IsLine());

    open->SetCaption("Open &file");
    open->SetEnabled(false);
    EXPECT_EQ(SystemText(h, 0), "Open &file\tStrg+O");
    EXPECT_TRUE(GetMenuState(h, 0, MF_BYPOSITION) & MF_GRAYED);
    open->SetVisible(false);
    EXPECT_EQ(GetMenuItemCount(h), 2) << "hidden items leave the system menu";
    open->SetVisible(true);
    EXPECT_EQ(GetMenuItemCount(h), 3);
    EXPECT_EQ(GetMenuItemID(h, 0), open->Command()) << "and come back in their place";
}

TEST(MenuItem, SubmenusAndTheMenuBarKeepTheirEntries) {
    auto menu = MakeOwned<TMainMenu>(nullptr);
    TMenuItem* file = AddItem(menu->Items(), "&File", scCtrl | 'F');
    TMenuItem* save = AddItem(file, "&Save", scCtrl | 'S');
    HMENU bar = menu->Handle();
    EXPECT_EQ(SystemText(bar, 0), "&File") << "menu-bar entries show no shortcut";
    HMENU sub = GetSubMenu(bar, 0);
    ASSERT_EQ(sub, file->Handle());
    EXPECT_EQ(SystemText(sub, 0), "&Save\tStrg+S");
    EXPECT_EQ(menu->FindItem(reinterpret_cast<uintptr_t>(sub), fkHandle), file);
    EXPECT_EQ(menu->FindItem(save->Command(), fkCommand), save);
    EXPECT_EQ(menu->Items()->Find("file"), file) << "found ignoring marks and case";
}

TEST(MenuItem, RadioItemsOfAGroupCheckOneAtATime) {
    auto menu = MakeOwned<TPopupMenu>(nullptr);
    TMenuItem* a = AddItem(menu->Items(), "A");
    TMenuItem* b = AddItem(menu->Items(), "B");
    TMenuItem* other = AddItem(menu->Items(), "C");
    for (TMenuItem* item : {a, b}) {
        item->SetRadioItem(true);
        item->SetGroupIndex(1);
    }
    other->SetRadioItem(true);
    other->SetChecked(true);
    a->SetChecked(true);
    b->SetChecked(true);
    EXPECT_FALSE(a->Checked());
    EXPECT_TRUE(b->Checked());
    EXPECT_TRUE(other->Checked()) << "another group is untouched";
}

TEST(MenuItem, ItemsWithoutOwnerHaveTheirOwnCommands) {
    std::vector<TOwned<TMenuItem>> pool;
    std::set<WORD> commands;
    for (int i = 0; i < 256; ++i) {
        pool.push_back(MakeOwned<TMenuItem>(nullptr));
        commands.insert(pool.back()->Command());
    }
    EXPECT_EQ(commands.size(), 256u);
    EXPECT_EQ(commands.count(0), 0u);
}

TEST(MenuItem, FreeingAnItemTakesItOutOfItsParent) {
    auto menu = MakeOwned<TPopupMenu>(nullptr);
    TMenuItem* a = AddItem(menu->Items(), "A");
    TMenuItem* b = AddItem(a, "B");
    AddItem(menu->Items(), "C");
    HMENU h = menu->Handle();
    a->Free();
    EXPECT_EQ(menu->Items()->Count(), 1);
    EXPECT_EQ(GetMenuItemCount(h), 1);
    EXPECT_EQ(menu->FindItem(reinterpret_cast<uintptr_t>(b), fkCommand), nullptr);
    EXPECT_THROW(menu->Items()->Items(3), EListError);
    TMenuItem* loose = New<TMenuItem>(nullptr);
    menu->Items()->Add(loose);
    EXPECT_THROW(menu->Items()->Add(loose), EInvalidOperation) << "an item has one parent";
}

TEST(PopupList, CommandsOfPopupMenusClickTheirItems) {
    auto menu = MakeOwned<TPopupMenu>(nullptr);
    TMenuItem* item = AddItem(menu->Items(), "Copy");
    int clicks = 0;
    item->OnClick = [&](TObject* sender) { clicks += sender == item; };
    SendMessageA(PopupList->Window(), WM_COMMAND, item->Command(), 0);
    item->SetEnabled(false);
    SendMessageA(PopupList->Window(), WM_COMMAND, item->Command(), 0);
    EXPECT_EQ(clicks, 1) << "a disabled item does not click";
}

TEST(PopupList, MenuSelectionSetsTheApplicationHint) {
    auto menu = MakeOwned<TPopupMenu>(nullptr);
    TMenuItem* item = AddItem(menu->Items(), "Copy");
    item->SetHint("Copy|Copies the selection");
    TNotifyEvent saved = Application->OnHint;
    Application->OnHint = [](TObject*) {};
    SendMessageA(PopupList->Window(), WM_MENUSELECT, MAKEWPARAM(item->Command(), MF_STRING),
                 reinterpret_cast<LPARAM>(menu->Handle()));
    EXPECT_EQ(Application->Hint(), "Copies the selection");
    SendMessageA(PopupList->Window(), WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ(Application->Hint(), "") << "the menu closed";
    Application->OnHint = saved;
}

TEST(MenuItem, ActionLinkCarriesTheActionsValues) {
    auto menu = MakeOwned<TPopupMenu>(nullptr);
    TMenuItem* item = AddItem(menu->Items(), "");
    auto action = MakeOwned<TAction>(nullptr);
    action->SetCaption("&Paste");
    action->SetShortCut(scCtrl | 'V');
    int runs = 0;
    action->OnExecute = [&](TObject*) { ++runs; };
    item->SetAction(action.get());
    EXPECT_EQ(item->Caption(), "&Paste");
    EXPECT_EQ(SystemText(menu->Handle(), 0), "&Paste\tStrg+V");
    action->SetChecked(true);
    EXPECT_TRUE(item->Checked());
    item->Click();
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(menu->IsShortCut('V', TShiftState{ssCtrl}));
    EXPECT_EQ(runs, 2);
    action->SetEnabled(false);
    EXPECT_FALSE(menu->IsShortCut('V', TShiftState{ssCtrl})) << "a disabled item takes no shortcut";
}

TEST(PopupMenuProperty, RightClickMenuOpensForTheControlUnderThePoint) {
    auto form = MakeOwned<TForm>(nullptr);
    form->SetBounds(40, 40, 200, 150);
    auto* label = New<TGraphicControl>(form.get());
    label->SetParent(form.get());
    label->SetBounds(10, 10, 50, 20);
    auto formMenu = MakeOwned<TRecordingPopupMenu>(nullptr);
    auto labelMenu = MakeOwned<TRecordingPopupMenu>(nullptr);
    form->SetPopupMenu(formMenu.get());
    label->SetPopupMenu(labelMenu.get());

    TPoint onLabel = label->ClientToScreen(Point(5, 5));
    SendMessageA(form->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(form->Handle()),
                 MAKELPARAM(onLabel.x, onLabel.y));
    ASSERT_EQ(labelMenu->shown.size(), 1u);
    EXPECT_EQ(labelMenu->shown[0], onLabel);
    EXPECT_EQ(labelMenu->PopupComponent(), label);
    EXPECT_TRUE(formMenu->shown.empty());

    TPoint free = form->ClientToScreen(Point(150, 100));
    SendMessageA(form->Handle(), WM_CONTEXTMENU, 0, MAKELPARAM(free.x, free.y));
    ASSERT_EQ(formMenu->shown.size(), 1u);
    // From the keyboard: at the control's corner.
    SendMessageA(form->Handle(), WM_CONTEXTMENU, 0, MAKELPARAM(-1, -1));
    ASSERT_EQ(formMenu->shown.size(), 2u);
    EXPECT_EQ(formMenu->shown[1], form->ClientToScreen(Point(0, 0)));

    labelMenu->SetAutoPopup(false);
    SendMessageA(form->Handle(), WM_CONTEXTMENU, 0, MAKELPARAM(onLabel.x, onLabel.y));
    EXPECT_EQ(labelMenu->shown.size(), 1u);
    EXPECT_EQ(formMenu->shown.size(), 3u) << "without automatic popup the parent's menu opens";
    labelMenu.reset();
    EXPECT_EQ(label->PopupMenu(), nullptr);
}

// Closes every menu as soon as it is shown and idle.
class TClosingPopupList : public TPopupList {
protected:
    void WndProc(TMessage& m) override {
        if (m.Msg == WM_ENTERIDLE && m.WParam == MSGF_MENU) {
            ++idles;
            EndMenu();
        }
        TPopupList::WndProc(m);
    }

public:
    int idles = 0;
};

TEST(PopupMenu, PopupShowsTheSystemMenuUntilItCloses) {
    TPopupList* saved = PopupList;
    auto list = MakeOwned<TClosingPopupList>();
    PopupList = list.get();
    {
        auto menu = MakeOwned<TPopupMenu>(nullptr);
        AddItem(menu->Items(), "One");
        int popups = 0;
        menu->OnPopup = [&](TObject*) { ++popups; };
        auto form = MakeOwned<TForm>(nullptr);
        form->SetBounds(40, 40, 200, 150);
        form->Show();
        PumpUntil([&] { return form->Showing(); });
        menu->Popup(80, 80);
        EXPECT_EQ(popups, 1);
        EXPECT_GE(list->idles, 1) << "the menu was on screen";
    }
    PopupList = saved;
}

TEST(MainMenu, FormShowsItsMenuBarAndRunsItsCommands) {
    auto form = MakeOwned<TForm>(nullptr);
    form->SetBounds(40, 40, 240, 160);
    auto* menu = New<TMainMenu>(form.get());
    TMenuItem* file = AddItem(menu->Items(), "&File");
    TMenuItem* quit = AddItem(file, "&Quit", scCtrl | 'Q');
    int clicks = 0;
    quit->OnClick = [&](TObject*) { ++clicks; };
    form->SetMenu(menu);
    EXPECT_EQ(GetMenu(form->Handle()), menu->Handle());
    SendMessageA(form->Handle(), WM_COMMAND, quit->Command(), 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(IsMenuShortCutKey(form.get(), 'Q', TShiftState{ssCtrl}));
    EXPECT_EQ(clicks, 2);
    file->SetEnabled(false);
    EXPECT_FALSE(IsMenuShortCutKey(form.get(), 'Q', TShiftState{ssCtrl})) << "its submenu is disabled";

    HMENU bar = menu->Handle();
    form->RecreateWnd();
    EXPECT_TRUE(IsMenu(bar)) << "the menu outlives the window";
    EXPECT_EQ(GetMenu(form->Handle()), bar);
    form->SetMenu(nullptr);
    EXPECT_EQ(GetMenu(form->Handle()), nullptr);
}

TEST(MenuItem, OwnerDrawnItemsAreMeasuredAndDrawnByTheirItems) {
    auto menu = MakeOwned<TPopupMenu>(nullptr);
    menu->SetOwnerDraw(true);
    TMenuItem* item = AddItem(menu->Items(), "Wide entry", scCtrl | 'W');
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_TYPE;
    ASSERT_TRUE(GetMenuItemInfoA(menu->Handle(), item->Command(), FALSE, &info));
    EXPECT_TRUE(info.fType & MFT_OWNERDRAW);

    MEASUREITEMSTRUCT measure{ODT_MENU, 0, item->Command(), 0, 0, 0};
    SendMessageA(PopupList->Window(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
    EXPECT_GT(measure.itemWidth, 0u);
    EXPECT_GT(measure.itemHeight, 0u);

    std::vector<std::string> calls;
    item->OnMeasureItem = [&](TObject*, TCanvas*, int& width, int& height) {
        calls.push_back("measure");
        width = 77;
        height = 19;
    };
    item->OnAdvancedDrawItem = [&](TObject*, TCanvas*, TRect r, TOwnerDrawState state) {
        calls.push_back(state.Contains(odSelected) ? "draw selected" : "draw");
        EXPECT_EQ(RectWidth(r), 30);
    };
    SendMessageA(PopupList->Window(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
    EXPECT_EQ(measure.itemWidth, 77u);
    EXPECT_EQ(measure.itemHeight, 19u);
    TWindowDC screen(nullptr);
    DRAWITEMSTRUCT draw{ODT_MENU, 0, item->Command(), ODA_DRAWENTIRE, ODS_SELECTED, nullptr, screen, {0, 0, 30, 18}, 0};
    draw.hwndItem = reinterpret_cast<HWND>(menu->Handle());
    SendMessageA(PopupList->Window(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
    EXPECT_EQ(calls, (std::vector<std::string>{"measure", "draw selected"}));
}

}  // namespace
