#include "classlib/stdctrls/splitter.h"

#include <gtest/gtest.h>

#include "classlib/stdctrls/panel.h"
#include "classlib/stdctrls/test_support.h"

namespace {

void Drag(TControl* control, TPoint from, TPoint to) {
    MoveMouseTo(control, from.x, from.y);
    MouseButton(true);
    TPoint mid = Point((from.x + to.x) / 2, (from.y + to.y) / 2);
    MoveMouseTo(control, mid.x, mid.y);
    MoveMouseTo(control, to.x, to.y);
    MouseButton(false);
}

using SplitterOnForm = SharedFormTest;

TEST_F(SplitterOnForm, DraggingResizesTheControlOnItsSide) {
    auto* left = AddControl<TPanel>(form, 0, 0, 100, 100);
    left->SetAlign(alLeft);
    auto* splitter = AddControl<TSplitter>(form, 100, 0, 4, 100);
    auto* rest = AddControl<TPanel>(form, 200, 0, 100, 100);
    rest->SetAlign(alClient);
    int moved = 0;
    splitter->OnMoved = [&](TObject*) { ++moved; };
    ASSERT_EQ(splitter->Left(), 100);
    EXPECT_EQ(splitter->Cursor(), crHSplit);

    Drag(splitter, Point(2, 50), Point(42, 50));
    EXPECT_EQ(left->Width(), 140);
    EXPECT_EQ(splitter->Left(), 140);
    EXPECT_EQ(rest->Left(), 144);
    EXPECT_EQ(moved, 1);

    // Neither side gets smaller than MinSize.
    splitter->SetMinSize(50);
    Drag(splitter, Point(2, 50), Point(-200, 50));
    EXPECT_EQ(left->Width(), 50);
    Drag(splitter, Point(2, 50), Point(form->ClientWidth(), 50));
    EXPECT_EQ(rest->Width(), 50);
}

TEST_F(SplitterOnForm, BottomSplitterResizesWhileDraggingWithUpdateStyle) {
    auto* bottom = AddControl<TPanel>(form, 0, 200, 100, 80);
    bottom->SetAlign(alBottom);
    auto* splitter = New<TSplitter>(form);
    splitter->SetAlign(alBottom);
    splitter->SetBounds(0, 190, 100, 5);
    splitter->SetParent(form);
    splitter->SetResizeStyle(rsUpdate);
    auto* rest = AddControl<TPanel>(form, 0, 0, 100, 100);
    rest->SetAlign(alClient);
    ASSERT_EQ(splitter->Top() + splitter->Height(), bottom->Top());
    bool accepted = true;
    splitter->OnCanResize = [&](TObject*, int& size, bool& accept) { accept = accepted; };

    MoveMouseTo(splitter, 50, 2);
    MouseButton(true);
    MoveMouseTo(splitter, 50, -28);
    EXPECT_EQ(bottom->Height(), 110);  // already, before the button goes up
    accepted = false;
    MoveMouseTo(splitter, 50, -20);
    EXPECT_EQ(bottom->Height(), 110);
    MouseButton(false);
    EXPECT_EQ(bottom->Height(), 110);
    EXPECT_EQ(bottom->Top() + bottom->Height(), form->ClientHeight());
    EXPECT_EQ(splitter->Cursor(), crVSplit);
}

}  // namespace
