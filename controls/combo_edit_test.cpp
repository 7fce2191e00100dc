#include "controls/combo_edit.h"

#include <gtest/gtest.h>

#include "classlib/gui/graphics_objects.h"
#include "classlib/gui/scoped_win32.h"
#include "classlib/stdctrls/button.h"
#include "classlib/stdctrls/test_support.h"
#include "controls/bitmap_test_support.h"

namespace {

struct ComboEditOnForm : SharedFormTest {
    TCustomComboEdit* box = nullptr;
    int buttonClicks = 0;

    void SetUp() override {
        box = AddControl<TCustomComboEdit>(form, 10, 10, 180, 21);
        box->OnButtonClick = [this](TObject* sender) { buttonClicks += sender == box; };
        box->SetFocus();
        DrainMessages();
    }
    // What the window shows, whatever Text keeps.
    std::string WindowText() {
        char text[256] = {};
        GetWindowTextA(box->Handle(), text, sizeof text);
        return text;
    }
};

TEST(ComboEdit, AFreshBoxCarriesItsButtonAtTheRightEdge) {
    auto form = MakeForm();
    auto* box = AddControl<TCustomComboEdit>(form.get(), 10, 10, 180, 21);
    EXPECT_EQ(box->Height(), 21);
    EXPECT_EQ(box->ClickKey(), 0x8028);
    EXPECT_EQ(box->ButtonWidth(), 21);
    EXPECT_EQ(box->GlyphKind(), gkCustom);
    EXPECT_TRUE(box->DirectInput());
    EXPECT_TRUE(box->ControlStyle().Contains(csCaptureMouse));
    EXPECT_TRUE(box->Button()->ControlStyle().Contains(csReplicatable));
    EXPECT_TRUE(box->Button()->ParentShowHint());
    EXPECT_EQ(box->Button()->Parent(), box->ButtonHolder());

    const DWORD style = static_cast<DWORD>(GetWindowLongA(box->Handle(), GWL_STYLE));
    EXPECT_TRUE(style & ES_MULTILINE);
    EXPECT_TRUE(style & WS_CLIPCHILDREN);
    // The holder fills the client area's right end; the text stops short
    // of it.
    const int clientHeight = box->ClientHeight();
    EXPECT_EQ(box->ButtonHolder()->BoundsRect(), Bounds(180 - 21 - 4, 0, 21, 21 - 4));
    EXPECT_EQ(box->Button()->Height(), 17);
    RECT rect{};
    SendMessageA(box->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&rect));
    // The text ends before the button (the edit keeps its own margin).
    const int rightMargin = HIWORD(SendMessageA(box->Handle(), EM_GETMARGINS, 0, 0));
    const int holderLeft = box->ButtonHolder()->Left();
    EXPECT_LE(rect.right, holderLeft - 2);
    EXPECT_GE(rect.right, holderLeft - 2 - rightMargin - 1);
    EXPECT_LE(rect.bottom, clientHeight + 1);

    // Below the least height the box snaps back.
    TEXTMETRICA system{}, own{};
    {
        TWindowDC screen(nullptr);
        TSelectedObject font(screen, GetStockObject(SYSTEM_FONT));
        GetTextMetricsA(screen, &system);
        TSelectedObject boxFont(screen, FontHandle(*box->Font()));
        GetTextMetricsA(screen, &own);
    }
    const int minimum = std::min(system.tmHeight, own.tmHeight) + 4 * GetSystemMetrics(SM_CYBORDER) + 1;
    EXPECT_EQ(box->MinHeight(), minimum);
    box->SetHeight(5);
    EXPECT_EQ(box->Height(), minimum);
}

TEST_F(ComboEditOnForm, AltDownRunsTheButtonActionAndIsConsumed) {
    int keyDowns = 0;
    form->SetKeyPreview(false);
    PressChord(VK_MENU, VK_DOWN);
    EXPECT_EQ(buttonClicks, 1);
    // Another key with Alt is not the click key.
    box->OnKeyDown = [&](TObject*, WORD& key, TShiftState) { keyDowns += key == VK_UP; };
    PressChord(VK_MENU, VK_UP);
    EXPECT_EQ(keyDowns, 1);
    EXPECT_EQ(buttonClicks, 1);
    // A box without a button has no click key.
    box->SetButtonWidth(0);
    EXPECT_FALSE(box->ButtonHolder()->Visible());
    box->SetFocus();
    DrainMessages();
    PressChord(VK_MENU, VK_DOWN);
    EXPECT_EQ(buttonClicks, 1);
}

TEST_F(ComboEditOnForm, ReadOnlyBoxesIgnoreTheButtonAndTheClickKey) {
    box->SetReadOnly(true);
    ClickAt(box->Button(), 8, 8);
    PressChord(VK_MENU, VK_DOWN);
    EXPECT_EQ(buttonClicks, 0);
    box->SetAlwaysEnable(true);
    ClickAt(box->Button(), 8, 8);
    EXPECT_EQ(buttonClicks, 1);
    box->SetAlwaysEnable(false);
    box->SetReadOnly(false);
    ClickAt(box->Button(), 8, 8);
    EXPECT_EQ(buttonClicks, 2);
    EXPECT_TRUE(box->Focused());  // the press moved the focus into the box
}

TEST_F(ComboEditOnForm, WithoutDirectInputOnlyTheButtonChangesTheText) {
    box->SetDirectInput(false);
    box->SetText("kept");
    box->OnButtonClick = [this](TObject*) { box->SetText("chosen"); };
    box->SetSelStart(4);
    TypeText("ab");
    EXPECT_EQ(WindowText(), "kept");
    {
        TOpenClipboard clipboard(nullptr);
        EmptyClipboard();
        TGlobalMemory data(GlobalAlloc(GMEM_MOVEABLE, 6));
        memcpy(TGlobalLock<>(data.Get()).Get(), "paste", 6);
        if (SetClipboardData(CF_TEXT, data.Get())) data.Release();
    }
    box->Perform(WM_PASTE);
    box->SelectAll();
    box->Perform(WM_CUT);
    EXPECT_EQ(WindowText(), "kept");
    PressChord(VK_MENU, VK_DOWN);
    EXPECT_EQ(box->Text(), "chosen");

    box->SetDirectInput(true);
    box->SetSelStart(6);
    box->Perform(WM_PASTE);
    EXPECT_EQ(WindowText(), "chosenpaste");
}

TEST_F(ComboEditOnForm, EnterAndEscapeReachTheFormsButtonsWithoutALineBreak) {
    auto* ok = AddControl<TButton>(form, 10, 200, 75, 25);
    auto* cancel = AddControl<TButton>(form, 100, 200, 75, 25);
    ok->HandleNeeded();  // the default button works out it is the active one
    ok->SetDefault(true);
    cancel->SetCancel(true);
    std::vector<std::string> clicks;
    ok->OnClick = [&](TObject*) { clicks.push_back("ok"); };
    cancel->OnClick = [&](TObject*) { clicks.push_back("cancel"); };
    box->SetText("name");
    box->SetFocus();
    box->SetSelStart(4);
    DrainMessages();
    PressKey(VK_RETURN);
    PressKey(VK_ESCAPE);
    EXPECT_EQ(clicks, (std::vector<std::string>{"ok", "cancel"}));
    EXPECT_EQ(WindowText(), "name");
    EXPECT_EQ(SendMessageA(box->Handle(), EM_GETLINECOUNT, 0, 0), 1);
}

TEST(ComboEditAlone, EnterInABoxWithoutAFormIsKeptOutOfTheText) {
    TOwned<TCustomComboEdit> box(New<TCustomComboEdit>(nullptr));
    TOwnedWindow host(CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 200, 40, nullptr, nullptr, nullptr, nullptr));
    box->SetParentWindow(host.Get());
    box->SetBounds(0, 0, 180, 21);
    box->SetText("alone");
    // As typed keys arrive: through the message loop.
    PostMessageA(box->Handle(), WM_CHAR, '\r', 0);
    PostMessageA(box->Handle(), WM_CHAR, '\x1B', 0);
    DrainMessages();
    EXPECT_EQ(box->Text(), "alone");
    box.reset();
}

TEST(ComboEditGlyphs, KindsGiveTheirPicturesAndStoredRules) {
    auto form = MakeForm();
    auto* box = AddControl<TCustomComboEdit>(form.get(), 10, 10, 180, 21);
    const TPropInfo* width = TCustomComboEdit::StaticClass().FindDefinition("ButtonWidth");
    const TPropInfo* glyph = TCustomComboEdit::StaticClass().FindDefinition("Glyph");
    EXPECT_FALSE(width->IsStored(*box));
    box->SetButtonWidth(25);
    EXPECT_TRUE(width->IsStored(*box));
    box->SetButtonWidth(21);

    box->SetGlyphKind(gkEllipsis);
    TBitmap* dots = box->Glyph();
    ASSERT_EQ(dots->Width(), 15);
    ASSERT_EQ(dots->Height(), 4);
    // Gap 3: dots at x 1, 6 and 11 on row 1 and 2.
    std::string row;
    for (int x = 0; x < 15; ++x) row += At(*dots, x, 1) == Pixel(clBlack) ? '#' : '.';
    EXPECT_EQ(row, ".##...##...##..");
    EXPECT_NE(At(*dots, 1, 0), Pixel(clBlack));
    EXPECT_EQ(At(*dots, 1, 2), Pixel(clBlack));
    EXPECT_FALSE(glyph->IsStored(*box));

    box->SetGlyphKind(gkDropDown);
    EXPECT_EQ(box->ButtonWidth(), GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_FALSE(box->Glyph()->Empty());
    EXPECT_FALSE(width->IsStored(*box));

    auto picture = FilledBitmap(32, 16, clRed);
    box->SetGlyph(picture.get());
    EXPECT_EQ(box->GlyphKind(), gkCustom);
    EXPECT_TRUE(glyph->IsStored(*box));
    box->SetNumGlyphs(2);
    EXPECT_EQ(box->NumGlyphs(), 2);
}

// The seam painted beside the text, unless the button is pressed.
TEST_F(ComboEditOnForm, TheButtonDrawsItsSeamWhenUp) {
    box->Button()->Repaint();
    TWindowPixels pixels(box->ButtonHolder()->Handle());
    EXPECT_EQ(pixels.At(1, 5), Rgb(clBtnHighlight));
    EXPECT_EQ(pixels.At(0, 5), Rgb(clBtnFace));
}

}  // namespace

namespace {

// A popup that keeps its value and counts how it is asked.
class TValuePopup : public TComboEditPopup {
public:
    explicit TValuePopup(TComponent* owner) : TComboEditPopup(owner) {}
    TPopupValue Value() override { return value; }
    void SetValue(const TPopupValue& v) override {
        value = v;
        ++sets;
    }
    TPopupValue value;
    int sets = 0;
};

TEST_F(ComboEditOnForm, APopupDropsDownWithTheTextAndEnterTakesItsValue) {
    auto* popup = New<TValuePopup>(form);
    popup->SetParent(form);
    popup->SetBounds(0, 0, 120, 80);
    popup->SetVisible(false);
    box->SetPopup(popup);
    box->SetText("");
    PressChord(VK_MENU, VK_DOWN);
    ASSERT_TRUE(box->PopupVisible());
    EXPECT_TRUE(popup->Visible());
    EXPECT_FALSE(popup->value.has_value());  // an empty box gives no value
    EXPECT_EQ(GetWindowLongA(box->Handle(), GWL_STYLE) & ES_READONLY, ES_READONLY);
    EXPECT_EQ(buttonClicks, 1);

    popup->value = "picked";
    int changes = 0;
    box->OnChange = [&](TObject*) { ++changes; };
    PressKey(VK_RETURN);
    EXPECT_FALSE(box->PopupVisible());
    EXPECT_FALSE(popup->Visible());
    EXPECT_EQ(box->Text(), "picked");
    EXPECT_TRUE(box->Modified());
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(GetWindowLongA(box->Handle(), GWL_STYLE) & ES_READONLY, 0);

    // Escape closes without taking the value.
    PressChord(VK_MENU, VK_DOWN);
    EXPECT_EQ(popup->value, TPopupValue("picked"));
    popup->value = "dropped";
    PressKey(VK_ESCAPE);
    EXPECT_FALSE(box->PopupVisible());
    EXPECT_EQ(box->Text(), "picked");

    // A click into the box closes it without taking the value too.
    PressChord(VK_MENU, VK_DOWN);
    ASSERT_TRUE(box->PopupVisible());
    popup->value = "clicked away";
    ClickAt(box, 5, 5);
    EXPECT_FALSE(box->PopupVisible());
    EXPECT_EQ(box->Text(), "picked");

    // A freed popup leaves the box.
    popup->Free();
    EXPECT_EQ(box->Popup(), nullptr);
}

}  // namespace
