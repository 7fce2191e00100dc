// The application wrapper, its thread message hook and the Unicode form.
#include <gtest/gtest.h>

#include "classlib/gui/application.h"
#include "classlib/core/class_builder.h"
#include "classlib/testing/gui_testing.h"
#include "unicode/code_pages.h"
#include "unicode/uc_application.h"
#include "unicode/uc_form.h"
#include "unicode/unicode_windows.h"
#include "unicode/wide_captions.h"

namespace {

const std::wstring kChinese = L"\u4E2D\u6587";

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
