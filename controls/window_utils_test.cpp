#include "controls/window_utils.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "classlib/core/exceptions.h"
#include "classlib/gui/forms.h"
#include "classlib/gui/scoped_win32.h"
#include "classlib/gui/screen.h"
#include "classlib/stdctrls/test_support.h"
#include "classlib/testing/gui_testing.h"
#include "controls/control_cursors.h"
#include "controls/controls_startup.h"

namespace {

TEST(ScreenPlacement, RectanglesMoveIntoTheScreenKeepingTheirSize) {
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    TRect r = Rect(sw - 50, sh - 20, sw + 50, sh + 20);
    KeepRectOnScreen(r);
    EXPECT_EQ(r.right, sw);
    EXPECT_EQ(r.bottom, sh);
    EXPECT_EQ(RectWidth(r), 100);
    EXPECT_EQ(RectHeight(r), 40);
    r = Rect(-30, -10, sw + 100, 20);  // wider than the screen: the left edge wins
    KeepRectOnScreen(r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(RectWidth(r), sw + 130);
}

TEST(ScreenPlacement, CentringAWindowLargerThanTheScreenPutsItAtTheOrigin) {
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    TOwnedWindow owned(CreateWindowExA(0, "STATIC", "", WS_POPUP, 5, 5, 200, 100, nullptr, nullptr, nullptr, nullptr));
    const HWND window = owned.Get();
    ASSERT_NE(window, nullptr);
    CenterWindowOnScreen(window);
    RECT r;
    GetWindowRect(window, &r);
    EXPECT_EQ(r.left, (sw - 200) / 2);
    EXPECT_EQ(r.top, (sh - 100) / 2);
    SetWindowPos(window, nullptr, 5, 5, sw + 40, sh + 40, SWP_NOZORDER | SWP_NOACTIVATE);
    CenterWindowOnScreen(window);
    GetWindowRect(window, &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
}

TEST(PendingMessages, OneMessageIsRemovedAndAQuitIsPostedAgain) {
    TOwnedWindow owned(CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));
    const HWND window = owned.Get();
    const UINT msg = WM_APP + 17;
    PostMessageA(window, msg, 1, 0);
    PostMessageA(window, msg, 2, 0);
    RemovePendingMessage(window, msg);
    MSG left{};
    ASSERT_TRUE(PeekMessageA(&left, window, msg, msg, PM_REMOVE));
    EXPECT_EQ(left.wParam, 2u);
    EXPECT_FALSE(PeekMessageA(&left, window, msg, msg, PM_REMOVE));
    owned.Reset();

    PostQuitMessage(7);
    RemovePendingMessage(nullptr, WM_QUIT);
    MSG quit{};
    ASSERT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 7u);
}

TEST(NotImplemented, TellsTheUserAndAbortsSilently) {
    TScriptedInteraction interaction;
    EXPECT_THROW(AbortNotYetImplemented(), EAbort);
    ASSERT_EQ(interaction.Boxes.size(), 1u);
    EXPECT_EQ(interaction.Boxes[0].Text, "Function not yet implemented");
    EXPECT_EQ(interaction.Boxes[0].Flags, unsigned(MB_OK | MB_ICONINFORMATION));
}

TEST(ActiveWindow, OnlyWindowsOfThisThreadCount) {
    TForm* form = SharedForm();
    SetActiveWindow(form->Handle());
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == form->Handle(); }));
    EXPECT_TRUE(IsActiveWindowOfThisThread());

    // A window of another thread of this program comes to the front: the
    // active window is no longer one of this thread's.
    std::atomic<HWND> other{nullptr};
    std::atomic<DWORD> ownerId{0};
    std::thread owner([&other, &ownerId] {
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the queue the quit goes to
        TOwnedWindow owned(CreateWindowExA(0, "STATIC", "Other thread", WS_POPUP, 200, 200, 120, 60, nullptr,
                                           nullptr, nullptr, nullptr));
        const HWND window = owned.Get();
        ShowWindow(window, SW_SHOW);
        SetForegroundWindow(window);
        other = window;
        ownerId = GetCurrentThreadId();
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    });
    const bool otherInFront = PumpUntil([&] {
        return other && GetForegroundWindow() == other && GetActiveWindow() != form->Handle();
    });
    const bool ours = IsActiveWindowOfThisThread();
    PumpUntil([&] { return ownerId != 0; });
    PostThreadMessageA(ownerId, WM_QUIT, 0, 0);
    owner.join();
    SetForegroundWindow(form->Handle());
    ASSERT_TRUE(otherInFront);
    EXPECT_FALSE(ours);
    EXPECT_TRUE(PumpUntil([&] { return GetActiveWindow() == form->Handle(); }));
}

// The cursor's own picture: its hot spot and its size.
void ExpectOwnCursor(TCursor index) {
    HCURSOR cursor = Screen->Cursors(index);
    ASSERT_NE(cursor, nullptr);
    EXPECT_NE(cursor, LoadCursorA(nullptr, reinterpret_cast<const char*>(IDC_ARROW)));
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    TGdiObject mask(info.hbmMask), colour(info.hbmColor);  // copies made for us
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 7u);
    EXPECT_EQ(info.yHotspot, 1u);
}

TEST(StartUp, TheControlsCursorsBecomeScreenCursors) {
    StartControlUtilities();
    StartControlUtilities();  // runs once
    ExpectOwnCursor(crHandCursor);
    ExpectOwnCursor(crDragHandCursor);
    EXPECT_EQ(crHandCursor, 14000);
    EXPECT_EQ(crDragHandCursor, 14001);
    EXPECT_NE(Screen->Cursors(crHandCursor), Screen->Cursors(crDragHandCursor));
}

}  // namespace
