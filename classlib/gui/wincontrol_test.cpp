#include "classlib/gui/wincontrol.h"

#include <gtest/gtest.h>

#include <thread>

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
            host = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
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
            DestroyWindow(host);
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

}  // namespace
