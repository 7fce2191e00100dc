#include "classlib/gui/forms.h"

#include <gtest/gtest.h>

#include "classlib/gui/application.h"
#include "classlib/gui/graphic_control.h"
#include "classlib/testing/gui_testing.h"

namespace {

// A windowed control that fills itself with its colour.
class TSwatch : public TCustomControl {
public:
    explicit TSwatch(TComponent* owner) : TCustomControl(owner) { SetParentColor(false); }
    int paints = 0;

protected:
    void Paint() override {
        ++paints;
        Canvas()->Brush().SetColor(Color());
        Canvas()->FillRect(ClientRect());
    }
};

// A windowless control that records its mouse events.
class TTarget : public TGraphicControl {
public:
    explicit TTarget(TComponent* owner) : TGraphicControl(owner) {}
    std::vector<std::string> events;

protected:
    void Paint() override {
        Canvas()->Brush().SetColor(clRed);
        Canvas()->FillRect(ClientRect());
    }
    void Click() override { events.push_back("click"); }
    void MouseDown(TMouseButton, TShiftState, int x, int y) override {
        events.push_back("down " + std::to_string(x) + "," + std::to_string(y));
    }
    void MouseUp(TMouseButton, TShiftState, int, int) override { events.push_back("up"); }
};

TOwned<TForm> MakeForm(int width = 300, int height = 200) {
    auto form = MakeOwned<TForm>(nullptr);
    form->SetBounds(100, 100, width, height);
    form->SetCaption("Test");
    return form;
}

TEST(Forms, ChildrenAreAlignedAndPainted) {
    auto form = MakeForm();
    auto* top = new TSwatch(form.get());
    top->SetParent(form.get());
    top->SetHeight(30);
    top->SetAlign(alTop);
    top->SetColor(clBlue);
    auto* client = new TSwatch(form.get());
    client->SetParent(form.get());
    client->SetAlign(alClient);
    client->SetColor(clLime);
    auto* bottom = new TSwatch(form.get());
    bottom->SetParent(form.get());
    bottom->SetHeight(20);
    bottom->SetAlign(alBottom);
    bottom->SetColor(clYellow);
    form->Show();
    DrainMessages();

    int w = form->ClientWidth(), h = form->ClientHeight();
    EXPECT_EQ(top->BoundsRect(), Rect(0, 0, w, 30));
    EXPECT_EQ(bottom->BoundsRect(), Rect(0, h - 20, w, h));
    EXPECT_EQ(client->BoundsRect(), Rect(0, 30, w, h - 20));
    TWindowPixels pixels(form->Handle());
    EXPECT_EQ(pixels.At(5, 5), RGB(0, 0, 255));
    EXPECT_EQ(pixels.At(5, 40), RGB(0, 255, 0));
    EXPECT_EQ(pixels.At(5, h - 5), RGB(255, 255, 0));
    pixels.SavePng(ScreenshotFolder() + "forms_aligned.png");

    form->SetHeight(form->Height() + 40);
    DrainMessages();
    EXPECT_EQ(bottom->Top(), form->ClientHeight() - 20);
    EXPECT_EQ(client->Height(), form->ClientHeight() - 50);
}

TEST(Forms, AScrollBoxPagedToItsEndShowsTheEndOfItsAlignedChild) {
    auto form = MakeForm();
    auto* box = new TScrollBox(form.get());
    box->SetParent(form.get());
    box->SetAlign(alClient);
    box->SetColor(clWhite);
    auto* tall = new TTarget(box);  // red
    tall->SetParent(box);
    tall->SetAlign(alTop);
    tall->SetHeight(1000);
    form->Show();
    DrainMessages();
    TControlScrollBar* bar = box->VertScrollBar();
    // The track clicked below the thumb, again and again.
    for (int i = 0; i < 10; ++i) SendMessageA(box->Handle(), WM_VSCROLL, SB_PAGEDOWN, 0);
    DrainMessages();
    EXPECT_EQ(bar->Range(), 1000);
    EXPECT_EQ(bar->Position(), 1000 - box->ClientHeight());
    EXPECT_EQ(tall->BoundsRect(), Rect(0, box->ClientHeight() - 1000, box->ClientWidth(), box->ClientHeight()));
    TWindowPixels pixels(box->Handle());
    EXPECT_EQ(pixels.At(5, pixels.Height() - 1), RGB(255, 0, 0));
}

TEST(Forms, MouseReachesWindowlessChildrenClickBeforeMouseUp) {
    auto form = MakeForm();
    auto* target = new TTarget(form.get());
    target->SetParent(form.get());
    target->SetBounds(20, 30, 60, 40);
    form->Show();
    DrainMessages();
    EXPECT_EQ(TWindowPixels(form->Handle()).At(25, 35), RGB(255, 0, 0));

    ClickAt(target, 10, 5);
    EXPECT_EQ(target->events, (std::vector<std::string>{"down 10,5", "click", "up"}));

    // Pressed inside, released outside: no click.
    target->events.clear();
    MoveMouseTo(target, 10, 5);
    MouseButton(true);
    MoveMouseTo(form.get(), 200, 150);
    MouseButton(false);
    ASSERT_EQ(target->events.size(), 2u);
    EXPECT_EQ(target->events[1], "up");
}

TEST(Forms, ShowModalEndsWithModalResultAndIgnoresItWhenNotModal) {
    auto form = MakeForm();
    form->SetModalResult(mrOk);
    EXPECT_EQ(form->ModalResult(), mrNone);

    SetTimer(nullptr, 0, 50, nullptr);
    int closeQueries = 0;
    form->OnCloseQuery = [&](TObject*, bool& canClose) { canClose = ++closeQueries > 1; };
    form->OnShow = [&](TObject*) {
        PostMessageA(form->Handle(), WM_USER + 1, 0, 0);
    };
    auto* swatch = new TSwatch(form.get());
    swatch->SetParent(form.get());
    int tries = 0;
    Application->OnMessage = [&](MSG& msg, bool& handled) {
        if (msg.message == WM_USER + 1) {
            form->SetModalResult(mrYes);
            handled = true;
            if (++tries < 2) PostMessageA(form->Handle(), WM_USER + 1, 0, 0);
        }
    };
    EXPECT_EQ(form->ShowModal(), mrYes);
    Application->OnMessage = nullptr;
    EXPECT_EQ(closeQueries, 2);  // the first close was refused
    EXPECT_FALSE(form->Visible());
}

TEST(Forms, ExceptionsInHandlersAreReportedAndTheLoopGoesOn) {
    TScriptedInteraction seam;
    auto form = MakeForm();
    auto* target = new TTarget(form.get());
    target->SetParent(form.get());
    target->SetBounds(0, 0, 50, 50);
    form->OnClick = nullptr;
    form->Show();
    DrainMessages();
    target->OnMouseDown = nullptr;
    form->OnResize = [](TObject*) { throw Exception("Broken handler"); };
    form->SetWidth(form->Width() + 10);
    DrainMessages();
    ASSERT_FALSE(seam.Boxes.empty());
    EXPECT_EQ(seam.Boxes[0].Text, "Broken handler.");
    form->OnResize = nullptr;
    form->SetWidth(form->Width() + 10);
    DrainMessages();
}

TEST(Forms, AChildWhoseHandlerFailsWhileAlignedIsAlignedAgainLater) {
    TScriptedInteraction seam;
    auto form = MakeForm();
    auto* target = new TTarget(form.get());
    target->SetParent(form.get());
    target->SetAlign(alClient);
    form->Show();
    DrainMessages();
    target->OnResize = [](TObject*) { throw Exception("Broken handler"); };
    form->SetWidth(form->Width() + 10);
    DrainMessages();
    ASSERT_FALSE(seam.Boxes.empty());
    EXPECT_EQ(seam.Boxes[0].Text, "Broken handler.");
    target->OnResize = nullptr;
    form->SetWidth(form->Width() + 10);
    form->SetHeight(form->Height() + 10);
    DrainMessages();
    EXPECT_EQ(target->BoundsRect(), Rect(0, 0, form->ClientWidth(), form->ClientHeight()));
}

TEST(Forms, WheelAtAFocusedChildReachesTheFormOnce) {
    auto form = MakeForm();
    auto* child = new TSwatch(form.get());
    child->SetParent(form.get());
    child->SetAlign(alClient);
    child->SetTabStop(true);
    int downs = 0, ups = 0;
    form->OnMouseWheelDown = [&](TObject*, TShiftState, TPoint, bool&) { ++downs; };
    form->OnMouseWheelUp = [&](TObject*, TShiftState, TPoint, bool& handled) {
        ++ups;
        handled = true;
    };
    form->Show();
    DrainMessages();
    child->SetFocus();
    DrainMessages();
    ASSERT_TRUE(child->Focused());
    WheelAt(child, -WHEEL_DELTA);
    WheelAt(child, WHEEL_DELTA);
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(ups, 1);
}

}  // namespace
