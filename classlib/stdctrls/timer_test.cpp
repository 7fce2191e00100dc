#include "classlib/stdctrls/timer.h"

#include <gtest/gtest.h>

#include "classlib/testing/gui_testing.h"

namespace {

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
    PumpMessages(30);
    int stopped = ticks;
    PumpMessages(100);
    EXPECT_EQ(ticks, stopped);

    // Interval 0 keeps it quiet even when enabled.
    timer->SetInterval(0);
    timer->SetEnabled(true);
    PumpMessages(100);
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
        Sleep(50);  // ticks are due when the timer goes
    }
    PumpMessages(60);
    EXPECT_EQ(ticks, 0);
}

}  // namespace
