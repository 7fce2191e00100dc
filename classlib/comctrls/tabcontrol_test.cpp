#include "classlib/comctrls/tabcontrol.h"

#include <gtest/gtest.h>

#include "classlib/comctrls/comctrls_test_support.h"
#include "classlib/core/filer.h"
#include "classlib/gui/graphic_control.h"
#include "classlib/testing/sent_message_counter.h"

namespace {

// A child that fills itself with its colour.
class TPatch : public TCustomControl {
public:
    explicit TPatch(TComponent* owner) : TCustomControl(owner) {
        SetParentColor(false);
        SetColor(clYellow);
    }

protected:
    void Paint() override {
        Canvas()->Brush().SetColor(Color());
        Canvas()->FillRect(ClientRect());
    }
};

TTabControl* AddTabs(TForm* form) {
    auto* tabs = new TTabControl(form);
    tabs->SetName("Tabs1");
    tabs->SetParent(form);
    tabs->SetBounds(10, 10, 300, 200);
    return tabs;
}

std::string WindowTabText(TTabControl* tabs, int index) {
    char text[100] = {};
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(tabs->Handle(), TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    return text;
}

TRect WindowDisplayRect(TTabControl* tabs) {
    RECT r;
    GetClientRect(tabs->Handle(), &r);
    SendMessageA(tabs->Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    return r;
}

TEST(TabControl, TabsAndIndexLiveWithoutAWindowAndPassIntoIt) {
    auto form = MakeTestForm();
    TTabControl* tabs = AddTabs(form.get());
    EXPECT_EQ(tabs->TabIndex(), -1);
    tabs->Tabs()->Add("One");
    EXPECT_EQ(tabs->TabIndex(), 0);  // the first tab is selected
    tabs->Tabs()->Add("Two");
    tabs->Tabs()->Add("Three");
    tabs->Tabs()->Insert(0, "Zero");
    EXPECT_EQ(tabs->TabIndex(), 1);  // "One" keeps its selection
    tabs->SetTabIndex(3);
    tabs->SetTabIndex(7);  // outside: ignored
    EXPECT_EQ(tabs->TabIndex(), 3);
    tabs->Tabs()->Delete(3);  // the selected one: the last left takes over
    EXPECT_EQ(tabs->TabIndex(), 2);
    tabs->Tabs()->Put(2, "Zwei");
    EXPECT_EQ(tabs->Tabs()->Text(), "Zero\r\nOne\r\nZwei\r\n");
    EXPECT_FALSE(tabs->HandleAllocated());

    ShowAndPump(form.get());
    HWND window = tabs->Handle();
    EXPECT_EQ(SendMessageA(window, TCM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(WindowTabText(tabs, 2), "Zwei");
    EXPECT_EQ(SendMessageA(window, TCM_GETCURSEL, 0, 0), 2);
    tabs->Tabs()->Delete(0);
    EXPECT_EQ(SendMessageA(window, TCM_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(WindowTabText(tabs, 0), "One");
    tabs->Tabs()->Clear();
    EXPECT_EQ(tabs->TabIndex(), -1);
    EXPECT_EQ(SendMessageA(window, TCM_GETITEMCOUNT, 0, 0), 0);
}

int WindowTabImage(TTabControl* tabs, int index) {
    TCITEMA item{};
    item.mask = TCIF_IMAGE;
    SendMessageA(tabs->Handle(), TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    return item.iImage;
}

TEST(TabControl, OnlyTabsThatMoveAreSentAgainAndAnUpdateSendsThemOnce) {
    auto form = MakeTestForm();
    TTabControl* tabs = AddTabs(form.get());
    ShowAndPump(form.get());
    TSentMessageCounter counter(tabs->Handle(), TCM_SETITEMA, TCM_SETITEMA);
    for (int i = 0; i < 50; ++i) tabs->Tabs()->Add("Tab " + std::to_string(i));
    EXPECT_EQ(counter.Count(), 0);  // appended: no other tab moved
    tabs->Tabs()->Insert(40, "Before the last ten");
    EXPECT_EQ(counter.Count(), 10);

    // In an update every tab is sent at most once, at its end.
    tabs->Tabs()->BeginUpdate();
    for (int i = 0; i < 50; ++i) tabs->Tabs()->Insert(0, "Front " + std::to_string(i));
    tabs->Tabs()->Delete(0);
    EXPECT_EQ(counter.Count(), 10);
    tabs->Tabs()->EndUpdate();
    int count = tabs->Tabs()->Count();
    EXPECT_EQ(count, 100);
    EXPECT_LE(counter.Count(), 10 + count);
    for (int i = 0; i < count; ++i) EXPECT_EQ(WindowTabImage(tabs, i), i);
    EXPECT_EQ(WindowTabText(tabs, 0), "Front 48");
    EXPECT_EQ(SendMessageA(tabs->Handle(), TCM_GETCURSEL, 0, 0), tabs->TabIndex());
    EXPECT_EQ(WindowTabText(tabs, tabs->TabIndex()), "Tab 0");
}

// Tabs whose picture goes by their object: a flagged tab shows picture 7.
class TFlaggedTabs : public TTabControl {
public:
    using TTabControl::TTabControl;
    TObject Flag;

protected:
    int GetImageIndex(int tabIndex) override { return Tabs()->Objects(tabIndex) == &Flag ? 7 : tabIndex; }
};

TEST(TabControl, AnObjectPutOnATabSendsItsPictureAgain) {
    auto form = MakeTestForm();
    auto* tabs = new TFlaggedTabs(form.get());
    tabs->SetParent(form.get());
    tabs->Tabs()->Add("One");
    tabs->Tabs()->Add("Two");
    ShowAndPump(form.get());
    tabs->Tabs()->PutObject(1, &tabs->Flag);
    EXPECT_EQ(WindowTabImage(tabs, 0), 0);
    EXPECT_EQ(WindowTabImage(tabs, 1), 7);
    tabs->Tabs()->PutObject(1, nullptr);
    EXPECT_EQ(WindowTabImage(tabs, 1), 1);
}

TEST(TabControl, AFormNotShownMakesNoWindowToPlaceChildrenAndPlacesThemWhenShown) {
    auto form = MakeTestForm();
    TTabControl* tabs = AddTabs(form.get());
    tabs->Tabs()->SetCommaText("Alpha,Beta");
    auto* child = new TPatch(form.get());
    child->SetParent(tabs);
    child->SetAlign(alClient);
    EXPECT_FALSE(form->HandleAllocated());
    EXPECT_FALSE(tabs->HandleAllocated());

    ShowAndPump(form.get());
    EXPECT_EQ(child->BoundsRect(), WindowDisplayRect(tabs));
    TRect shown = child->BoundsRect();
    EXPECT_GT(shown.top, 0);  // below the tabs

    // A form that has its window already places them at once, shown or not.
    auto other = MakeTestForm();
    other->HandleNeeded();
    TTabControl* otherTabs = AddTabs(other.get());
    otherTabs->Tabs()->SetCommaText("Alpha,Beta");
    auto* otherChild = new TPatch(other.get());
    otherChild->SetParent(otherTabs);
    otherChild->SetAlign(alClient);
    EXPECT_TRUE(otherTabs->HandleAllocated());
    EXPECT_EQ(otherChild->BoundsRect(), shown);
}

TEST(TabControl, StyleChangeMakesANewWindowKeepingTabsIndexAndChildPlace) {
    auto form = MakeTestForm();
    TTabControl* tabs = AddTabs(form.get());
    tabs->Tabs()->SetCommaText("Alpha,Beta,Gamma");
    tabs->SetTabIndex(1);
    auto* child = new TPatch(form.get());
    child->SetParent(tabs);
    child->SetAlign(alClient);
    ShowAndPump(form.get());
    EXPECT_EQ(child->BoundsRect(), WindowDisplayRect(tabs));

    tabs->SetStyle(tsFlatButtons);
    DrainMessages();
    LONG style = GetWindowLongA(tabs->Handle(), GWL_STYLE);
    EXPECT_EQ(style & (TCS_BUTTONS | TCS_FLATBUTTONS), TCS_BUTTONS | TCS_FLATBUTTONS);
    EXPECT_EQ(SendMessageA(tabs->Handle(), TCM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(WindowTabText(tabs, 2), "Gamma");
    EXPECT_EQ(SendMessageA(tabs->Handle(), TCM_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(tabs->TabIndex(), 1);
    EXPECT_TRUE(child->HandleAllocated());
    EXPECT_EQ(child->BoundsRect(), WindowDisplayRect(tabs));

    tabs->SetStyle(tsTabs);
    DrainMessages();
    EXPECT_EQ(GetWindowLongA(tabs->Handle(), GWL_STYLE) & TCS_BUTTONS, 0);
    EXPECT_EQ(child->BoundsRect(), WindowDisplayRect(tabs));
}

TEST(TabControl, ClientChildFollowsTheDisplayAreaAsTabsWrap) {
    auto form = MakeTestForm();
    TTabControl* tabs = AddTabs(form.get());
    tabs->SetMultiLine(true);
    tabs->Tabs()->Add("First");
    auto* child = new TPatch(form.get());
    child->SetParent(tabs);
    child->SetAlign(alClient);
    ShowAndPump(form.get());
    TRect oneRow = child->BoundsRect();
    EXPECT_EQ(oneRow, WindowDisplayRect(tabs));

    for (int i = 0; i < 12; ++i) tabs->Tabs()->Add("A rather long tab " + std::to_string(i));
    DrainMessages();
    EXPECT_GT(SendMessageA(tabs->Handle(), TCM_GETROWCOUNT, 0, 0), 1);
    EXPECT_EQ(child->BoundsRect(), WindowDisplayRect(tabs));
    EXPECT_GT(child->Top(), oneRow.top);

    // Back to one row when they go.
    while (tabs->Tabs()->Count() > 1) tabs->Tabs()->Delete(1);
    DrainMessages();
    EXPECT_EQ(child->BoundsRect(), oneRow);

    // The child is drawn in that area.
    TWindowPixels pixels(tabs->Handle());
    TPoint inside = Centre(child->BoundsRect());
    EXPECT_EQ(pixels.At(inside.x, inside.y), RGB(255, 255, 0));
}

TEST(TabControl, ClickChangesTheTabWithOnChangingAndOnChange) {
    auto form = MakeTestForm();
    TTabControl* tabs = AddTabs(form.get());
    tabs->Tabs()->SetCommaText("One,Two,Three");
    ShowAndPump(form.get());

    std::vector<std::string> events;
    bool allow = true;
    tabs->OnChanging = [&](TObject*, bool& allowChange) {
        events.push_back("changing " + std::to_string(tabs->TabIndex()));
        allowChange = allow;
    };
    tabs->OnChange = [&](TObject*) { events.push_back("change " + std::to_string(tabs->TabIndex())); };

    tabs->SetTabIndex(1);  // from code: no events
    EXPECT_TRUE(events.empty());

    TPoint at = Centre(tabs->TabRect(2));
    EXPECT_EQ(tabs->IndexOfTabAt(at.x, at.y), 2);
    ClickAt(tabs, at.x, at.y);
    EXPECT_EQ(events, (std::vector<std::string>{"changing 1", "change 2"}));
    EXPECT_EQ(tabs->TabIndex(), 2);

    allow = false;
    at = Centre(tabs->TabRect(0));
    ClickAt(tabs, at.x, at.y);
    EXPECT_EQ(events.size(), 3u);
    EXPECT_EQ(tabs->TabIndex(), 2);
    EXPECT_EQ(SendMessageA(tabs->Handle(), TCM_GETCURSEL, 0, 0), 2);
}

TEST(TabControl, TabsAndIndexTravelThroughALayout) {
    auto form = MakeTestForm();
    form->SetName("Form1");
    TTabControl* tabs = AddTabs(form.get());
    tabs->Tabs()->SetCommaText("One,Two");
    tabs->SetTabIndex(1);
    tabs->SetStyle(tsButtons);
    std::string text = WriteComponentToText(form.get());
    EXPECT_NE(text.find("Tabs.Strings = ("), std::string::npos);
    EXPECT_NE(text.find("TabIndex = 1"), std::string::npos);

    auto copy = MakeTestForm();
    ReadComponentFromText(copy.get(), text);
    auto* read = dynamic_cast<TTabControl*>(copy->FindComponent("Tabs1"));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->Tabs()->CommaText(), "One,Two");
    EXPECT_EQ(read->TabIndex(), 1);
    EXPECT_EQ(read->Style(), tsButtons);
}

}  // namespace
