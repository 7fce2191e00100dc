#include "shell/thread_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "classlib/core/kernel_handle.h"
#include "classlib/testing/gui_testing.h"
#include "shell/shell_namespace_unit.h"
#include "shell/worker_pools.h"
#include "unicode/text/platform_flags.h"

namespace {

// An item that runs until released (or, when it cooperates, cancelled).
class TTestItem : public IWorkItem {
public:
    explicit TTestItem(int32_t key, bool blocks = false, bool cooperates = true)
        : key_(key), blocks_(blocks), cooperates_(cooperates), wake_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    TTestItem(const TTestItem&) = delete;
    TTestItem& operator=(const TTestItem&) = delete;

    std::function<void()> CompletionHandler() override {
        return [this] {
            completed_on_ = GetCurrentThreadId();
            ++completions_;
        };
    }
    int32_t Key() override { return key_; }
    void Execute() override {
        started_ = true;
        if (blocks_) WaitForSingleObject(wake_.Get(), INFINITE);
        ran_ = true;
    }
    void Cancel() override {
        cancelled_ = true;
        if (cooperates_) SetEvent(wake_.Get());
    }
    void SetHold(bool) override {}

    void Release() { SetEvent(wake_.Get()); }
    bool Started() const { return started_; }
    bool Ran() const { return ran_; }
    bool Cancelled() const { return cancelled_; }
    int Completions() const { return completions_; }
    DWORD CompletedOn() const { return completed_on_; }

private:
    int32_t key_;
    bool blocks_, cooperates_;
    TKernelHandle wake_;  // set when a blocking item may end
    std::atomic<bool> started_{false}, ran_{false}, cancelled_{false};
    std::atomic<int> completions_{0};
    std::atomic<DWORD> completed_on_{0};
};

std::shared_ptr<TTestItem> Item(int32_t key, bool blocks = false, bool cooperates = true) {
    return std::make_shared<TTestItem>(key, blocks, cooperates);
}

// Pumps the main thread's messages and what threads hand to it.
bool PumpWithThreads(const std::function<bool()>& condition) {
    return PumpUntil([&] {
        CheckSynchronize();
        return condition();
    });
}

// Waits on this thread without handling its messages (so nothing a worker
// hands to the main thread runs meanwhile).
bool WaitWithoutMessages(const std::function<bool()>& condition, DWORD timeoutMs = 5000) {
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(1);
    }
    return true;
}

// Runs StopAll on a thread of its own while the main thread handles
// nothing; true when it returned in time.
bool StopAllOffTheMainThread(TWorkerThreadPool* pool) {
    std::atomic<bool> stopped{false};
    std::thread stopper([&] {
        pool->StopAll(true);
        stopped = true;
    });
    bool inTime = WaitWithoutMessages([&] { return stopped.load(); });
    if (!inTime) PumpWithThreads([&] { return stopped.load(); });
    stopper.join();
    return inTime;
}

int32_t KeyOf(const TWorkItemRef& item) {
    return item ? item->Key() : -1;
}

TEST(WorkerPool, AllowsEightThreadsPerProcessor) {
    SYSTEM_INFO system{};
    GetSystemInfo(&system);
    TShellSystemFlags flags = ShellSystemFlags();
    {
        flags.NTPlatform = true;
        TScopedShellSystemFlags nt(flags);
        TScopedPlatformFlags wideless(false, false);  // the shell unit's flag decides, not the Unicode layer's
        auto pool = MakeOwned<TWorkerThreadPool>(false);
        EXPECT_EQ(pool->MaxThreads(), static_cast<int32_t>(system.dwNumberOfProcessors) * 8);
    }
    flags.NTPlatform = false;
    TScopedShellSystemFlags older(flags);
    auto pool = MakeOwned<TWorkerThreadPool>(false);
    EXPECT_EQ(pool->MaxThreads(), 8);
}

TEST(WorkerPool, AnEmptyPoolEndsAtOnceAndQuietly) {
    auto* pool = New<TWorkerThreadPool>(true);
    int events = 0;
    pool->OnPoolEmpty = [&](TObject*) { ++events; };
    pool->OnAllWorkDone = [&](TObject*) { ++events; };
    pool->OnThreadDone = [&](TQarThread*) { ++events; };
    DWORD start = GetTickCount();
    pool->Free();
    EXPECT_LT(GetTickCount() - start, 1000u);
    EXPECT_EQ(events, 0);

    // The program's two pools, started and stopped once however often
    // asked.
    StartWorkerPools();
    TWorkerThreadPool* first = ShellWorkerPool;
    StartWorkerPools();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(ShellWorkerPool, first);
    ASSERT_NE(ShellHelperWorkerPool, nullptr);
    EXPECT_NE(ShellHelperWorkerPool, first);
    EXPECT_TRUE(first->UsesCom());
    StopWorkerPools();
    EXPECT_EQ(ShellWorkerPool, first);
    StopWorkerPools();
    EXPECT_EQ(ShellWorkerPool, nullptr);
    EXPECT_EQ(ShellHelperWorkerPool, nullptr);
}

TEST(WorkerPool, TheQueueKeepsArrivalOrder) {
    auto queue = MakeOwned<TWorkItemsQueue>();
    EXPECT_EQ(queue->TakeFirst(), nullptr);
    for (int32_t key : {1, 2, 1, 3, 2, 1}) queue->Add(Item(key));
    EXPECT_EQ(queue->RemoveByKey(1), 3);
    EXPECT_EQ(queue->RemoveByKey(7), 0);
    std::vector<int32_t> order;
    while (TWorkItemRef item = queue->TakeFirst()) order.push_back(item->Key());
    EXPECT_EQ(order, (std::vector<int32_t>{2, 3, 2}));
    for (int32_t key : {4, 5}) queue->Add(Item(key));
    EXPECT_EQ(queue->Clear(), 2);
    EXPECT_EQ(KeyOf(queue->TakeFirst()), -1);
}

TEST(WorkerPool, RunsItemsAndReportsOnTheMainThread) {
    auto pool = MakeOwned<TWorkerThreadPool>(true);
    pool->SetIdleTimeout(50);
    int allDone = 0, threadsDone = 0, emptied = 0;
    pool->OnAllWorkDone = [&](TObject*) { ++allDone; };
    pool->OnThreadDone = [&](TQarThread* thread) {
        EXPECT_TRUE(thread->Done());
        ++threadsDone;
    };
    pool->OnPoolEmpty = [&](TObject*) { ++emptied; };
    std::vector<std::shared_ptr<TTestItem>> items;
    for (int i = 0; i < 5; ++i) items.push_back(Item(i + 1));
    for (auto& item : items) pool->AddWorkItem(item);
    ASSERT_TRUE(PumpWithThreads([&] { return allDone == 1; }));
    EXPECT_EQ(pool->PendingWork(), 0);
    for (auto& item : items) {
        EXPECT_TRUE(item->Ran());
        EXPECT_EQ(item->Completions(), 1);
        EXPECT_EQ(item->CompletedOn(), GetCurrentThreadId());
    }
    EXPECT_GT(pool->ThreadCount() + threadsDone, 0);
    EXPECT_LE(pool->ThreadCount() + threadsDone, 5);
    // Without work the workers end on their own and leave the pool.
    ASSERT_TRUE(PumpWithThreads([&] { return emptied == 1; }));
    EXPECT_EQ(pool->ThreadCount(), 0);
    EXPECT_GE(threadsDone, 1);
}

// A manual-reset event that threads wait for.
class TGate {
public:
    TGate() : event_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    TGate(const TGate&) = delete;
    TGate& operator=(const TGate&) = delete;
    void Open() { SetEvent(event_.Get()); }
    bool IsOpen() const { return WaitForSingleObject(event_.Get(), 0) == WAIT_OBJECT_0; }
    void WaitOpen() const { WaitForSingleObject(event_.Get(), INFINITE); }

private:
    TKernelHandle event_;
};

TEST(WorkerPool, AnItemQueuedWhileTheOnlyWorkerTimesOutIsStillRun) {
    TGate timingOut, queued;
    std::atomic<int> timeouts{0};
    int allDone = 0;
    auto pool = MakeOwned<TWorkerThreadPool>(false);
    pool->SetIdleTimeout(0);
    pool->OnAllWorkDone = [&](TObject*) { ++allDone; };
    // The first time the worker runs out of waiting it stops there until
    // the main thread has queued the next item.
    pool->WorkerTimingOut = [&] {
        if (timeouts++ > 0) return;
        timingOut.Open();
        queued.WaitOpen();
    };
    auto first = Item(1), second = Item(2);
    pool->AddWorkItem(first);
    ASSERT_TRUE(PumpWithThreads([&] { return timingOut.IsOpen(); }));
    EXPECT_EQ(allDone, 1);
    ASSERT_EQ(pool->ThreadCount(), 1);

    pool->AddWorkItem(second);
    EXPECT_EQ(pool->ThreadCount(), 1) << "the waiting worker is the one to take it";
    queued.Open();
    EXPECT_TRUE(PumpWithThreads([&] { return second->Completions() == 1 && allDone == 2; }));
    EXPECT_EQ(pool->PendingWork(), 0);
}

TEST(WorkerPool, CancellingAKeyReachesOnlyItsItems) {
    auto pool = MakeOwned<TWorkerThreadPool>(false);
    auto one = Item(1, true), two = Item(2, true);
    pool->AddWorkItem(one);
    pool->AddWorkItem(two);
    ASSERT_TRUE(PumpWithThreads([&] { return one->Started() && two->Started(); }));
    pool->CancelItems(1);
    EXPECT_TRUE(one->Cancelled());
    EXPECT_FALSE(two->Cancelled());
    ASSERT_TRUE(PumpWithThreads([&] { return one->Completions() == 1; }));
    EXPECT_FALSE(two->Ran());
    pool->CancelItems(0);
    ASSERT_TRUE(PumpWithThreads([&] { return two->Completions() == 1; }));
}

TEST(WorkerPool, AWorkerThatIgnoresItsStopIsKilledAfterTheHardStopDelay) {
    auto* pool = New<TWorkerThreadPool>(false);
    pool->SetHardStopDelay(300);
    auto stubborn = Item(1, true, false);
    int threadsDone = 0;
    pool->OnThreadDone = [&](TQarThread*) { ++threadsDone; };
    pool->AddWorkItem(stubborn);
    ASSERT_TRUE(PumpWithThreads([&] { return stubborn->Started(); }));
    DWORD start = GetTickCount();
    pool->Free();
    DWORD took = GetTickCount() - start;
    EXPECT_GE(took, 250u);
    EXPECT_LT(took, 5000u);
    EXPECT_TRUE(stubborn->Cancelled());
    EXPECT_FALSE(stubborn->Ran());
    EXPECT_EQ(threadsDone, 0);
    DrainMessages();  // nothing of the killed thread may still be queued
}

TEST(WorkerPool, StoppingOffTheMainThreadEndsWhenReportsCannotRun) {
    auto* pool = New<TWorkerThreadPool>(false);
    pool->SetHardStopDelay(300);
    pool->SetIdleTimeout(10);
    int threadsDone = 0, allDone = 0;
    pool->OnThreadDone = [&](TQarThread*) { ++threadsDone; };
    pool->OnAllWorkDone = [&](TObject*) { ++allDone; };
    auto quick = Item(1);
    pool->AddWorkItem(quick);
    ASSERT_TRUE(PumpWithThreads([&] { return allDone == 1; }));
    // The worker runs out of work and ends; its report waits for the main
    // thread, which handles nothing from here on.
    ASSERT_EQ(pool->ThreadCount(), 1);
    auto* worker = static_cast<TQarThread*>(pool->Items(0));
    ASSERT_TRUE(WaitWithoutMessages([&] { return worker->Done(); }));
    EXPECT_TRUE(StopAllOffTheMainThread(pool));
    EXPECT_EQ(pool->ThreadCount(), 0);
    // The worker, let go, still ends and frees itself; the pool hears
    // nothing of it.
    CheckSynchronize();
    DrainMessages();
    EXPECT_EQ(threadsDone, 0);
    pool->Free();
}

TEST(WorkerPool, AWorkerWaitingForTheMainThreadAtTheHardStopIsLetGo) {
    auto* pool = New<TWorkerThreadPool>(false);
    pool->SetHardStopDelay(300);
    int allDone = 0;
    pool->OnAllWorkDone = [&](TObject*) { ++allDone; };
    auto item = Item(1);
    pool->AddWorkItem(item);
    // Its completion handler waits for the main thread, which handles
    // nothing until the stop has given up on the worker.
    ASSERT_TRUE(WaitWithoutMessages([&] { return item->Ran(); }));
    EXPECT_TRUE(StopAllOffTheMainThread(pool));
    EXPECT_EQ(pool->ThreadCount(), 0);
    EXPECT_EQ(allDone, 1);  // the stop ended the pending work
    pool->Free();
    // Answered later, the worker ends without its pool.
    EXPECT_TRUE(PumpWithThreads([&] { return item->Completions() == 1; }));
    EXPECT_EQ(allDone, 1);
}

}  // namespace
