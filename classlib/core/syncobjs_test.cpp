#include "classlib/core/syncobjs.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

TEST(CriticalSection, SerialisesThreads) {
    TCriticalSection section;
    long counter = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 20000; ++i) {
                section.Enter();
                long seen = counter;
                std::this_thread::yield();
                counter = seen + 1;
                section.Leave();
                if (i % 1000 == 0) std::this_thread::yield();
            }
        });
    for (auto& t : threads) t.join();
    EXPECT_EQ(counter, 80000);
}

TEST(CriticalSection, ReentrantForItsOwnerExclusiveForOthers) {
    TCriticalSection section;
    section.Acquire();
    EXPECT_TRUE(section.TryEnter());  // same thread enters again
    bool otherGotIn = true;
    std::thread([&] { otherGotIn = section.TryEnter(); }).join();
    EXPECT_FALSE(otherGotIn);
    section.Leave();
    std::thread([&] { otherGotIn = section.TryEnter(); }).join();
    EXPECT_FALSE(otherGotIn);  // still entered once
    section.Release();
    std::thread([&] {
        otherGotIn = section.TryEnter();
        if (otherGotIn) section.Leave();
    }).join();
    EXPECT_TRUE(otherGotIn);
    {
        std::lock_guard<TCriticalSection> guard(section);
        std::thread([&] { otherGotIn = section.TryEnter(); }).join();
        EXPECT_FALSE(otherGotIn);
    }
    EXPECT_TRUE(section.TryEnter());
    section.Leave();
}
