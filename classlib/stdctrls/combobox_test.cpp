#include "classlib/stdctrls/combobox.h"

#include <gtest/gtest.h>

#include "classlib/stdctrls/edit.h"
#include "classlib/stdctrls/test_support.h"

namespace {

std::vector<std::string> WindowEntries(TCustomComboBox* combo) {
    std::vector<std::string> entries;
    int count = static_cast<int>(SendMessageA(combo->Handle(), CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        SendMessageA(combo->Handle(), CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        entries.push_back(text);
    }
    return entries;
}

std::vector<std::string> Entries(TStrings* items) {
    std::vector<std::string> entries;
    for (int i = 0; i < items->Count(); ++i) entries.push_back(items->Strings(i));
    return entries;
}

// A colour picker that fills its list whenever its window is made.
class TColorList : public TCustomComboBox {
public:
    explicit TColorList(TComponent* owner) : TCustomComboBox(owner) { SetStyle(csDropDownList); }
    int creations = 0;

protected:
    void CreateWnd() override {
        TCustomComboBox::CreateWnd();
        ++creations;
        Items()->Clear();
        for (int i = 0; i < 17; ++i) Items()->AddObject("Colour " + std::to_string(i), reinterpret_cast<TObject*>(i));
    }
};

TEST(ComboBox, ItemsWithoutAParentAreKeptUntilTheWindowComes) {
    auto* combo = New<TComboBox>(SharedForm());
    auto* items = combo->Items();
    items->Add("b");
    items->Add("c");
    items->Insert(0, "a");
    auto* tag = reinterpret_cast<TObject*>(0x1234);
    items->PutObject(1, tag);
    combo->SetItemIndex(2);
    EXPECT_EQ(combo->Text(), "c");
    items->Insert(0, "first");  // the selection moves along
    EXPECT_EQ(combo->ItemIndex(), 3);
    items->Delete(0);
    EXPECT_THROW(items->Strings(5), EListError);
    EXPECT_FALSE(combo->HandleAllocated());

    combo->SetParent(SharedForm());
    ASSERT_TRUE(combo->HandleAllocated());
    EXPECT_EQ(WindowEntries(combo), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(combo->ItemIndex(), 2);
    EXPECT_EQ(combo->Text(), "c");
    EXPECT_EQ(items->Objects(1), tag);
    combo->Free();
}

TEST(ComboBox, ItemsOnAFormNeverShownLiveInItsWindow) {
    auto form = MakeForm();
    auto* combo = AddControl<TComboBox>(form.get(), 10, 10, 120, 21);
    combo->Items()->SetCommaText("one,two,three");
    EXPECT_TRUE(combo->HandleAllocated());
    EXPECT_FALSE(form->Showing());
    EXPECT_EQ(WindowEntries(combo), (std::vector<std::string>{"one", "two", "three"}));
}

TEST(ComboBox, DescendantFillingTheListAtCreationWorksOnAFormNeverShown) {
    auto form = MakeForm();
    auto* colors = AddControl<TColorList>(form.get(), 10, 10, 120, 21);
    EXPECT_EQ(colors->Items()->Count(), 17);
    colors->SetItemIndex(3);
    EXPECT_EQ(colors->Text(), "Colour 3");
    EXPECT_EQ(colors->Items()->Objects(16), reinterpret_cast<TObject*>(16));
    // A new window is filled again, not twice.
    colors->SetSorted(true);
    EXPECT_EQ(colors->creations, 2);
    EXPECT_EQ(colors->Items()->Count(), 17);
}

TEST(ComboBox, SortedKeepsTheSelectedEntrySelected) {
    for (bool withWindow : {false, true}) {
        auto form = MakeForm();
        auto* combo = withWindow ? AddControl<TComboBox>(form.get(), 10, 10, 120, 21) : New<TComboBox>(form.get());
        combo->Items()->SetCommaText("pear,Apple,fig");
        combo->SetItemIndex(0);
        combo->SetSorted(true);
        EXPECT_EQ(Entries(combo->Items()), (std::vector<std::string>{"Apple", "fig", "pear"})) << withWindow;
        EXPECT_EQ(combo->ItemIndex(), 2) << withWindow;
        EXPECT_EQ(combo->Items()->Add("banana"), 1) << withWindow;
        EXPECT_EQ(combo->ItemIndex(), 3) << withWindow;
        if (!withWindow) combo->Free();
    }
}

TEST(ComboBox, ListStylesShowOnlyEntries) {
    auto form = MakeForm();
    auto* combo = New<TComboBox>(form.get());
    combo->SetStyle(csDropDownList);
    combo->Items()->SetCommaText("red,green");
    combo->SetText("GREEN");
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(combo->Text(), "green");
    combo->SetText("blue");
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(combo->Text(), "");
    combo->SetStyle(csDropDown);
    combo->SetText("typed");
    combo->SetStyle(csDropDownList);
    EXPECT_EQ(combo->Text(), "");
    combo->SetItemIndex(0);
    combo->Items()->Delete(0);
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(combo->Text(), "");
    combo->Free();
}

using ComboOnForm = SharedFormTest;

TEST_F(ComboOnForm, RecreateWndKeepsItemsSelectionAndText) {
    auto* combo = AddControl<TComboBox>(form, 10, 10, 120, 21);
    combo->Items()->SetCommaText("alpha,beta,gamma");
    combo->Items()->PutObject(2, reinterpret_cast<TObject*>(7));
    combo->SetItemIndex(1);
    combo->SetText("typed");
    HWND old = combo->Handle();
    combo->SetMaxLength(10);
    combo->SetStyle(csSimple);
    ASSERT_NE(combo->Handle(), old);
    EXPECT_EQ(WindowEntries(combo), (std::vector<std::string>{"alpha", "beta", "gamma"}));
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(combo->Text(), "typed");
    EXPECT_EQ(combo->Items()->Objects(2), reinterpret_cast<TObject*>(7));

    combo->SetStyle(csDropDownList);
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(combo->Text(), "beta");
    combo->Items()->Clear();
    EXPECT_EQ(combo->Items()->Count(), 0);
    EXPECT_EQ(combo->Text(), "");
}

TEST_F(ComboOnForm, UserSelectionClicksThenChangesCodeDoesNeither) {
    auto* combo = AddControl<TComboBox>(form, 10, 10, 120, 21);
    combo->SetStyle(csDropDownList);
    combo->Items()->SetCommaText("one,two,three");
    std::vector<std::string> events;
    combo->OnClick = [&](TObject*) { events.push_back("click " + combo->Text()); };
    combo->OnChange = [&](TObject*) { events.push_back("change " + combo->Text()); };
    combo->SetItemIndex(0);
    EXPECT_TRUE(events.empty());
    combo->SetFocus();
    DrainMessages();
    PressKey(VK_DOWN);
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(events, (std::vector<std::string>{"click two", "change two"}));
}

TEST_F(ComboOnForm, TypingInTheEditFieldChangesAndFocusesTheComboBox) {
    auto* edit = AddControl<TEdit>(form, 10, 60, 100, 21);
    auto* combo = AddControl<TComboBox>(form, 10, 10, 120, 21);
    combo->Items()->SetCommaText("one,two");
    int changes = 0, enters = 0;
    combo->OnChange = [&](TObject*) { ++changes; };
    combo->OnEnter = [&](TObject*) { ++enters; };
    edit->SetFocus();
    DrainMessages();
    ClickAt(combo, 20, 10);
    EXPECT_EQ(form->ActiveControl(), combo);
    EXPECT_EQ(enters, 1);
    TypeText("ab");
    EXPECT_EQ(combo->Text(), "ab");
    EXPECT_EQ(changes, 2);
    combo->SetText("from code");
    EXPECT_EQ(changes, 2);
}

TEST_F(ComboOnForm, DropDownCountSizesTheList) {
    auto* combo = AddControl<TComboBox>(form, 10, 10, 120, 21);
    for (int i = 0; i < 20; ++i) combo->Items()->Add("entry " + std::to_string(i));
    combo->SetDropDownCount(4);
    int dropDowns = 0;
    combo->OnDropDown = [&](TObject*) { ++dropDowns; };
    combo->SetDroppedDown(true);
    DrainMessages();
    EXPECT_EQ(dropDowns, 1);
    EXPECT_TRUE(combo->DroppedDown());
    RECT list{};
    SendMessageA(combo->Handle(), CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&list));
    int itemHeight = static_cast<int>(SendMessageA(combo->Handle(), CB_GETITEMHEIGHT, 0, 0));
    EXPECT_EQ(list.bottom - list.top, 4 * itemHeight + 2);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    GetComboBoxInfo(combo->Handle(), &info);
    RECT shown{};
    GetWindowRect(info.hwndList, &shown);
    EXPECT_EQ(shown.bottom - shown.top, 4 * itemHeight + 2);
    combo->SetDroppedDown(false);
    DrainMessages();
}

TEST_F(ComboOnForm, OwnerDrawnItemsAreMeasuredAtCreationAndDrawn) {
    auto* fixed = New<TComboBox>(form);
    fixed->SetStyle(csOwnerDrawFixed);
    fixed->SetItemHeight(24);
    fixed->Items()->SetCommaText("a,b");
    fixed->SetBounds(10, 10, 120, 30);
    fixed->SetParent(form);
    // The selection field holds an entry (the system may add a margin).
    EXPECT_GE(SendMessageA(fixed->Handle(), CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0), 24);
    EXPECT_EQ(SendMessageA(fixed->Handle(), CB_GETITEMHEIGHT, 0, 0), 24);
    EXPECT_GE(fixed->Height(), 26);

    auto* variable = New<TComboBox>(form);
    variable->SetStyle(csOwnerDrawVariable);
    std::vector<int> measured;
    variable->OnMeasureItem = [&](TWinControl*, int index, int& height) {
        measured.push_back(index);
        if (index >= 0) height = 10 + 5 * index;
    };
    variable->Items()->SetCommaText("x,y,z");
    variable->SetBounds(10, 60, 120, 30);
    variable->SetParent(form);
    EXPECT_NE(std::find(measured.begin(), measured.end(), 2), measured.end());
    EXPECT_EQ(SendMessageA(variable->Handle(), CB_GETITEMHEIGHT, 2, 0), 20);
    variable->Items()->Add("w");
    EXPECT_EQ(SendMessageA(variable->Handle(), CB_GETITEMHEIGHT, 3, 0), 25);

    // The closed combo box draws its selected entry through DrawItem, with
    // the selection colours set for focused lists.
    std::vector<std::string> drawn;
    fixed->OnDrawItem = [&](TWinControl*, int index, TRect rect, TOwnerDrawState state) {
        TCanvas* canvas = fixed->Canvas();
        drawn.push_back(std::to_string(index) + (state.Contains(odSelected) ? " selected" : ""));
        if (state.Contains(odSelected)) {
            EXPECT_EQ(canvas->Brush().Color(), clHighlight);
        }
        canvas->Brush().SetColor(clLime);
        canvas->FillRect(rect);
    };
    fixed->SetItemIndex(1);
    fixed->SetFocus();
    DrainMessages();
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.back(), "1 selected");
    TWindowPixels pixels(fixed->Handle());
    EXPECT_EQ(pixels.At(12, 12), Rgb(clLime));
}

TEST_F(ComboOnForm, ColoursReachTheEditField) {
    auto* combo = AddControl<TComboBox>(form, 10, 10, 120, 21);
    combo->SetColor(clYellow);
    combo->SetText("  ");
    DrainMessages();
    HWND edit = FindWindowExA(combo->Handle(), nullptr, "Edit", nullptr);
    ASSERT_NE(edit, nullptr);
    TWindowPixels pixels(edit);
    EXPECT_EQ(pixels.At(pixels.Width() - 2, pixels.Height() / 2), Rgb(clYellow));
}

}  // namespace
