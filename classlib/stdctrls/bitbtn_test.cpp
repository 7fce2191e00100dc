#include "classlib/stdctrls/bitbtn.h"

#include <gtest/gtest.h>

#include "classlib/stdctrls/edit.h"
#include "classlib/stdctrls/test_support.h"
#include "classlib/testing/caption_ink.h"

namespace {

// Counts the pixels of a colour in a window's client area.
int CountPixels(HWND window, COLORREF color, const TRect& area) {
    TWindowPixels pixels(window);
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) n += pixels.At(x, y) == color;
    return n;
}

TEST(BitBtn, AKindGivesCaptionResultDefaultCancelAndGlyph) {
    auto form = MakeForm();
    auto* no = AddControl<TBitBtn>(form.get(), 10, 10, 90, 25);
    no->SetKind(bkNo);
    EXPECT_EQ(no->Caption(), "&No");
    EXPECT_EQ(no->ModalResult(), mrNo);
    EXPECT_FALSE(no->Default());
    EXPECT_TRUE(no->Cancel());
    EXPECT_EQ(no->NumGlyphs(), 2);
    EXPECT_EQ(no->Glyph()->Width(), 2 * no->Glyph()->Height());
    // Another kind replaces all of it; bkCustom keeps what is there.
    no->SetKind(bkYes);
    EXPECT_EQ(no->Caption(), "&Yes");
    EXPECT_TRUE(no->Default());
    EXPECT_FALSE(no->Cancel());
    no->SetKind(bkCustom);
    EXPECT_EQ(no->Caption(), "&Yes");
    EXPECT_EQ(no->ModalResult(), mrYes);
    EXPECT_FALSE(no->Glyph()->Empty());
}

TEST(BitBtn, ChangingWhatTheKindSetMakesItCustom) {
    auto form = MakeForm();
    auto* ok = AddControl<TBitBtn>(form.get(), 10, 10, 90, 25);
    ok->SetKind(bkOK);
    ok->SetCaption("Fine");  // the caption alone keeps the kind
    EXPECT_EQ(ok->Kind(), bkOK);
    ok->SetDefault(false);
    EXPECT_EQ(ok->Kind(), bkCustom);

    auto* cancel = AddControl<TBitBtn>(form.get(), 10, 40, 90, 25);
    cancel->SetKind(bkCancel);
    cancel->SetModalResult(mrAbort);
    EXPECT_EQ(cancel->Kind(), bkCustom);

    auto* yes = AddControl<TBitBtn>(form.get(), 10, 70, 90, 25);
    yes->SetKind(bkYes);
    yes->Glyph()->Canvas()->SetPixel(0, 0, clRed);
    EXPECT_EQ(yes->Kind(), bkCustom);
}

using BitBtnOnForm = SharedFormTest;

TEST_F(BitBtnOnForm, DefaultFramePressedLookGlyphAndDisabledEmboss) {
    auto* edit = AddControl<TEdit>(form, 10, 10, 100, 21);
    auto* ok = AddControl<TBitBtn>(form, 10, 50, 90, 30);
    auto* other = AddControl<TBitBtn>(form, 110, 50, 90, 30);
    ok->SetKind(bkOK);
    other->SetCaption("Other");
    edit->SetFocus();
    DrainMessages();
    const COLORREF frame = Rgb(clWindowFrame), shadow = Rgb(clBtnShadow), green = Rgb(clGreen);
    TWindowPixels okPixels(ok->Handle());
    okPixels.SavePng(ScreenshotFolder() + "bitbtn_default.png");
    EXPECT_EQ(okPixels.At(0, 15), frame);  // the default button's frame
    EXPECT_EQ(okPixels.At(45, 0), frame);
    EXPECT_NE(TWindowPixels(other->Handle()).At(0, 15), frame);
    EXPECT_GT(CountPixels(ok->Handle(), green, Rect(2, 2, 88, 28)), 10);

    // Held down by the mouse: a flat face framed by a shadow line.
    MoveMouseTo(other, 45, 15);
    MouseButton(true);
    TWindowPixels pressed(other->Handle());
    pressed.SavePng(ScreenshotFolder() + "bitbtn_pressed.png");
    EXPECT_EQ(pressed.At(0, 15), frame);
    EXPECT_EQ(pressed.At(1, 15), shadow);
    EXPECT_EQ(pressed.At(45, 1), shadow);
    int clicks = 0;
    other->OnClick = [&](TObject*) { ++clicks; };
    MouseButton(false);
    EXPECT_EQ(clicks, 1);
    // Focus on a button: it is the active one, the default button is not.
    EXPECT_TRUE(other->Focused());
    EXPECT_NE(TWindowPixels(ok->Handle()).At(0, 15), frame);

    ok->SetEnabled(false);
    DrainMessages();
    EXPECT_EQ(CountPixels(ok->Handle(), green, Rect(2, 2, 88, 28)), 0);
    EXPECT_GT(CountPixels(ok->Handle(), shadow, Rect(2, 2, 88, 28)), 10);
    EXPECT_GT(CountPixels(ok->Handle(), Rgb(clBtnHighlight), Rect(2, 2, 88, 28)), 5);
    TWindowPixels(ok->Handle()).SavePng(ScreenshotFolder() + "bitbtn_disabled.png");
}

// Fonts that place glyphs at fractional positions draw the last glyph a
// few pixels past the measured text: the caption is not cut there.
// A kind's glyph is shown exactly like the same picture given in code, and
// showing it leaves the button of its kind.
TEST_F(BitBtnOnForm, AKindsGlyphLooksAsTheSameGlyphGivenInCode) {
    auto* edit = AddControl<TEdit>(form, 10, 10, 100, 21);
    auto* kind = AddControl<TBitBtn>(form, 10, 50, 90, 30);
    auto* given = AddControl<TBitBtn>(form, 110, 50, 90, 30);
    kind->SetKind(bkCancel);
    auto picture = MakeOwned<TBitmap>();
    PaintBitBtnKindGlyph(bkCancel, *picture);
    given->SetCaption(BitBtnKindCaption(bkCancel));
    given->SetGlyph(picture.get());
    given->SetNumGlyphs(2);
    edit->SetFocus();
    DrainMessages();
    EXPECT_TRUE(TWindowPixels(kind->Handle()) == TWindowPixels(given->Handle()));
    EXPECT_EQ(kind->Kind(), bkCancel);
    kind->SetEnabled(false);
    given->SetEnabled(false);
    DrainMessages();
    EXPECT_TRUE(TWindowPixels(kind->Handle()) == TWindowPixels(given->Handle()));
    EXPECT_EQ(kind->Glyph()->Pixels32(), picture->Pixels32());
    EXPECT_EQ(kind->NumGlyphs(), 2);
    EXPECT_EQ(kind->Kind(), bkCancel);
}

TEST_F(BitBtnOnForm, CaptionsShowUpToTheirLastGlyph) {
    auto* all = AddControl<TBitBtn>(form, 10, 10, 100, 28);
    all->SetKind(bkAll);
    auto* web = AddControl<TBitBtn>(form, 10, 50, 240, 25);
    web->SetCaption("www.vortel.example");
    DrainMessages();
    TWindowPixels pixels(form->Handle());
    EXPECT_TRUE(ShowsWholeCaption(pixels, form->Handle(), all, "&All"));
    EXPECT_TRUE(ShowsWholeCaption(pixels, form->Handle(), web, "www.vortel.example"));
}

TEST(BitBtn, KindsEndAModalFormWithTheirResults) {
    auto form = MakeForm(360, 120);
    auto* edit = AddControl<TEdit>(form.get(), 10, 10, 150, 21);
    auto* ok = AddControl<TBitBtn>(form.get(), 10, 50, 75, 25);
    auto* cancel = AddControl<TBitBtn>(form.get(), 90, 50, 75, 25);
    auto* all = AddControl<TBitBtn>(form.get(), 170, 50, 75, 25);
    auto* close = AddControl<TBitBtn>(form.get(), 250, 50, 75, 25);
    ok->SetKind(bkOK);
    cancel->SetKind(bkCancel);
    all->SetKind(bkAll);
    close->SetKind(bkClose);
    edit->SetTabOrder(0);
    // Each round acts once the form is up: a key, or a click on a button.
    std::vector<std::function<void()>> actions = {
        [] { PressKey(VK_RETURN); },
        [] { PressKey(VK_ESCAPE); },
        [&] { ClickAt(all, 20, 10); },
        [&] { ClickAt(close, 20, 10); },
        [&] { PressChord(VK_MENU, 'A'); },
    };
    std::vector<TModalResult> results;
    for (auto& action : actions) {
        form->OnShow = [&](TObject*) { PostMessageA(form->Handle(), WM_USER + 9, 0, 0); };
        Application->OnMessage = [&](MSG& msg, bool& handled) {
            if (msg.message != WM_USER + 9) return;
            handled = true;
            action();
        };
        results.push_back(form->ShowModal());
        Application->OnMessage = nullptr;
    }
    EXPECT_EQ(results, (std::vector<TModalResult>{mrOk, mrCancel, mrAll, mrCancel, mrAll}));
}

}  // namespace
