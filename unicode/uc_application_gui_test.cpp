// The application wrapper, its thread message hook and the Unicode form.
#include <gtest/gtest.h>

#include "classlib/gui/application.h"
#include "classlib/core/class_builder.h"
#include "classlib/gui/graphic_control.h"
#include "classlib/gui/sys_locale.h"
#include "classlib/testing/gui_testing.h"
#include "unicode/code_pages.h"
#include "unicode/uc_application.h"
#include "unicode/uc_form.h"
#include "unicode/unicode_windows.h"
#include "unicode/wide_actions.h"
#include "unicode/wide_captions.h"
#include "unicode/wide_menus.h"
#include "unicode/wide_test_texts.h"

namespace {

// A control without a window.
class TWindowlessControl : public TGraphicControl {
public:
    explicit TWindowlessControl(TComponent* owner) : TGraphicControl(owner) {}
};

// Takes every hint action the application offers, as a status line does,
// and records its class and wide hint.
class THintLine : public TGraphicControl {
public:
    explicit THintLine(TComponent* owner) : TGraphicControl(owner) {}
    struct TSeen {
        std::string ClassName;
        std::wstring Hint;
        bool operator==(const TSeen&) const = default;
    };
    std::vector<TSeen> seen;
    bool ExecuteAction(TBasicAction* action) override {
        auto* hint = dynamic_cast<THintAction*>(action);
        if (!hint) return TGraphicControl::ExecuteAction(action);
        seen.push_back({hint->ClassName(), ActionGetWideHint(hint)});
        return true;
    }
};

// A fresh wrapper, as at the program's start (the main form not seen yet).
void RestartUcApplication() {
    StopUcApplication();
    StartUcApplication();
}

// A main form of class T with a control that has a wide hint and a hint
// line; freed (and no longer the main form) at the end.
template <class T>
struct TMainFormWithHints {
    T* form = nullptr;
    TOwned<T> owned;
    TWindowlessControl* pointed;
    THintLine* line;
    explicit TMainFormWithHints(const std::wstring& hint) {
        Application->CreateForm(form);
        owned.reset(form);
        form->SetBounds(100, 100, 300, 150);
        pointed = New<TWindowlessControl>(form);
        pointed->SetParent(form);
        pointed->SetBounds(10, 10, 100, 30);
        ControlSetWideHint(pointed, hint);
        line = New<THintLine>(form);
        line->SetParent(form);
        line->SetBounds(10, 60, 100, 20);
        form->Show();
        DrainMessages();
    }
    ~TMainFormWithHints() {
        Application->CancelHint();
        owned.reset();
        Application->SetHint("");
    }
};

class TCharEdit : public TWinControl {
public:
    explicit TCharEdit(TComponent* owner) : TWinControl(owner) { SetBounds(10, 10, 160, 24); }
    std::vector<WPARAM> chars;
    void WndProc(TMessage& m) override {
        if (m.Msg == WM_CHAR) chars.push_back(m.WParam);
        TWinControl::WndProc(m);
    }

protected:
    void CreateParams(TCreateParams& p) override {
        TWinControl::CreateParams(p);
        CreateSubClass(p, "EDIT");
        p.Style |= WS_BORDER | ES_AUTOHSCROLL;
    }
    void CreateWindowHandle(const TCreateParams& p) override { CreateUnicodeWindowHandle(this, p, L"EDIT", false); }
};

// A Unicode form with a layout of its own.
class TLayoutUcForm : public TUcForm {
    DECLARE_CLASS(TLayoutUcForm, TUcForm)
public:
    explicit TLayoutUcForm(TComponent* owner) : TUcForm(owner) {}
};

}  // namespace

const TClassInfo& TLayoutUcForm::StaticClass() {
    static const TClassInfo info =
        DefineClass<TLayoutUcForm>("TLayoutUcForm", &TUcForm::StaticClass(), [](auto& c) { c.Creatable(); });
    return info;
}

TEST(UcApplication, CharactersBeyondAnsiReachUnicodeWindowsOnceThroughTheWideDispatch) {
    auto form = MakeOwned<TUcForm>(nullptr);
    form->SetBounds(100, 100, 300, 150);
    auto* edit = New<TCharEdit>(form.get());
    edit->SetParent(form.get());
    form->Show();
    DrainMessages();
    ASSERT_TRUE(IsWindowUnicode(edit->Handle()));

    PostMessageW(edit->Handle(), WM_CHAR, 0x4E2D, 1);
    PostMessageW(edit->Handle(), WM_CHAR, L'\u00E9', 1);
    DrainMessages();
    EXPECT_EQ(edit->chars, (std::vector<WPARAM>{0x4E2D00FF, 0xE9}));
    EXPECT_EQ(ControlGetWideText(edit), L"\u4E2D\u00E9");
}

TEST(UcApplication, AUnicodeDialogIsAskedOnceAndItsControlGetsTheCharacterOnce) {
    auto form = MakeOwned<TUcForm>(nullptr);
    auto* edit = New<TCharEdit>(form.get());
    edit->SetParent(form.get());
    form->Show();
    DrainMessages();
    Application->SetDialogHandle(form->Handle());
    PostMessageW(edit->Handle(), WM_CHAR, 0x4E2D, 1);
    DrainMessages();
    Application->SetDialogHandle(nullptr);
    EXPECT_EQ(edit->chars, (std::vector<WPARAM>{0x4E2D00FF}));
    EXPECT_EQ(ControlGetWideText(edit), L"\u4E2D");
}

TEST(UcApplication, OnMessageMaySwallowAWideCharacter) {
    auto form = MakeOwned<TUcForm>(nullptr);
    auto* edit = New<TCharEdit>(form.get());
    edit->SetParent(form.get());
    form->Show();
    DrainMessages();
    int seen = 0;
    Application->OnMessage = [&](MSG& msg, bool& handled) {
        if (msg.message == WM_CHAR && msg.hwnd == edit->Handle()) {
            ++seen;
            handled = true;
        }
    };
    PostMessageW(edit->Handle(), WM_CHAR, 0x4E2D, 1);
    DrainMessages();
    Application->OnMessage = nullptr;
    EXPECT_EQ(seen, 1);
    EXPECT_TRUE(edit->chars.empty());
    EXPECT_EQ(ControlGetWideText(edit), L"");
}

TEST(UcApplication, TheWideHintKeepsItsAnsiShadowInStep) {
    std::vector<std::string> told;
    Application->OnHint = [&](TObject*) { told.push_back(Application->Hint()); };
    UcApplication->SetWideHint(L"\u4E2D");
    UcApplication->SetWideHint(L"\u6587");  // same ANSI form: cleared first
    UcApplication->SetWideHint(L"\u6587");
    std::string q = SystemAnsiFromWide(L"\u4E2D");
    EXPECT_EQ(told, (std::vector<std::string>{q, "", q}));
    EXPECT_EQ(UcApplication->WideHint(), L"\u6587");
    Application->SetHint("set elsewhere");
    EXPECT_EQ(UcApplication->WideHint(), L"set elsewhere");
    Application->OnHint = nullptr;
    Application->SetHint("");
}

TEST(UcApplication, TheWideTitleGoesToTheApplicationWindow) {
    std::string ansiTitle = Application->Title();
    UcApplication->SetWideTitle(kChinese);
    // The window's own text, as the task bar shows it (the ANSI window
    // procedure would answer with the ANSI form).
    wchar_t text[32] = {};
    InternalGetWindowText(Application->Handle(), text, 32);
    EXPECT_EQ(std::wstring(text), kChinese);
    EXPECT_EQ(UcApplication->WideTitle(), kChinese);
    UcApplication->SetWideTitle(kChinese);  // unchanged: nothing happens
    EXPECT_EQ(UcApplication->WideTitle(), kChinese);
    Application->SetTitle(ansiTitle);
}

TEST(UcApplication, ServerHostProcessesAreKnownByTheirFileName) {
    EXPECT_TRUE(IsServerHostProcess(L"C:\\windows\\system32\\inetsrv\\W3WP.EXE"));
    EXPECT_TRUE(IsServerHostProcess(L"dllhost.exe"));
    EXPECT_TRUE(IsServerHostProcess(L"C:\\x\\DllHost.Exe"));
    EXPECT_FALSE(IsServerHostProcess(L"C:\\x\\aw3wp.exe"));
    EXPECT_FALSE(IsServerHostProcess(L"C:\\W3WP.EXE\\prog.exe"));
}

TEST(UcForm, HasAUnicodeWindowAndAWideCaptionFromItsLayout) {
    RegisterLayout("TLayoutUcForm",
                   "object LayoutUcForm: TLayoutUcForm\n"
                   "  Left = 40\n"
                   "  Top = 40\n"
                   "  Caption = 'x'\n"
                   "  Caption_UTF7 = '+Ti1lhw'\n"
                   "end\n");
    TLayoutUcForm* form = New<TLayoutUcForm>(nullptr);
    TOwned<TLayoutUcForm> owned(form);
    form->HandleNeeded();
    EXPECT_TRUE(IsWindowUnicode(form->Handle()));
    EXPECT_EQ(form->Caption(), kChinese);
    wchar_t text[32] = {};
    GetWindowTextW(form->Handle(), text, 32);
    EXPECT_EQ(std::wstring(text), kChinese);

    // A plain Unicode form needs no layout of its own.
    auto plain = MakeOwned<TUcForm>(nullptr);
    plain->SetCaption(kChinese);
    plain->HandleNeeded();
    EXPECT_EQ(plain->Caption(), kChinese);
}

TEST(UcApplication, APlainMainFormGetsTheIdleEventControlWhoseActionBringsTheWideHint) {
    RestartUcApplication();
    PostMessageA(Application->Handle(), WM_NULL, 0, 0);
    DrainMessages();
    EXPECT_EQ(UcApplication->IdleEventControl(), nullptr) << "no main form yet";
    {
        TMainFormWithHints<TForm> f(L"short|" + kChinese);
        // Placed at the first message after the main form came.
        TUcAppIdleEventControl* idle = UcApplication->IdleEventControl();
        ASSERT_NE(idle, nullptr);
        EXPECT_EQ(idle->Owner(), f.form);
        EXPECT_EQ(idle->Parent(), f.form);
        EXPECT_TRUE(idle->Visible());
        EXPECT_NE(dynamic_cast<TUcAction*>(idle->Action()), nullptr);

        // The class library's idle-time update brings the long part of the
        // pointed control's wide hint to the hint line, wide.
        MouseMoveAt(f.pointed, 5, 5);
        ASSERT_EQ(Application->MouseControl(), f.pointed);
        f.line->seen.clear();
        f.form->UpdateActions();
        EXPECT_EQ(UcApplication->WideHint(), kChinese);
        EXPECT_EQ(Application->Hint(), SystemAnsiFromWide(kChinese));
        EXPECT_EQ(f.line->seen, (std::vector<THintLine::TSeen>{{"TUcHintAction", kChinese}}));
        f.form->UpdateActions();
        EXPECT_EQ(f.line->seen.size(), 1u) << "an unchanged hint goes out once";

        // Pointing elsewhere: the hint of the form (none).
        MouseMoveAt(f.form, 250, 120);
        f.form->UpdateActions();
        EXPECT_EQ(UcApplication->WideHint(), L"");
    }
    EXPECT_EQ(UcApplication->IdleEventControl(), nullptr) << "went with its form";
    PostMessageA(Application->Handle(), WM_NULL, 0, 0);
    DrainMessages();
    EXPECT_EQ(UcApplication->IdleEventControl(), nullptr) << "placed once only";
}

TEST(UcApplication, AUnicodeMainFormGetsNoIdleEventControlAndRefreshesTheHintItself) {
    RestartUcApplication();
    TMainFormWithHints<TUcForm> f(L"short|" + kJapanese);
    EXPECT_EQ(UcApplication->IdleEventControl(), nullptr);
    MouseMoveAt(f.pointed, 5, 5);
    f.line->seen.clear();
    f.form->UpdateActions();
    EXPECT_EQ(f.line->seen, (std::vector<THintLine::TSeen>{{"TUcHintAction", kJapanese}}));
}

TEST(UcApplication, TheIdleEventControlGoesWithTheWrapper) {
    RestartUcApplication();
    TMainFormWithHints<TForm> f(L"");
    ASSERT_NE(UcApplication->IdleEventControl(), nullptr);
    int before = f.form->ComponentCount();
    RestartUcApplication();
    EXPECT_EQ(f.form->ComponentCount(), before - 1);
    EXPECT_EQ(UcApplication->IdleEventControl(), nullptr);
}

TEST(UcApplication, HintActionsCarryTheWideHintAndLeaveOtherTextsAlone) {
    TMainFormWithHints<TForm> f(L"");
    f.line->seen.clear();
    UcApplication->SetWideHint(kChinese);
    // The same ANSI form: the line is told the empty text, then the new one.
    UcApplication->SetWideHint(kJapanese);
    EXPECT_EQ(f.line->seen, (std::vector<THintLine::TSeen>{
                                {"TUcHintAction", kChinese}, {"TUcHintAction", L""}, {"TUcHintAction", kJapanese}}));

    // A hint action with a text that is not the application's stays the
    // class library's own.
    f.line->seen.clear();
    TOwned<THintAction> foreign(New<THintAction>(nullptr));
    foreign->SetHint("elsewhere");
    foreign->Execute();
    EXPECT_EQ(f.line->seen, (std::vector<THintLine::TSeen>{{"THintAction", L"elsewhere"}}));

    // An ANSI hint set directly reaches the line as it is.
    f.line->seen.clear();
    Application->SetHint("set directly");
    ASSERT_EQ(f.line->seen.size(), 1u);
    EXPECT_EQ(f.line->seen[0].Hint, L"set directly");
    EXPECT_EQ(UcApplication->WideHint(), L"set directly");
    EXPECT_EQ(UcApplication->ComponentCount(), 0) << "the wide hint actions are freed";
}

namespace {

// A Unicode form with a main menu: File (with Open inside) and Help.
struct TUcFormWithMenu {
    TOwned<TUcForm> form = MakeOwned<TUcForm>(nullptr);
    TMainMenu* menu;
    TUcMenuItem* file;
    TUcMenuItem* open;
    TUcMenuItem* help;
    TUcFormWithMenu() {
        form->SetBounds(120, 120, 320, 200);
        menu = New<TMainMenu>(form.get());
        file = New<TUcMenuItem>(form.get());
        open = New<TUcMenuItem>(form.get());
        help = New<TUcMenuItem>(form.get());
        menu->Items()->Add(help);
        menu->Items()->Insert(0, file);
        file->Add(open);
        file->SetCaption(L"&File");
        file->SetHint(L"File|the file menu " + kChinese);
        open->SetCaption(kChinese);
        open->SetHint(L"Open|" + kJapanese);
        help->SetCaption(kJapanese);
        form->SetMenu(menu);
        form->Show();
        DrainMessages();
    }
    std::wstring BarText(TUcMenuItem* item) {
        wchar_t text[64] = {};
        GetMenuStringW(menu->Handle(), item->Command(), text, 64, MF_BYCOMMAND);
        return text;
    }
};

}  // namespace

TEST(UcForm, PointingAtAMenuItemMakesItsWideLongHintTheApplicationsHint) {
    TUcFormWithMenu f;
    SendMessageW(f.form->Handle(), WM_MENUSELECT, MAKEWPARAM(f.open->Command(), MF_HILITE),
                 reinterpret_cast<LPARAM>(f.file->Handle()));
    EXPECT_EQ(UcApplication->WideHint(), kJapanese);
    // A submenu is known by its handle.
    SendMessageW(f.form->Handle(), WM_MENUSELECT, MAKEWPARAM(0, MF_POPUP | MF_HILITE),
                 reinterpret_cast<LPARAM>(f.menu->Handle()));
    EXPECT_EQ(UcApplication->WideHint(), L"the file menu " + kChinese);
    // The menu closed.
    SendMessageW(f.form->Handle(), WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ(UcApplication->WideHint(), L"");
    EXPECT_EQ(Application->Hint(), "");
}

TEST(UcForm, OnAMiddleEastLocaleMovingTheFormWritesTheWideMenuBarAgain) {
    TUcFormWithMenu f;
    ASSERT_EQ(f.BarText(f.help), kJapanese);
    // Something wrote the menu bar behind the layer's back.
    auto spoil = [&] {
        wchar_t stale[] = L"stale";
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STRING;
        info.dwTypeData = stale;
        SetMenuItemInfoW(f.menu->Handle(), f.file->Command(), FALSE, &info);
    };
    spoil();
    f.form->SetBounds(130, 120, 320, 200);
    EXPECT_EQ(f.BarText(f.file), L"stale") << "only a middle-east locale refreshes";

    TSysLocale saved = SysLocale;
    SysLocale.MiddleEast = true;
    f.form->SetBounds(140, 120, 320, 200);
    EXPECT_EQ(f.BarText(f.file), L"&File");
    spoil();
    f.form->Perform(CM_BIDIMODECHANGED);
    EXPECT_EQ(f.BarText(f.file), L"&File");
    SysLocale = saved;
}

TEST(UcForm, TakesTheWideTextsOfItsAction) {
    auto form = MakeOwned<TUcForm>(nullptr);
    form->HandleNeeded();
    auto action = MakeOwned<TUcAction>(nullptr);
    action->SetCaption(kChinese);
    action->SetHint(kJapanese);
    const TPropInfo* caption = GetPropInfo(*form, "Caption");
    const TPropInfo* hint = GetPropInfo(*form, "Hint");
    ASSERT_TRUE(caption && hint);
    form->SetCaption(L"own");
    EXPECT_TRUE(caption->IsStored(*form));
    form->SetAction(action.get());
    EXPECT_TRUE(form->ActionLink()->ClassType().InheritsFrom(TUcWinControlActionLink::StaticClass()));
    EXPECT_EQ(form->Caption(), kChinese);
    EXPECT_EQ(form->Hint(), kJapanese);
    // What the action gives is not written with the form.
    EXPECT_FALSE(caption->IsStored(*form));
    EXPECT_FALSE(hint->IsStored(*form));
    // Same ANSI form: the link still hands on the new wide caption.
    action->SetCaption(kJapanese);
    EXPECT_EQ(form->Caption(), kJapanese);
    wchar_t text[32] = {};
    GetWindowTextW(form->Handle(), text, 32);
    EXPECT_EQ(std::wstring(text), kJapanese);
}
