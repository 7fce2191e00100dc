// Wide menu items in real system menus: their captions, hot keys and
// shortcut texts as the system shows them, their hints through the popup
// list, and owner-drawn items measured and drawn with wide text.
#include "unicode/wide_menus.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "classlib/core/class_builder.h"
#include "classlib/graphics/test_pictures.h"
#include "classlib/gui/application.h"
#include "classlib/gui/forms.h"
#include "classlib/gui/sys_locale.h"
#include "classlib/testing/class_contract.h"
#include "classlib/testing/gui_testing.h"
#include "unicode/code_pages.h"
#include "unicode/text/platform_flags.h"
#include "unicode/uc_application.h"
#include "unicode/wide_actions.h"
#include "unicode/wide_test_texts.h"

namespace {

const std::wstring kFile = L"\u0424\u0430\u0439\u043B";  // Cyrillic "File": "????"

// The text of a system menu item, read as a wide text.
std::wstring SystemText(HMENU menu, UINT command) {
    wchar_t text[128] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 128;
    if (!GetMenuItemInfoW(menu, command, FALSE, &info)) return L"<no item>";
    return text;
}

// Writes a text into a system menu item behind the layer's back.
void SpoilText(HMENU menu, UINT command) {
    wchar_t stale[] = L"stale";
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    info.dwTypeData = stale;
    SetMenuItemInfoW(menu, command, FALSE, &info);
}

TUcMenuItem* AddItem(TMenuItem* parent, const std::wstring& caption, TShortCut shortCut = 0) {
    auto* item = New<TUcMenuItem>(nullptr);  // freed with its parent
    parent->Add(item);
    item->SetCaption(caption);
    item->SetShortCut(shortCut);
    return item;
}

const TShortCut kCtrlC = ShortCut('C', TShiftState{ssCtrl});
const TShortCut kCtrlF5 = ShortCut(VK_F5, TShiftState{ssCtrl});

// A form with a layout holding a main menu of wide items.
class TWideMenuForm : public TForm {
    DECLARE_CLASS(TWideMenuForm, TForm)
public:
    explicit TWideMenuForm(TComponent* owner) : TForm(owner) {}
};

}  // namespace

const TClassInfo& TWideMenuForm::StaticClass() {
    static const TClassInfo info =
        DefineClass<TWideMenuForm>("TWideMenuForm", &TForm::StaticClass(), [](auto& c) { c.Creatable(); });
    return info;
}

TEST(WideMenu, WideCaptionsReachTheSystemMenuWithTheirShortcutText) {
    auto form = MakeOwned<TForm>(nullptr);
    form->SetBounds(100, 100, 300, 150);
    auto* menu = New<TMainMenu>(form.get());
    form->SetMenu(menu);
    TUcMenuItem* edit = AddItem(menu->Items(), L"&" + kChinese, kCtrlF5);
    TUcMenuItem* copy = AddItem(edit, kJapanese, kCtrlC);
    TUcMenuItem* paste = AddItem(edit, kFile);
    form->Show();
    DrainMessages();

    EXPECT_EQ(edit->TMenuItem::Caption(), "&??");
    // On the menu bar: the caption alone, without the shortcut.
    EXPECT_EQ(SystemText(menu->Handle(), edit->Command()), L"&" + kChinese);
    EXPECT_EQ(SystemText(edit->Handle(), copy->Command()), kJapanese + L"\t" + WideShortCutToText(kCtrlC));
    EXPECT_EQ(SystemText(edit->Handle(), paste->Command()), kFile);

    // A new child rebuilds the submenu: the others are written wide again.
    TUcMenuItem* last = AddItem(edit, kChinese);
    EXPECT_EQ(SystemText(edit->Handle(), copy->Command()), kJapanese + L"\t" + WideShortCutToText(kCtrlC));
    EXPECT_EQ(SystemText(edit->Handle(), last->Command()), kChinese);
    // So does a changed shortcut.
    copy->SetShortCut(kCtrlF5);
    EXPECT_EQ(SystemText(edit->Handle(), copy->Command()), kJapanese + L"\t" + WideShortCutToText(kCtrlF5));
}

TEST(WideMenu, ItemsFromALayoutShowTheirWideCaptions) {
    RegisterMenuClasses();
    RegisterLayout("TWideMenuForm", R"(object WideMenuForm: TWideMenuForm
  Left = 60
  Top = 60
  Menu = MainMenu1
  object MainMenu1: TMainMenu
    object File1: TUcMenuItem
      Caption = '&????'
      Caption_UTF7 = '&+BCQEMAQ5BDs-'
      object Open1: TUcMenuItem
        Caption = '??'
        Caption_UTF7 = '+Ti1lhw-'
        Hint = '??'
        Hint_UTF7 = '+ZeVnLA-'
        ShortCut = 16451
      end
    end
  end
end
)");
    auto form = MakeOwned<TWideMenuForm>(nullptr);
    form->Show();
    DrainMessages();
    auto* file = dynamic_cast<TUcMenuItem*>(form->FindComponent("File1"));
    auto* open = dynamic_cast<TUcMenuItem*>(form->FindComponent("Open1"));
    ASSERT_TRUE(file && open);
    EXPECT_EQ(open->Caption(), kChinese);
    EXPECT_EQ(open->Hint(), kJapanese);
    EXPECT_EQ(SystemText(GetMenu(form->Handle()), file->Command()), L"&" + kFile);
    EXPECT_EQ(SystemText(file->Handle(), open->Command()), kChinese + L"\t" + WideShortCutToText(kCtrlC));
}

TEST(WideMenu, HotKeyMarksMovedOnTheAnsiSideMoveInTheWideCaption) {
    auto menu = MakeOwned<TPopupMenu>(nullptr);
    TUcMenuItem* parent = AddItem(menu->Items(), L"Menu");
    TUcMenuItem* item = AddItem(parent, L"&" + kChinese);
    // The class library moves the mark (its caption is "&??").
    item->TMenuItem::SetCaption("?&?");
    EXPECT_EQ(item->Caption(), L"\u4E2D&\u6587");
    EXPECT_EQ(SystemText(parent->Handle(), item->Command()), L"\u4E2D&\u6587");
    // Another text altogether wins as it is.
    item->TMenuItem::SetCaption("Plain");
    EXPECT_EQ(item->Caption(), L"Plain");
    EXPECT_EQ(SystemText(parent->Handle(), item->Command()), L"Plain");
}

TEST(WideMenu, ThePopupListReportsWideHintsAndPutsTheSavedListBack) {
    ASSERT_NE(UcPopupList, nullptr);
    EXPECT_EQ(UcPopupList->SavedPopupList(), PopupList) << "made without being put into service";
    TPopupList* saved = PopupList;
    PopupList = UcPopupList;
    auto menu = MakeOwned<TPopupMenu>(nullptr);
    PopupList = saved;
    TUcMenuItem* sub = AddItem(menu->Items(), L"Sub");
    sub->SetHint(L"S|sub " + kChinese);
    TUcMenuItem* leaf = AddItem(sub, L"Leaf");
    leaf->SetHint(L"L|" + kJapanese);
    HWND window = UcPopupList->Window();

    SendMessageW(window, WM_MENUSELECT, MAKEWPARAM(leaf->Command(), MF_HILITE), reinterpret_cast<LPARAM>(sub->Handle()));
    EXPECT_EQ(UcApplication->WideHint(), kJapanese);
    SendMessageW(window, WM_MENUSELECT, MAKEWPARAM(0, MF_POPUP | MF_HILITE), reinterpret_cast<LPARAM>(menu->Handle()));
    EXPECT_EQ(UcApplication->WideHint(), L"sub " + kChinese);
    SendMessageW(window, WM_MENUSELECT, MAKEWPARAM(0xFFFE, MF_HILITE), 0);
    EXPECT_EQ(UcApplication->WideHint(), L"") << "no menu has the item";

    // Entering the menu loop puts the class library's list back and, on a
    // middle-east locale, writes the first item again.
    SpoilText(menu->Handle(), sub->Command());
    TSysLocale locale = SysLocale;
    SysLocale.MiddleEast = true;
    PopupList = UcPopupList;
    SendMessageW(window, WM_ENTERMENULOOP, 0, 0);
    SysLocale = locale;
    EXPECT_EQ(PopupList, saved);
    EXPECT_EQ(SystemText(menu->Handle(), sub->Command()), L"Sub");
    UcApplication->SetWideHint(std::wstring());
}

TEST(WideMenu, RefreshingAMenuNeedsAMiddleEastLocaleAndAWideFirstItem) {
    auto menu = MakeOwned<TPopupMenu>(nullptr);
    TUcMenuItem* first = AddItem(menu->Items(), kChinese);
    SpoilText(menu->Handle(), first->Command());
    RefreshWideMenu(menu.get());
    EXPECT_EQ(SystemText(menu->Handle(), first->Command()), L"stale");

    TSysLocale locale = SysLocale;
    SysLocale.MiddleEast = true;
    RefreshWideMenu(menu.get());
    EXPECT_EQ(SystemText(menu->Handle(), first->Command()), kChinese);

    auto plainFirst = MakeOwned<TPopupMenu>(nullptr);
    auto* plain = New<TMenuItem>(nullptr);
    plainFirst->Items()->Add(plain);
    plain->SetCaption("Plain");
    TUcMenuItem* wide = AddItem(plainFirst->Items(), kChinese);
    SpoilText(plainFirst->Handle(), wide->Command());
    RefreshWideMenu(plainFirst.get());
    SysLocale = locale;
    EXPECT_EQ(SystemText(plainFirst->Handle(), wide->Command()), L"stale");
}

namespace {

// Measures an owner-drawn item as the menu's window would.
SIZE Measure(TMenu* menu, TMenuItem* item) {
    MEASUREITEMSTRUCT measure{};
    measure.CtlType = ODT_MENU;
    measure.itemID = item->Command();
    EXPECT_TRUE(menu->MeasureItem(&measure));
    return SIZE{static_cast<LONG>(measure.itemWidth), static_cast<LONG>(measure.itemHeight)};
}

// Draws an owner-drawn item into a bitmap and returns its pixels.
std::vector<uint32_t> Draw(TMenu* menu, TMenuItem* item, UINT state = 0) {
    constexpr int width = 160, height = 20;
    TMemorySurface surface(width, height, clBlack);
    DRAWITEMSTRUCT draw{};
    draw.CtlType = ODT_MENU;
    draw.itemID = item->Command();
    draw.itemState = state;
    draw.hDC = surface.DC();
    draw.rcItem = RECT{0, 0, width, height};
    EXPECT_TRUE(menu->DrawItem(&draw));
    return surface.Pixels();
}

}  // namespace

TEST(WideMenu, OwnerDrawnItemsAreMeasuredWithTheirWideCaption) {
    auto menu = MakeOwned<TPopupMenu>(nullptr);
    menu->SetOwnerDraw(true);
    TUcMenuItem* wide = AddItem(menu->Items(), kFile + kFile + kFile);
    auto* plain = New<TMenuItem>(nullptr);
    menu->Items()->Add(plain);
    plain->SetCaption(wide->TMenuItem::Caption());
    ASSERT_EQ(plain->Caption(), "????????????");
    EXPECT_GT(Measure(menu.get(), wide).cx, Measure(menu.get(), plain).cx);

    // The user's handler sees the item once, whatever the item.
    int calls = 0;
    int seenWidth = 0;
    TObject* seenSender = nullptr;
    wide->UserMeasureItem = [&](TObject* sender, TCanvas*, int& width, int&) {
        seenSender = sender;
        ++calls;
        seenWidth = width;
    };
    SIZE size = Measure(menu.get(), wide);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(seenSender, wide);
    EXPECT_EQ(seenWidth, size.cx) << "the handler gets the wide width";
    TUcMenuItem* line = AddItem(menu->Items(), L"-");
    line->UserMeasureItem = wide->UserMeasureItem;
    Measure(menu.get(), line);
    EXPECT_EQ(calls, 2);
    {
        TScopedPlatformFlags other(false, false);
        Measure(menu.get(), wide);
        EXPECT_EQ(calls, 3);
    }
    // A handler put into the class library's slot moves to the user's at
    // the next refresh; the slot keeps the item's own measuring.
    TUcMenuItem* late = AddItem(menu->Items(), L"Late");
    int lateCalls = 0;
    late->OnMeasureItem = [&](TObject*, TCanvas*, int&, int&) { ++lateCalls; };
    late->SetCaption(kJapanese);
    Measure(menu.get(), late);
    EXPECT_EQ(lateCalls, 1);
    EXPECT_TRUE(late->UserMeasureItem);
}

TEST(WideMenu, OwnerDrawnItemsDrawTheirWideCaptionAndShortcut) {
    auto menu = MakeOwned<TPopupMenu>(nullptr);
    menu->SetOwnerDraw(true);
    TUcMenuItem* cyrillic = AddItem(menu->Items(), kFile);
    TUcMenuItem* marks = AddItem(menu->Items(), L"????");
    ASSERT_EQ(cyrillic->TMenuItem::Caption(), marks->TMenuItem::Caption());
    // The same ANSI form, drawn differently: the wide text is drawn.
    EXPECT_EQ(Draw(menu.get(), cyrillic), Draw(menu.get(), cyrillic));
    EXPECT_NE(Draw(menu.get(), cyrillic), Draw(menu.get(), marks));
    EXPECT_NE(Draw(menu.get(), cyrillic, ODS_SELECTED), Draw(menu.get(), cyrillic));
    // The caption and shortcut are whole again after drawing.
    cyrillic->SetShortCut(kCtrlC);
    std::vector<uint32_t> withShortCut = Draw(menu.get(), cyrillic);
    EXPECT_EQ(cyrillic->Caption(), kFile);
    EXPECT_EQ(cyrillic->ShortCut(), kCtrlC);
    cyrillic->SetShortCut(0);
    EXPECT_NE(withShortCut, Draw(menu.get(), cyrillic)) << "the shortcut text is drawn";
}

TEST(WideMenu, AnOwnerDrawnMenuBarShowsWideCaptions) {
    auto form = MakeOwned<TForm>(nullptr);
    form->SetBounds(100, 100, 320, 120);
    auto* menu = New<TMainMenu>(form.get());
    menu->SetOwnerDraw(true);
    form->SetMenu(menu);
    TUcMenuItem* file = AddItem(menu->Items(), L"&" + kFile);
    AddItem(file, kFile);
    AddItem(menu->Items(), L"\u0392\u03BF\u03AE\u03B8\u03B5\u03B9\u03B1");  // Greek "Help"
    form->Show();
    DrawMenuBar(form->Handle());
    DrainMessages();
    TWindowPixels pixels(form->Handle(), true);
    pixels.SavePng(ScreenshotFolder() + "/wide_menu_bar.png");
    // The captions are drawn on the bar (the rest of it is plain).
    MENUBARINFO bar{};
    bar.cbSize = sizeof bar;
    ASSERT_TRUE(GetMenuBarInfo(form->Handle(), OBJID_MENU, 0, &bar));
    RECT window;
    GetWindowRect(form->Handle(), &window);
    int y = (bar.rcBar.top + bar.rcBar.bottom) / 2 - window.top;
    int right = std::min<int>(bar.rcBar.right - window.left, pixels.Width()) - 3;
    COLORREF face = pixels.At(right, y);  // beyond the items
    int inked = 0;
    for (int x = bar.rcBar.left - window.left; x < right; ++x)
        if (pixels.At(x, y) != face) ++inked;
    EXPECT_GT(inked, 5);
}

TEST(WideMenu, TheLayersMenuAndActionClassesKeepTheContract) {
    for (const TClassInfo* info :
         {&TUcMenuItem::StaticClass(), &TUcAction::StaticClass(), &TUcHintAction::StaticClass()}) {
        EXPECT_EQ(GetClass(info->Name()), info) << info->Name() << " is registered";
        EXPECT_TRUE(DefaultFaults(*info).empty()) << info->Name();
        EXPECT_TRUE(RoundTripFaults(*info).empty()) << info->Name();
    }
}
