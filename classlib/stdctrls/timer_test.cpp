#include "classlib/stdctrls/timer.h"

#include <gtest/gtest.h>

#include "classlib/testing/gui_testing.h"

namespace {

int referenceTicks = 0;

void CALLBACK CountReferenceTick(HWND, UINT, UINT_PTR, DWORD) {
    ++referenceTicks;
}

// Handles messages until a timer of our own with the given interval has
// ticked `count` times: a timer of that interval (or a shorter one) that
// still ran would have ticked meanwhile.
void PumpForReferenceTicks(UINT interval, int count) {
    referenceTicks = 0;
    UINT_PTR reference = SetTimer(nullptr, 0, interval, CountReferenceTick);
    EXPECT_TRUE(PumpUntil([count] { return referenceTicks >= count; }));
    KillTimer(nullptr, reference);
}

// Waits, without handling it, until a timer tick of this thread is due.
void WaitUntilATickIsDue() {
    for (int i = 0; i < 100 && !(HIWORD(GetQueueStatus(QS_TIMER)) & QS_TIMER); ++i)
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_TIMER);
}

TEST(Timer, TicksWithoutAnyForm) {
    auto timer = MakeOwned<TTimer>(nullptr);
    EXPECT_TRUE(timer->Enabled());
    EXPECT_EQ(timer->Interval(), 1000);
    int ticks = 0;
    timer->OnTimer = [&](TObject* sender) {
        EXPECT_EQ(sender, timer.get());
        ++ticks;
    };
    timer->SetInterval(20);
    EXPECT_TRUE(PumpUntil([&] { return ticks >= 3; }, 2000));

    timer->SetEnabled(false);
    DrainMessages();
    int stopped = ticks;
    PumpForReferenceTicks(20, 5);
    EXPECT_EQ(ticks, stopped);

    // Interval 0 keeps it quiet even when enabled.
    timer->SetInterval(0);
    timer->SetEnabled(true);
    PumpForReferenceTicks(20, 5);
    EXPECT_EQ(ticks, stopped);
}

TEST(Timer, ExceptionsGoToTheApplicationAndTheTimerGoesOn) {
    TScriptedInteraction seam;
    auto timer = MakeOwned<TTimer>(nullptr);
    int ticks = 0;
    timer->OnTimer = [&](TObject*) {
        if (++ticks == 1) throw Exception("Tick failed");
    };
    timer->SetInterval(20);
    EXPECT_TRUE(PumpUntil([&] { return ticks >= 2; }, 2000));
    ASSERT_FALSE(seam.Boxes.empty());
    EXPECT_EQ(seam.Boxes[0].Text, "Tick failed.");
}

TEST(Timer, FreedTimerStopsAtOnce) {
    int ticks = 0;
    {
        auto timer = MakeOwned<TTimer>(nullptr);
        timer->SetInterval(10);
        timer->OnTimer = [&](TObject*) { ++ticks; };
        WaitUntilATickIsDue();
        ASSERT_EQ(ticks, 0);
    }
    PumpForReferenceTicks(10, 5);
    EXPECT_EQ(ticks, 0);
}

}  // namespace
