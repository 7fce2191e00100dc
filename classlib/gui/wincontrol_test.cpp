#include "classlib/gui/wincontrol.h"

#include <gtest/gtest.h>

#include <thread>

#include "classlib/core/exceptions.h"
#include "classlib/gui/forms.h"
#include "classlib/gui/graphic_control.h"
#include "classlib/gui/scoped_win32.h"
#include "classlib/gui/window_atoms.h"

namespace {

// A control of this layer, created and destroyed on another thread.
class TForeignThread {
public:
    // `ourAtom`: this thread's control atom, which the other thread also
    // puts on a plain window of its own with a pointer that is no control.
    explicit TForeignThread(ATOM ourAtom) : ready_(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
                                            done_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
        thread_ = std::thread([this, ourAtom] {
            TOwnedWindow owned(
                CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr));
            host = owned.Get();
            SetPropA(host, MAKEINTATOM(ourAtom), reinterpret_cast<HANDLE>(static_cast<intptr_t>(0x1234)));
            {
                auto control = MakeOwned<TCustomControl>(nullptr);
                control->SetParentWindow(host);
                control->SetBounds(0, 0, 20, 20);
                window = control->Handle();
                foundThere = FindControl(window) == control.get();
                SetEvent(ready_.Get());
                WaitForSingleObject(done_.Get(), INFINITE);
            }
        });
        WaitForSingleObject(ready_.Get(), INFINITE);
    }
    ~TForeignThread() {
        SetEvent(done_.Get());
        thread_.join();
    }
    HWND host = nullptr, window = nullptr;
    bool foundThere = false;

private:
    TKernelHandle ready_, done_;
    std::thread thread_;
};

TEST(FindControl, FindsOnlyWindowsOfItsOwnThread) {
    auto form = MakeOwned<TForm>(nullptr);
    HWND ours = form->Handle();
    EXPECT_EQ(FindControl(ours), form.get());
    // The property is named for the program's module and this thread.
    EXPECT_EQ(GetPropA(ours, ControlAtomName().c_str()), form.get());

    TForeignThread other(ControlAtom());
    ASSERT_NE(other.window, nullptr);
    EXPECT_TRUE(other.foundThere) << "the other thread knows its own control";
    EXPECT_EQ(FindControl(other.window), nullptr);
    EXPECT_EQ(GetPropA(other.window, ControlAtomName().c_str()), nullptr) << "each thread names its own property";
    EXPECT_EQ(FindControl(other.host), nullptr) << "our atom on a window of another thread proves nothing";
    EXPECT_EQ(FindControl(GetDesktopWindow()), nullptr);
}

TEST(FindControl, ForgetsAWindowOnceItIsGone) {
    auto form = MakeOwned<TForm>(nullptr);
    auto* child = New<TCustomControl>(form.get());
    child->SetParent(form.get());
    HWND first = child->Handle();
    child->DestroyHandle();
    EXPECT_EQ(FindControl(first), nullptr);
    EXPECT_EQ(FindControl(child->Handle()), child) << "the new window is the control's";
    HWND second = child->Handle();
    form.reset();
    EXPECT_EQ(FindControl(second), nullptr) << "destroyed with its form";
}

// A windowless control whose painting fails.
class TFailingPaint : public TGraphicControl {
public:
    explicit TFailingPaint(TComponent* owner) : TGraphicControl(owner) {}

protected:
    void Paint() override { throw EInvalidOperation("painting failed"); }
};

// A windowed control whose own painting fails.
class TFailingSurface : public TCustomControl {
public:
    explicit TFailingSurface(TComponent* owner) : TCustomControl(owner) {}

protected:
    void Paint() override { throw EInvalidOperation("painting failed"); }
};

// The drawing state of a context a caller handed in for painting.
struct TDrawingState {
    POINT Origin{};
    RECT Clip{};
};

TDrawingState StateOf(HDC dc) {
    TDrawingState state;
    GetWindowOrgEx(dc, &state.Origin);
    GetClipBox(dc, &state.Clip);
    return state;
}

// A failed painting leaves the caller's context as it came: later drawing
// on it is neither shifted nor clipped to the control that failed.
TEST(PaintHandler, AFailedPaintingGivesTheContextBackAsItCame) {
    TMemoryDC dc;
    TGdiObject bitmap(CreateCompatibleBitmap(TWindowDC(nullptr), 100, 80));
    TSelectedObject selected(dc, bitmap.Get());
    const TDrawingState before = StateOf(dc);
    ASSERT_EQ(before.Clip.right, 100);

    auto form = MakeOwned<TForm>(nullptr);
    form->SetBounds(0, 0, 200, 150);
    auto* failing = New<TFailingPaint>(form.get());
    failing->SetParent(form.get());
    failing->SetBounds(10, 20, 30, 15);
    form->HandleNeeded();
    EXPECT_THROW(form->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc.Get()), 0), EInvalidOperation);
    TDrawingState after = StateOf(dc);
    EXPECT_EQ(after.Origin.x, before.Origin.x);
    EXPECT_EQ(after.Origin.y, before.Origin.y);
    EXPECT_TRUE(EqualRect(&after.Clip, &before.Clip)) << after.Clip.left << "," << after.Clip.top << " "
                                                      << after.Clip.right << "," << after.Clip.bottom;

    // A control whose own painting fails, with an opaque windowless child
    // clipped out of it.
    auto* surface = New<TFailingSurface>(form.get());
    surface->SetParent(form.get());
    surface->SetBounds(0, 0, 100, 80);
    auto* opaque = New<TFailingPaint>(surface);
    opaque->SetParent(surface);
    opaque->SetControlStyle(opaque->ControlStyle() + csOpaque);
    opaque->SetBounds(5, 5, 50, 40);
    EXPECT_THROW(surface->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc.Get()), 0), EInvalidOperation);
    after = StateOf(dc);
    EXPECT_TRUE(EqualRect(&after.Clip, &before.Clip)) << after.Clip.left << "," << after.Clip.top << " "
                                                      << after.Clip.right << "," << after.Clip.bottom;
    // ... and drawing at the context's corner lands there.
    SetPixelV(dc, 0, 0, RGB(1, 2, 3));
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(1, 2, 3));
}

}  // namespace
