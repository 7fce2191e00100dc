#include "controls/themed_bitbtn.h"

#include <gtest/gtest.h>

#include "classlib/core/filer.h"
#include "classlib/stdctrls/edit.h"
#include "classlib/gui/graphics_objects.h"
#include "classlib/stdctrls/test_support.h"
#include "classlib/testing/caption_ink.h"
#include "controls/bitmap_test_support.h"
#include "controls/register_controls.h"

namespace {

namespace seam = theme_library_testing;

// Buttons take a reference to the visual-style binding and never give it
// back: every test runs between a start and a shut-down of the binding, so
// that nothing stays loaded or counted afterwards.
class ThemedBitBtnTest : public SharedFormTest {
protected:
    void SetUp() override { StartThemeLibraryUnit(); }
    void TearDown() override {
        SharedFormTest::TearDown();
        StopThemeLibraryUnit();
        seam::SetLibraryName(nullptr);
    }
    TThemedBitBtn* AddButton(int left = 20, int top = 20, int width = 90, int height = 30) {
        return AddControl<TThemedBitBtn>(form, left, top, width, height);
    }
};

bool Stored(TThemedBitBtn* button, const char* name) {
    return TThemedBitBtn::StaticClass().FindProp(name)->IsStored(*button);
}

TEST_F(ThemedBitBtnTest, FreshButtonsAreOwnerDrawnCustomButtons) {
    auto* button = AddButton();
    EXPECT_EQ(button->Kind(), themed_buttons::bkCustom);
    EXPECT_EQ(button->Spacing(), 4);
    EXPECT_EQ(button->Margin(), -1);
    EXPECT_EQ(button->Layout(), blGlyphLeft);
    EXPECT_EQ(button->Style(), bsAutoDetect);
    EXPECT_TRUE(button->ControlStyle().Contains(csReflector));
    EXPECT_EQ(GetWindowLongA(button->Handle(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_EQ(seam::ReferenceCount(), 1);
    EXPECT_EQ(ThemesActive(), button->Theme() != nullptr);
}

TEST_F(ThemedBitBtnTest, EachKindGivesItsCaptionResultKeysAndGlyph) {
    struct Expected {
        themed_buttons::TThemedBitBtnKind Kind;
        const char* Caption;
        TModalResult Result;
        bool IsDefault, IsCancel;
    };
    const Expected kinds[] = {
        {themed_buttons::bkOK, "OK", mrOk, true, false},
        {themed_buttons::bkCancel, "Cancel", mrCancel, false, true},
        {themed_buttons::bkHelp, "&Help", mrNone, false, false},
        {themed_buttons::bkYes, "&Yes", mrYes, true, false},
        {themed_buttons::bkNo, "&No", mrNo, false, true},
        {themed_buttons::bkClose, "&Close", mrNone, false, false},
        {themed_buttons::bkAbort, "Abort", mrAbort, false, false},
        {themed_buttons::bkRetry, "&Retry", mrRetry, false, false},
        {themed_buttons::bkIgnore, "&Ignore", mrIgnore, false, false},
        {themed_buttons::bkAll, "&All", mrAll, false, false},
    };
    auto* button = AddButton();
    for (const Expected& e : kinds) {
        button->SetKind(e.Kind);
        EXPECT_EQ(button->Kind(), e.Kind);
        EXPECT_EQ(button->Caption(), e.Caption);
        EXPECT_EQ(button->ModalResult(), e.Result) << e.Caption;
        EXPECT_EQ(button->Default(), e.IsDefault) << e.Caption;
        EXPECT_EQ(button->Cancel(), e.IsCancel) << e.Caption;
        EXPECT_EQ(button->NumGlyphs(), 2);
        EXPECT_EQ(button->Glyph()->Width(), 36);
        EXPECT_EQ(button->Glyph()->Height(), e.Kind == themed_buttons::bkAll ? 19 : 18);
    }
    // Custom keeps what the last kind gave.
    button->SetKind(themed_buttons::bkCustom);
    EXPECT_EQ(button->Caption(), "&All");
    EXPECT_EQ(button->ModalResult(), mrAll);
}

TEST_F(ThemedBitBtnTest, KindGlyphsAreTheProgramsFourBitResourcesLoadedOnce) {
    for (int kind = themed_buttons::bkOK; kind <= themed_buttons::bkAll; ++kind) {
        TBitmap* glyph = themed_buttons::LoadKindGlyph(static_cast<themed_buttons::TThemedBitBtnKind>(kind));
        ASSERT_NE(glyph, nullptr) << themed_buttons::KindGlyphName(static_cast<themed_buttons::TThemedBitBtnKind>(kind));
        EXPECT_EQ(glyph->PixelFormat(), pf4bit);
        EXPECT_EQ(glyph, themed_buttons::LoadKindGlyph(static_cast<themed_buttons::TThemedBitBtnKind>(kind)));
        // The background, taken as transparent, is the bottom-left pixel.
        EXPECT_EQ(glyph->Pixels32()[static_cast<size_t>((glyph->Height() - 1) * glyph->Width())], 0x808000u);
    }
    EXPECT_EQ(themed_buttons::LoadKindGlyph(themed_buttons::bkCustom), nullptr);
    StartThemedButtonsUnit();
    StopThemedButtonsUnit();  // frees them; the next use loads again
    EXPECT_EQ(themed_buttons::LoadKindGlyph(themed_buttons::bkOK)->Width(), 36);
}

TEST_F(ThemedBitBtnTest, OnlyWhatDiffersFromTheKindIsStored) {
    auto* cancel = AddButton();
    cancel->SetKind(themed_buttons::bkCancel);
    for (const char* name : {"Caption", "Glyph", "NumGlyphs", "Cancel", "Default", "ModalResult"})
        EXPECT_FALSE(Stored(cancel, name)) << name;
    cancel->SetCaption("&Cancel");  // the case counts
    EXPECT_TRUE(Stored(cancel, "Caption"));
    EXPECT_EQ(cancel->Kind(), themed_buttons::bkCancel);

    cancel->SetDefault(true);
    EXPECT_EQ(cancel->Kind(), themed_buttons::bkCustom);
    for (const char* name : {"Glyph", "NumGlyphs", "Cancel", "Default", "ModalResult"})
        EXPECT_TRUE(Stored(cancel, name)) << name;

    auto* ok = AddButton(20, 60);
    ok->SetKind(themed_buttons::bkOK);
    ok->SetGlyph(ok->Glyph());  // a glyph of one's own, even the same picture
    EXPECT_EQ(ok->Kind(), themed_buttons::bkCustom);
    auto* custom = AddButton(20, 100);
    EXPECT_FALSE(Stored(custom, "Caption"));
    custom->SetCaption("Go");
    EXPECT_TRUE(Stored(custom, "Caption"));
}

TEST_F(ThemedBitBtnTest, AKindReadFromALayoutKeepsTheLayoutsCaption) {
    RegisterEditorControlClasses();
    auto host = MakeForm();
    ReadComponentFromText(host.get(), "object F: TForm\r\n  object B: TThemedBitBtn\r\n"
                                      "    Caption = 'Schlie\xDF" "en'\r\n    Kind = bkCancel\r\n  end\r\n"
                                      "  object C: TThemedBitBtn\r\n    Kind = bkOK\r\n  end\r\nend\r\n");
    auto* b = dynamic_cast<TThemedBitBtn*>(host->FindComponent("B"));
    auto* c = dynamic_cast<TThemedBitBtn*>(host->FindComponent("C"));
    ASSERT_TRUE(b && c);
    EXPECT_EQ(b->Caption(), "Schlie\xDF" "en");
    EXPECT_EQ(b->Kind(), themed_buttons::bkCancel);
    EXPECT_EQ(c->Caption(), "OK");
    // Written again, the kind stands for all it gives.
    const std::string text = WriteComponentToText(host.get());
    EXPECT_EQ(text.find("Glyph.Data"), std::string::npos);
    EXPECT_NE(text.find("Kind = bkOK"), std::string::npos);
    host.reset();
}

TEST_F(ThemedBitBtnTest, SettersKeepTheirRanges) {
    auto* button = AddButton();
    button->SetNumGlyphs(9);
    EXPECT_EQ(button->NumGlyphs(), 4);
    button->SetNumGlyphs(0);
    EXPECT_EQ(button->NumGlyphs(), 4);
    button->SetMargin(-2);
    EXPECT_EQ(button->Margin(), -1);
    button->SetMargin(6);
    EXPECT_EQ(button->Margin(), 6);
}

TEST_F(ThemedBitBtnTest, CloseClosesTheFormWithoutOnClickAndHelpClicks) {
    auto dialog = MakeForm(200, 120);
    auto* close = AddControl<TThemedBitBtn>(dialog.get(), 10, 10, 80, 25);
    auto* help = AddControl<TThemedBitBtn>(dialog.get(), 100, 10, 80, 25);
    close->SetKind(themed_buttons::bkClose);
    help->SetKind(themed_buttons::bkHelp);
    int clicks = 0, closes = 0;
    close->OnClick = [&](TObject*) { ++clicks; };
    help->OnClick = [&](TObject*) { ++clicks; };
    dialog->OnClose = [&](TObject*, TCloseAction& action) {
        ++closes;
        action = caHide;
    };
    ShowAndWait(dialog.get());
    help->Click();
    EXPECT_EQ(clicks, 1);
    close->Click();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(closes, 1);
    EXPECT_TRUE(PumpUntil([&] { return !dialog->Visible(); }));
    dialog.reset();
}

TEST_F(ThemedBitBtnTest, ADoubleClickIsASecondPress) {
    auto* button = AddButton();
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    HWND window = button->Handle();
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    SendMessageA(window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    DrainMessages();
    EXPECT_EQ(clicks, 2);
}

// The colour of a button pixel as the screen shows it.
COLORREF ButtonPixel(const TWindowPixels& pixels, int x, int y) { return pixels.At(x, y) & 0xFFFFFF; }

// Whether row y has pixels other than the face colour between the
// columns.
bool RowMarked(const TWindowPixels& pixels, int y, int from, int to) {
    for (int x = from; x < to; ++x)
        if (ButtonPixel(pixels, x, y) != Rgb(clBtnFace)) return true;
    return false;
}

TEST_F(ThemedBitBtnTest, WithoutVisualStylesTheFocusedButtonIsFramedAndMarked) {
    // A missing library and one without the entries both draw classically.
    for (const char* library : {"no_such_theme_library.dll", "msimg32.dll"}) {
        StopThemeLibraryUnit();
        StartThemeLibraryUnit();
        seam::SetLibraryName(library);
        auto* button = AddButton(20, 20, 90, 30);
        auto* other = AddButton(20, 60, 90, 30);
        ASSERT_FALSE(ThemesActive());
        EXPECT_EQ(button->Theme(), nullptr);
        other->SetFocus();
        ASSERT_TRUE(PumpUntil([&] { return other->Focused(); }));
        DrainMessages();
        {
            TWindowPixels pixels(button->Handle());
            EXPECT_NE(ButtonPixel(pixels, 0, 0), Rgb(clWindowFrame)) << library;
            EXPECT_FALSE(RowMarked(pixels, 4, 4, 86)) << library;
        }
        button->SetFocus();
        ASSERT_TRUE(PumpUntil([&] { return button->Focused() && button->LooksActive(); }));
        DrainMessages();
        TWindowPixels pixels(button->Handle());
        EXPECT_EQ(ButtonPixel(pixels, 0, 0), Rgb(clWindowFrame)) << library;
        EXPECT_EQ(ButtonPixel(pixels, 89, 29), Rgb(clWindowFrame)) << library;
        // The focus rectangle runs 4 pixels inside; the face within it.
        EXPECT_TRUE(RowMarked(pixels, 4, 4, 86)) << library;
        EXPECT_FALSE(RowMarked(pixels, 3, 4, 86)) << library;
        EXPECT_FALSE(RowMarked(pixels, 5, 6, 84)) << library;
        form->DestroyComponents();
    }
}

TEST_F(ThemedBitBtnTest, AButtonMadeWhileStylesWereOffStaysClassic) {
    seam::SetLibraryName("no_such_theme_library.dll");
    auto* button = AddButton(20, 20, 90, 30);
    // The binding loads the library later; the button holds no theme to
    // draw with and keeps its classic face rather than none.
    StopThemeLibraryUnit();
    seam::SetLibraryName(nullptr);
    StartThemeLibraryUnit();
    auto* themed = AddButton(20, 60, 90, 30);
    if (!ThemesActive()) GTEST_SKIP() << "no visual style is active";
    ASSERT_NE(themed->Theme(), nullptr);
    button->SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return button->Focused() && button->LooksActive(); }));
    DrainMessages();
    TWindowPixels pixels(button->Handle());
    EXPECT_EQ(ButtonPixel(pixels, 0, 0), Rgb(clWindowFrame));
    EXPECT_FALSE(RowMarked(pixels, 3, 4, 86));
    EXPECT_TRUE(RowMarked(pixels, 4, 4, 86));
}

TEST_F(ThemedBitBtnTest, WithVisualStylesTheFocusIsMarkedWithoutAFrame) {
    auto* button = AddButton(20, 20, 90, 30);
    if (!ThemesActive()) GTEST_SKIP() << "no visual style is active";
    ASSERT_NE(button->Theme(), nullptr);
    button->SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return button->Focused() && button->LooksActive(); }));
    DrainMessages();
    TWindowPixels focused(button->Handle());
    AddButton(20, 60, 90, 30)->SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return !button->LooksActive(); }));
    DrainMessages();
    TWindowPixels unfocused(button->Handle());
    // Only the focus rectangle's row differs along the top inside.
    int rowFourChanges = 0;
    for (int x = 6; x < 84; ++x) rowFourChanges += focused.At(x, 4) != unfocused.At(x, 4);
    EXPECT_GT(rowFourChanges, 10);
    EXPECT_NE(focused.At(0, 0) & 0xFFFFFF, Rgb(clWindowFrame));
}

TEST_F(ThemedBitBtnTest, ADisabledKindButtonDrawsItsSecondCell) {
    seam::SetLibraryName("no_such_theme_library.dll");
    auto* button = AddButton(20, 20, 90, 30);
    button->SetKind(themed_buttons::bkOK);
    button->SetEnabled(false);
    DrainMessages();
    TWindowPixels pixels(button->Handle());
    int greens = 0, shadows = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 90; ++x) {
            greens += ButtonPixel(pixels, x, y) == RGB(0, 128, 0);
            shadows += ButtonPixel(pixels, x, y) == Rgb(clBtnShadow);
        }
    EXPECT_EQ(greens, 0);
    EXPECT_GT(shadows, 20);  // the grey check mark and the caption
    button->SetEnabled(true);
    DrainMessages();
    TWindowPixels enabled(button->Handle());
    greens = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 90; ++x) greens += ButtonPixel(enabled, x, y) == RGB(0, 128, 0);
    EXPECT_GT(greens, 10);
}

// A one-cell picture is embossed from its black pixels when the button is
// disabled: its square shows in shadow with a highlight edge, whether the
// window was made disabled or disabled later. Pictures without black pixels
// have nothing to emboss.
TEST_F(ThemedBitBtnTest, ADisabledButtonEmbossesTheBlackOfAOneCellPicture) {
    seam::SetLibraryName("no_such_theme_library.dll");
    auto picture = FilledBitmap(16, 16, clFuchsia);
    picture->Canvas()->Brush().SetColor(clBlack);
    picture->Canvas()->FillRect(Rect(4, 4, 12, 12));
    auto* early = New<TThemedBitBtn>(form);
    early->SetGlyph(picture.get());
    early->SetEnabled(false);
    early->SetBounds(20, 20, 90, 30);
    early->SetParent(form);
    auto* late = AddButton(20, 60, 90, 30);
    late->SetGlyph(picture.get());
    DrainMessages();
    late->SetEnabled(false);
    DrainMessages();
    for (TThemedBitBtn* button : {early, late}) {
        EXPECT_EQ(button->NumGlyphs(), 1);
        TWindowPixels pixels(button->Handle());
        // The glyph alone, centred (45, 15), apart from frame and focus marks.
        int shadows = 0, highlights = 0, faces = 0;
        for (int y = 6; y < 25; ++y)
            for (int x = 30; x < 62; ++x) {
                const COLORREF c = ButtonPixel(pixels, x, y);
                shadows += c == Rgb(clBtnShadow);
                highlights += c == Rgb(clBtnHighlight);
                faces += c == Rgb(clBtnFace);
            }
        EXPECT_EQ(shadows, 64) << "the black square";
        EXPECT_EQ(highlights, 15) << "its lower and right edges, moved by one";
        EXPECT_GT(faces, 0);
    }
}

// Fonts that place glyphs at fractional positions draw the last glyph a
// few pixels past the measured text: the caption is not cut there, with or
// without a picture, enabled or not.
TEST_F(ThemedBitBtnTest, CaptionsShowUpToTheirLastGlyph) {
    auto* all = AddButton(10, 10, 100, 28);
    all->SetKind(themed_buttons::bkAll);
    auto* web = AddButton(10, 50, 240, 25);
    web->SetCaption("www.vortel.example");
    auto* disabled = AddButton(10, 90, 240, 25);
    disabled->SetCaption("http://www.vortel.example/quillory/");
    disabled->SetEnabled(false);
    DrainMessages();
    TWindowPixels pixels(form->Handle());
    EXPECT_TRUE(ShowsWholeCaption(pixels, form->Handle(), all, "&All"));
    EXPECT_TRUE(ShowsWholeCaption(pixels, form->Handle(), web, "www.vortel.example"));
    EXPECT_TRUE(ShowsWholeText(pixels, AreaInPicture(form->Handle(), disabled), FontHandle(*disabled->Font()),
                               Rgb(clBtnShadow), "http://www.vortel.example/quillory/"));
}

}  // namespace
