// Wide captions and hints of controls, Unicode windows and their trap, in
// real windows.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <vector>

#include "classlib/core/scope_exit.h"
#include "classlib/gui/actions.h"
#include "classlib/gui/application.h"
#include "classlib/gui/forms.h"
#include "classlib/gui/graphic_control.h"
#include "classlib/gui/graphics_objects.h"
#include "classlib/gui/scoped_win32.h"
#include "classlib/gui/sys_locale.h"
#include "classlib/testing/gui_testing.h"
#include "unicode/code_pages.h"
#include "unicode/text/platform_flags.h"
#include "unicode/text/uc_errors.h"
#include "unicode/unicode_windows.h"
#include "unicode/wide_captions.h"
#include "unicode/wide_hints.h"
#include "unicode/wide_menu_texts.h"
#include "unicode/wide_test_texts.h"

namespace {

// An edit box of the system's EDIT class with a Unicode window.
class TUcEdit : public TWinControl {
public:
    explicit TUcEdit(TComponent* owner) : TWinControl(owner) { SetBounds(10, 10, 160, 24); }
    // WM_CHAR parameters as the class library's handlers see them.
    std::vector<WPARAM> chars;
    int textChanges = 0;

    void WndProc(TMessage& m) override {
        if (m.Msg == WM_CHAR) chars.push_back(m.WParam);
        if (m.Msg == CM_TEXTCHANGED) ++textChanges;
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

// A control without a window.
class TBareControl : public TGraphicControl {
public:
    explicit TBareControl(TComponent* owner) : TGraphicControl(owner) {}
};

struct TFormWithEdit {
    TOwned<TForm> form = MakeOwned<TForm>(nullptr);
    TUcEdit* edit;
    TFormWithEdit() {
        form->SetBounds(120, 120, 320, 200);
        edit = New<TUcEdit>(form.get());
        edit->SetParent(form.get());
        form->Show();
        DrainMessages();
    }
};

// A hint window whose text reads from right to left, as a right-to-left
// reading order makes its window.
class TRightToLeftHintWindow : public TUcCustomHintWindow {
public:
    explicit TRightToLeftHintWindow(TComponent* owner) : TUcCustomHintWindow(owner) {}

protected:
    void CreateParams(TCreateParams& p) override {
        TUcCustomHintWindow::CreateParams(p);
        p.ExStyle |= WS_EX_RTLREADING;
    }
};

// What drawing leaves on a white bitmap of that size (0x00RRGGBB, top down).
std::vector<uint32_t> PaintedOnWhite(int width, int height, const std::function<void(HDC)>& draw) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    TMemoryDC dc(nullptr);
    TGdiObject bitmap(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap.Get()) return {};
    {
        TSelectedObject selected(dc, bitmap.Get());
        RECT all{0, 0, width, height};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        draw(dc);
        GdiFlush();
    }
    auto* pixels = static_cast<const uint32_t*>(bits);
    return std::vector<uint32_t>(pixels, pixels + width * height);
}

// The hint window's painting of its wide caption beside the same text drawn
// by GDI in its font, in the system's hint text colour, with extra flags.
struct THintPainting {
    std::vector<uint32_t> painted, expected;
};
THintPainting PaintHint(TUcCustomHintWindow& hint, const std::wstring& text, UINT extraFlags) {
    hint.HandleNeeded();
    ControlSetWideText(&hint, text);
    int width = hint.ClientWidth(), height = hint.ClientHeight();
    THintPainting result;
    result.painted = PaintedOnWhite(width, height, [&](HDC dc) {
        hint.Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    });
    result.expected = PaintedOnWhite(width, height, [&](HDC dc) {
        TSelectedObject font(dc, FontHandle(*hint.Font()));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
        RECT r{2, 2, width, height};
        DrawTextW(dc, text.c_str(), -1, &r, DT_NOPREFIX | DT_WORDBREAK | extraFlags);
    });
    return result;
}

std::string AtomName(ATOM atom) {
    char name[256] = {};
    GlobalGetAtomNameA(atom, name, sizeof name);
    return name;
}

}  // namespace

TEST(WideCaptions, AUnicodeWindowKeepsItsWideCaptionWhenMadeAgain) {
    TFormWithEdit f;
    ASSERT_TRUE(IsWindowUnicode(f.edit->Handle()));
    ControlSetWideText(f.edit, kChinese);
    EXPECT_EQ(ControlGetWideText(f.edit), kChinese);
    EXPECT_EQ(f.edit->Text(), SystemAnsiFromWide(kChinese));

    HWND old = f.edit->Handle();
    f.edit->RecreateWnd();
    ASSERT_TRUE(f.edit->HandleAllocated());
    EXPECT_NE(f.edit->Handle(), old);
    EXPECT_TRUE(IsWindowUnicode(f.edit->Handle()));
    EXPECT_EQ(ControlGetWideText(f.edit), kChinese);
    wchar_t className[64] = {};
    GetClassNameW(f.edit->Handle(), className, 64);
    EXPECT_EQ(std::wstring(className), WideFromSystemAnsi(f.edit->ClassName()) + L".UnicodeClass");
}

TEST(WideCaptions, OnlyAChangedCaptionIsAnnounced) {
    TFormWithEdit f;
    ControlSetWideText(f.edit, kChinese);
    int changes = f.edit->textChanges;
    EXPECT_GE(changes, 1);
    ControlSetWideText(f.edit, kChinese);
    EXPECT_EQ(f.edit->textChanges, changes);
}

TEST(WideCaptions, OnlyHintInformationTheLayerPreparedCountsAsWide) {
    THintInfo forged;
    forged.HintWindowClass = &TUcCustomHintWindow::StaticClass();
    forged.HintData = &forged;
    EXPECT_FALSE(IsWideHintData(&forged));
    EXPECT_FALSE(IsWideHintData(nullptr));

    TFormWithEdit f;
    ControlSetWideHint(f.edit, kChinese);
    THintInfo info;
    info.HintControl = f.edit;
    info.HintWindowClass = &THintWindow::StaticClass();
    info.HintStr = f.edit->Hint();
    f.edit->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.HintWindowClass, &TUcCustomHintWindow::StaticClass());
    EXPECT_TRUE(IsWideHintData(&info));
    EXPECT_EQ(WideHintText(&info), kChinese);
}

TEST(WideCaptions, AHintShowingTheActionsShortcutKeepsItsWideText) {
    TFormWithEdit f;
    auto action = MakeOwned<TAction>(nullptr);
    TShortCut ctrlF5 = ShortCut(VK_F5, TShiftState{ssCtrl});
    action->SetShortCut(ctrlF5);
    f.edit->SetAction(action.get());
    ControlSetWideHint(f.edit, kChinese + L"|long");
    THintInfo info;
    info.HintControl = f.edit;
    info.HintWindowClass = &THintWindow::StaticClass();
    f.edit->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
    ASSERT_TRUE(IsWideHintData(&info));
    // The shortcut added to the short part after the layer prepared it.
    info.HintStr += " (" + ShortCutToText(ctrlF5) + ")";
    EXPECT_EQ(WideHintText(&info), kChinese + L" (" + WideShortCutToText(ctrlF5) + L")");
    Application->SetHintShortCuts(false);
    EXPECT_EQ(WideHintText(&info), WideFromSystemAnsi(info.HintStr));
    Application->SetHintShortCuts(true);
    // Another text is shown as it is.
    info.HintStr = "other";
    EXPECT_EQ(WideHintText(&info), L"other");
}

TEST(WideCaptions, AWideCharacterCrossesTheClassLibraryOnceInTransportForm) {
    TFormWithEdit f;
    SendMessageW(f.edit->Handle(), WM_CHAR, 0x4E2D, 1);
    ASSERT_EQ(f.edit->chars.size(), 1u);
    EXPECT_EQ(f.edit->chars[0], WPARAM(0x4E2D00FF));
    EXPECT_EQ(ControlGetWideText(f.edit), L"\u4E2D");

    f.edit->chars.clear();
    SendMessageW(f.edit->Handle(), WM_CHAR, 'a', 1);
    ASSERT_EQ(f.edit->chars.size(), 1u);
    EXPECT_EQ(f.edit->chars[0], WPARAM('a'));
    EXPECT_EQ(ControlGetWideText(f.edit), L"\u4E2Da");
}

TEST(WideCaptions, TransportFormRoundTrips) {
    EXPECT_EQ(CharToTransportForm(0x4E2D), WPARAM(0x4E2D00FF));
    EXPECT_EQ(CharFromTransportForm(0x4E2D00FF), WPARAM(0x4E2D));
    EXPECT_EQ(CharToTransportForm(0xE9), WPARAM(0xE9));
    EXPECT_EQ(CharFromTransportForm(0xE9), WPARAM(0xE9));
    EXPECT_EQ(CharFromTransportForm(0x00410041), WPARAM(0x41));  // high bits without the mark are dropped
}

TEST(WideCaptions, TextMessagesOfTheClassLibraryAreConvertedForTheWindow) {
    TFormWithEdit f;
    f.edit->Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Gr\xFC\xDF"));
    EXPECT_EQ(ControlGetWideText(f.edit), L"Gr\u00FC\u00DF");
    char buffer[16] = {};
    f.edit->Perform(WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
    EXPECT_STREQ(buffer, "Gr\xFC\xDF");
    EXPECT_EQ(f.edit->Text(), "Gr\xFC\xDF");
}

TEST(WideCaptions, ChildWindowsAskingTheFormatHearUnicodeOnlyForUnicodeWindows) {
    TFormWithEdit f;
    HWND edit = f.edit->Handle();
    EXPECT_EQ(SendMessageW(edit, WM_NOTIFYFORMAT, reinterpret_cast<WPARAM>(edit), NF_QUERY), NFR_UNICODE);
    EXPECT_EQ(SendMessageW(edit, WM_NOTIFYFORMAT, reinterpret_cast<WPARAM>(f.form->Handle()), NF_QUERY),
              NFR_ANSI);
}

TEST(WideCaptions, OnlyUnicodeWindowsAreSubclassed) {
    auto form = MakeOwned<TForm>(nullptr);
    form->HandleNeeded();
    try {
        SubClassUnicodeControl(form.get(), "x", false);
        FAIL() << "no error";
    } catch (const EUcInternalError& e) {
        EXPECT_EQ(e.Message(), "Internal Error: SubClassUnicodeControl.Control is not Unicode.");
    }
}

TEST(WideCaptions, OnTheOtherPlatformWindowsAndTextsStayAnsi) {
    TScopedPlatformFlags other(false, false);
    TFormWithEdit f;
    EXPECT_FALSE(IsWindowUnicode(f.edit->Handle()));
    ControlSetWideText(f.edit, L"Gr\u00FC\u00DF " + kChinese);
    EXPECT_EQ(f.edit->Text(), SystemAnsiFromWide(L"Gr\u00FC\u00DF " + kChinese));
    EXPECT_EQ(ControlGetWideText(f.edit), WideFromSystemAnsi(f.edit->Text()));
}

TEST(WideCaptions, ControlsWithoutWindowKeepWideTextsBesideTheirAnsiOnes) {
    auto control = MakeOwned<TBareControl>(nullptr);
    ControlSetWideText(control.get(), kChinese);
    EXPECT_EQ(control->Text(), SystemAnsiFromWide(kChinese));
    EXPECT_EQ(ControlGetWideText(control.get()), kChinese);
    ASSERT_NE(WideCaptionHolderFor(control.get(), false), nullptr);

    // Changed behind the layer's back: the ANSI text wins and is kept.
    control->SetText("plain");
    EXPECT_EQ(ControlGetWideText(control.get()), L"plain");
    EXPECT_EQ(WideCaptionHolderFor(control.get(), false)->WideCaption(), L"plain");

    ControlSetWideHint(control.get(), kChinese + L"|long " + kChinese);
    EXPECT_EQ(ControlGetWideHint(control.get()), kChinese + L"|long " + kChinese);
    EXPECT_EQ(control->Hint(), SystemAnsiFromWide(kChinese + L"|long " + kChinese));
}

TEST(WideCaptions, AHolderGoesWithItsControl) {
    auto* control = New<TBareControl>(nullptr);
    ControlSetWideText(control, kChinese);
    TWideCaptionHolder* holder = WideCaptionHolderFor(control, false);
    ASSERT_NE(holder, nullptr);
    control->Free();
    // A new control at the same address must not find the old holder.
    auto other = MakeOwned<TBareControl>(nullptr);
    TWideCaptionHolder* found = WideCaptionHolderFor(other.get(), false);
    EXPECT_TRUE(found == nullptr || found->Control() == other.get());
}

TEST(WideCaptions, TheAnsiShadowSeesAChangeEvenWhenItsFormStaysTheSame) {
    std::vector<std::string> calls;
    std::string ansi = SystemAnsiFromWide(L"\u4E2D");  // "?"
    std::wstring field = L"\u6587";                      // also "?"
    auto setter = [&](const std::string& s) { calls.push_back(s); };
    SetWidePropertyWithAnsiShadow(L"\u4E2D", field, ansi, setter);
    EXPECT_EQ(calls, (std::vector<std::string>{"", ansi}));
    EXPECT_EQ(field, L"\u4E2D");

    calls.clear();
    SetWidePropertyWithAnsiShadow(L"\u4E2D", field, ansi, setter);
    EXPECT_TRUE(calls.empty());
    SetWidePropertyWithAnsiShadow(L"abc", field, ansi, setter);
    EXPECT_EQ(calls, (std::vector<std::string>{"abc"}));
}

TEST(WideCaptions, HintsSplitAtTheFirstBarAndComeFromTheNearestParent) {
    EXPECT_EQ(WideGetShortHint(L"A|B|C"), L"A");
    EXPECT_EQ(WideGetLongHint(L"A|B|C"), L"B|C");
    EXPECT_EQ(WideGetShortHint(L"AB"), L"AB");
    EXPECT_EQ(WideGetLongHint(L"AB"), L"AB");

    TFormWithEdit f;
    ControlSetWideHint(f.form.get(), kChinese);
    EXPECT_EQ(ControlWideHintChain(f.edit), kChinese);
    ControlSetWideHint(f.edit, L"own");
    EXPECT_EQ(ControlWideHintChain(f.edit), L"own");
    EXPECT_EQ(ControlWideHintChain(nullptr), L"");
}

TEST(WideCaptions, AWideHintReachesTheHintWindowSplitAtTheBar) {
    // The mouse comes from outside the form, whatever an earlier run left.
    SetCursorPos(0, 0);
    DrainMessages();
    TFormWithEdit f;
    ControlSetWideHint(f.edit, kChinese + L"|the long part");
    f.edit->SetShowHint(true);
    Application->SetHintPause(1);
    MoveMouseTo(f.edit, 20, 10);
    MouseMoveAt(f.edit, 21, 11);
    TUcCustomHintWindow* hint = nullptr;
    ASSERT_TRUE(PumpUntil([&] {
        HWND window = FindWindowW(L"TUcCustomHintWindow.UnicodeClass", nullptr);
        hint = window && IsWindowVisible(window) ? dynamic_cast<TUcCustomHintWindow*>(FindControl(window)) : nullptr;
        return hint != nullptr;
    }));
    EXPECT_EQ(ControlGetWideText(hint), kChinese);
    Application->CancelHint();
    Application->SetHintPause(500);
}

TEST(WideCaptions, AfterTheLayersEndATrappedWindowPassesNothingOnAndItsEndFreesTheControl) {
    TFormWithEdit f;
    HWND edit = f.edit->Handle();
    StopWideCaptions();
    {
        TScopeExit restart([] { StartWideCaptions(); });
        EXPECT_EQ(SendMessageW(edit, WM_CHAR, 'x', 1), 0);
        EXPECT_TRUE(f.edit->chars.empty()) << "the class library heard of it";
        wchar_t text[8] = L"?";
        EXPECT_EQ(SendMessageW(edit, WM_GETTEXT, 8, reinterpret_cast<LPARAM>(text)), 0);
        EXPECT_STREQ(text, L"?");

        // The window's end: the control holds it no longer.
        SendMessageW(edit, WM_DESTROY, 0, 0);
        EXPECT_FALSE(f.edit->HandleAllocated());
        EXPECT_EQ(FindControl(edit), nullptr);
        TOwnedWindow(edit).Reset();
    }
}

TEST(WideCaptions, TheHintWindowWritesInTheHintTextColour) {
    auto hint = MakeOwned<TUcCustomHintWindow>(nullptr);
    // Whatever colour its own font was given.
    hint->Font()->SetColor(GetSysColor(COLOR_INFOTEXT) == RGB(255, 0, 0) ? clBlue : clRed);
    THintPainting p = PaintHint(*hint, L"Hint " + kChinese, 0);
    ASSERT_FALSE(p.expected.empty());
    EXPECT_TRUE(p.painted == p.expected);
    EXPECT_TRUE(p.painted != PaintedOnWhite(hint->ClientWidth(), hint->ClientHeight(), [](HDC) {}))
        << "nothing was written";
}

TEST(WideCaptions, AHintWindowReadingFromRightToLeftWritesAndMeasuresSo) {
    TSysLocale locale = SysLocale;
    TScopeExit restore([&] { SysLocale = locale; });
    SysLocale.MiddleEast = true;
    auto hint = MakeOwned<TRightToLeftHintWindow>(nullptr);
    const std::wstring text = L"abc (1)!";
    THintPainting p = PaintHint(*hint, text, DT_RTLREADING);
    ASSERT_FALSE(p.expected.empty());
    EXPECT_TRUE(p.painted == p.expected);
    EXPECT_TRUE(p.painted != PaintHint(*hint, text, 0).expected) << "the order made no difference here";

    // Its size is measured in the same order.
    TFormWithEdit f;
    ControlSetWideHint(f.edit, text);
    THintInfo info;
    info.HintControl = f.edit;
    info.HintWindowClass = &TUcCustomHintWindow::StaticClass();
    f.edit->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
    ASSERT_TRUE(IsWideHintData(&info));
    RECT expected{0, 0, 200, 0};
    {
        TWindowDC dc(hint->Handle());
        TSelectedObject font(dc, FontHandle(*hint->Font()));
        DrawTextW(dc, text.c_str(), -1, &expected, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_RTLREADING);
    }
    TRect r = hint->CalcHintRect(200, info.HintStr, &info);
    EXPECT_EQ(r.right, expected.right + 6);
    EXPECT_EQ(r.bottom, expected.bottom + 2);

    // Elsewhere than on a right-to-left system the text reads as written.
    SysLocale.MiddleEast = false;
    p = PaintHint(*hint, text, 0);
    EXPECT_TRUE(p.painted == p.expected);
}

TEST(WideCaptions, TheLayerHoldsTheClassLibrarysAtoms) {
    char expected[32];
    std::snprintf(expected, sizeof expected, "Ambit%.8X", static_cast<unsigned>(GetCurrentProcessId()));
    EXPECT_EQ(AtomName(UcControlAtom()), expected);
    char window[48];
    std::snprintf(window, sizeof window, "ControlOfs%.8X%.8X",
                  static_cast<unsigned>(reinterpret_cast<uintptr_t>(GetModuleHandleA(nullptr))),
                  static_cast<unsigned>(GetCurrentThreadId()));
    EXPECT_EQ(AtomName(UcWindowAtom()), window);

    TFormWithEdit f;
    EXPECT_EQ(GetPropA(f.edit->Handle(), MAKEINTATOM(UcControlAtom())), f.edit);
    EXPECT_EQ(FindControl(f.edit->Handle()), f.edit);
}
