#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/gui/control.h"
#include "classlib/gui/forms.h"
#include "classlib/gui/graphic_control.h"
#include "classlib/gui/menus.h"
#include "classlib/testing/recording_popup_menu.h"
#include "classlib/gui/wincontrol.h"
#include "classlib/testing/gui_testing.h"

namespace {

// A form with a windowless source at the left, a windowless target and a
// windowed target (a scroll box) at the right; every drag event is noted.
class DragTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = MakeOwned<TForm>(nullptr);
        form->SetBounds(60, 60, 320, 200);
        source = New<TGraphicControl>(form.get());
        source->SetParent(form.get());
        source->SetBounds(10, 10, 60, 30);
        target = New<TGraphicControl>(form.get());
        target->SetParent(form.get());
        target->SetBounds(150, 10, 60, 30);
        box = New<TScrollBox>(form.get());
        box->SetParent(form.get());
        box->SetBounds(150, 80, 100, 60);
        form->Show();
        PumpUntil([&] { return form->Showing(); });

        source->OnStartDrag = [&](TObject* sender, TDragObject*& object) {
            Note("start " + Name(sender));
            object = dragObject;
        };
        source->OnEndDrag = [&](TObject* sender, TObject* to, int x, int y) {
            Note("end " + Name(sender) + " " + Name(to) + At(x, y));
        };
        for (TControl* c : {static_cast<TControl*>(target), static_cast<TControl*>(box)}) {
            c->OnDragOver = [&, c](TObject* sender, TObject* from, int x, int y, TDragState state, bool& accept) {
                EXPECT_TRUE(accept) << "a control with OnDragOver accepts unless told otherwise";
                static const char* const states[] = {"enter", "leave", "move"};
                Note(std::string(states[state]) + " " + Name(sender) + " " + Name(from) + At(x, y));
                accept = accepting;
            };
            c->OnDragDrop = [&](TObject* sender, TObject* from, int x, int y) {
                Note("drop " + Name(sender) + " " + Name(from) + At(x, y));
            };
        }
    }

    // Real cursor moves may repeat a step: repeats are noted once.
    void Note(const std::string& text) {
        if (notes.empty() || notes.back() != text) notes.push_back(text);
    }
    std::string Name(TObject* o) const {
        if (!o) return "nil";
        if (o == source) return "source";
        if (o == target) return "target";
        if (o == box) return "box";
        if (o == dragObject) return "object";
        return "other";
    }
    static std::string At(int x, int y) { return " " + std::to_string(x) + "," + std::to_string(y); }
    // A client point of `from` in the client coordinates of `to`.
    static std::string Seen(TControl* to, TControl* from, int x, int y) {
        const TPoint p = to->ScreenToClient(from->ClientToScreen(Point(x, y)));
        return At(p.x, p.y);
    }

    TOwned<TForm> form;
    TGraphicControl* source = nullptr;
    TGraphicControl* target = nullptr;
    TScrollBox* box = nullptr;
    TDragObject* dragObject = nullptr;
    bool accepting = true;
    std::vector<std::string> notes;
};

using Notes = std::vector<std::string>;

TEST_F(DragTest, AManualDragAsksTheControlsPassedAndDropsOnTheAcceptingOne) {
    source->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { source->BeginDrag(true); };
    MouseDownAt(source, 5, 5);
    EXPECT_TRUE(source->Dragging());
    EXPECT_EQ(TControl::DragSource(), source);
    MouseMoveAt(target, 4, 6);
    MouseMoveAt(target, 5, 6);
    MouseMoveAt(box, 20, 30);
    MouseUpAt(box, 21, 31);
    EXPECT_EQ(notes, (Notes{"start source", "enter target source 4,6", "move target source 4,6",
                            "move target source 5,6", "leave target source" + Seen(target, box, 20, 30),
                            "enter box source 20,30", "move box source 20,30", "drop box source 21,31",
                            "end source box 21,31"}));
    EXPECT_FALSE(source->Dragging());
    EXPECT_EQ(TControl::DragSource(), nullptr);
    EXPECT_EQ(GetCapture(), nullptr) << "the mouse is free again";
}

TEST_F(DragTest, ARefusedDropLeavesTheTargetAndEndsWithoutOne) {
    accepting = false;
    source->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { source->BeginDrag(true); };
    MouseDownAt(source, 5, 5);
    MouseMoveAt(target, 10, 10);
    MouseUpAt(target, 10, 10);
    EXPECT_EQ(notes, (Notes{"start source", "enter target source 10,10", "move target source 10,10",
                            "leave target source 10,10", "end source nil 150,10"}));
    // Controls without OnDragOver refuse: the form under the cursor.
    notes.clear();
    MouseDownAt(source, 5, 5);
    MouseMoveAt(form.get(), 100, 150);
    MouseUpAt(form.get(), 100, 150);
    EXPECT_EQ(notes, (Notes{"start source", "end source nil 90,140"}));
}

TEST_F(DragTest, AnAutomaticDragStartsAtThePressAndMovesPastTheThreshold) {
    source->SetDragMode(dmAutomatic);
    int downs = 0, clicks = 0;
    source->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
    source->OnClick = [&](TObject*) { ++clicks; };
    dragObject = New<TDragObject>();
    TOwned<TDragObject> ownObject(dragObject);
    MouseDownAt(source, 5, 5);
    EXPECT_EQ(downs, 0) << "the press belongs to the drag";
    const int threshold = GetSystemMetrics(SM_CXDRAG);
    MouseMoveAt(source, 5 + threshold - 1, 5);
    EXPECT_EQ(notes, Notes{"start source"}) << "not past the threshold";
    MouseMoveAt(target, 1, 2);
    MouseUpAt(target, 1, 2);
    EXPECT_EQ(notes, (Notes{"start source", "enter target object 1,2", "move target object 1,2",
                            "drop target object 1,2", "end source target 1,2"}));
    // A press and release in place is no drop and no click.
    notes.clear();
    MouseDownAt(source, 5, 5);
    MouseUpAt(source, 6, 5);
    EXPECT_EQ(notes, (Notes{"start source", "end source nil 6,5"}));
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(downs, 0);
}

TEST_F(DragTest, EndDragDropsOrCancelsAndAFreedTargetIsForgotten) {
    MoveMouseTo(source, 5, 5);
    source->BeginDrag(true);
    MouseMoveAt(target, 3, 3);
    target->Free();
    target = nullptr;
    MouseMoveAt(box, 3, 3);
    EXPECT_EQ(notes.back(), "move box source 3,3");
    MouseMoveAt(box, 4, 4);
    source->EndDrag(true);
    EXPECT_EQ(notes.back(), "end source box 4,4");
    EXPECT_EQ(notes[notes.size() - 2], "drop box source 4,4");

    notes.clear();
    source->BeginDrag(true);
    MouseMoveAt(box, 5, 5);
    source->EndDrag(false);
    EXPECT_EQ(notes[0], "start source");
    EXPECT_EQ(notes[1], "enter box source 4,4") << "an immediate drag asks at once";
    EXPECT_EQ(notes[notes.size() - 2], "leave box source 5,5") << "where the cursor is";
    EXPECT_EQ(notes.back(), "end source nil" + Seen(source, box, 5, 5));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(DragTest, AFreedSourceEndsItsDrag) {
    MoveMouseTo(source, 5, 5);
    source->BeginDrag(true);
    source->Free();
    source = nullptr;
    EXPECT_EQ(TControl::DragSource(), nullptr);
    EXPECT_EQ(GetCapture(), nullptr);
    MouseMoveAt(box, 5, 5);
    EXPECT_EQ(notes, Notes{"start source"});
}

TEST(ContextPopup, TheEventSeesTheClientPointAndCanKeepTheMenuClosed) {
    auto form = MakeOwned<TForm>(nullptr);
    form->SetBounds(40, 40, 200, 150);
    auto* label = New<TGraphicControl>(form.get());
    label->SetParent(form.get());
    label->SetBounds(10, 10, 50, 20);
    auto menu = MakeOwned<TRecordingPopupMenu>(nullptr);
    label->SetPopupMenu(menu.get());
    std::vector<TPoint> asked;
    bool handle = true;
    label->OnContextPopup = [&](TObject* sender, TPoint at, bool& handled) {
        EXPECT_EQ(sender, label);
        asked.push_back(at);
        handled = handle;
    };
    const TPoint onLabel = label->ClientToScreen(Point(5, 6));
    SendMessageA(form->Handle(), WM_CONTEXTMENU, 0, MAKELPARAM(onLabel.x, onLabel.y));
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], Point(5, 6));
    EXPECT_TRUE(menu->shown.empty());
    handle = false;
    SendMessageA(form->Handle(), WM_CONTEXTMENU, 0, MAKELPARAM(onLabel.x, onLabel.y));
    EXPECT_EQ(menu->shown.size(), 1u);
    // A right click on the windowless control: the form's window turns the
    // release into the request.
    const TPoint inForm = form->ScreenToClient(label->ClientToScreen(Point(7, 8)));
    SendMessageA(form->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(inForm.x, inForm.y));
    SendMessageA(form->Handle(), WM_RBUTTONUP, 0, MAKELPARAM(inForm.x, inForm.y));
    ASSERT_EQ(menu->shown.size(), 2u);
    EXPECT_EQ(menu->shown[1], label->ClientToScreen(Point(7, 8)));
    asked.pop_back();
    SendMessageA(form->Handle(), WM_CONTEXTMENU, 0, MAKELPARAM(-1, -1));
    EXPECT_EQ(asked.size(), 2u) << "the keyboard's request goes to the form";
}

}  // namespace
