#include "classlib/core/thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <string>
#include <thread>

namespace {

// A thread whose Execute is a test's lambda.
class TLambdaThread : public TThread {
public:
    TLambdaThread(bool suspended, std::function<void(TLambdaThread&)> body)
        : TThread(suspended), body_(std::move(body)) {}
    ~TLambdaThread() override {
        if (destroyed) destroyed->set_value();
    }
    using TThread::SetReturnValue;
    using TThread::Synchronize;

    std::atomic<bool> ran{false};
    std::promise<void>* destroyed = nullptr;

protected:
    void Execute() override {
        ran.store(true);
        body_(*this);
    }

private:
    std::function<void(TLambdaThread&)> body_;
};

}  // namespace

TEST(Thread, RunsExecuteAndGivesItsReturnValue) {
    uint32_t executedOn = 0;
    auto thread = MakeOwned<TLambdaThread>(false, [&](TLambdaThread& t) {
        executedOn = t.ThreadID();
        t.SetReturnValue(42);
    });
    EXPECT_EQ(thread->WaitFor(), 42);
    EXPECT_TRUE(thread->Finished());
    EXPECT_NE(executedOn, MainThreadID());
    EXPECT_FALSE(thread->FatalException());
}

TEST(Thread, CreatedSuspendedWaitsForResume) {
    auto thread = MakeOwned<TLambdaThread>(true, [](TLambdaThread&) {});
    EXPECT_TRUE(thread->Suspended());
    EXPECT_FALSE(thread->ran.load());
    thread->Resume();
    EXPECT_FALSE(thread->Suspended());
    thread->WaitFor();
    EXPECT_TRUE(thread->ran.load());
}

TEST(Thread, SynchronizedMethodsRunOnTheMainThreadWhileItWaits) {
    std::vector<std::string> log;
    auto thread = MakeOwned<TLambdaThread>(false, [&](TLambdaThread& t) {
        for (int i = 0; i < 3; ++i)
            t.Synchronize([&log, i] { log.push_back((IsMainThread() ? "main " : "other ") + std::to_string(i)); });
    });
    thread->WaitFor();
    EXPECT_EQ(log, (std::vector<std::string>{"main 0", "main 1", "main 2"}));
}

TEST(Thread, SynchronizeOnTheMainThreadRunsAtOnce) {
    bool ran = false;
    TThread::Synchronize(nullptr, [&] { ran = true; });
    EXPECT_TRUE(ran);
}

TEST(Thread, ExceptionsOfSynchronizedMethodsReachTheCallingThread) {
    std::string caught;
    auto thread = MakeOwned<TLambdaThread>(false, [&](TLambdaThread& t) {
        try {
            t.Synchronize([] { throw EConvertError("bad value"); });
        } catch (const EConvertError& e) {
            caught = e.Message();
        }
        t.Synchronize([] { throw EListError("escapes"); });
    });
    thread->WaitFor();
    EXPECT_EQ(caught, "bad value");
    ASSERT_TRUE(thread->FatalException());
    EXPECT_THROW(std::rethrow_exception(thread->FatalException()), EListError);
}

TEST(Thread, OnTerminateRunsOnTheMainThreadAfterExecute) {
    std::vector<std::string> log;
    auto thread = MakeOwned<TLambdaThread>(true, [&](TLambdaThread& t) {
        t.Synchronize([&] { log.push_back("execute"); });
    });
    thread->OnTerminate = [&](TObject* sender) {
        log.push_back(sender == thread.get() && IsMainThread() ? "terminate on main" : "terminate elsewhere");
    };
    thread->Resume();
    thread->WaitFor();
    EXPECT_EQ(log, (std::vector<std::string>{"execute", "terminate on main"}));
}

TEST(Thread, FreeingARunningThreadTerminatesItAndWaits) {
    std::atomic<bool> looping{false};
    auto* thread = New<TLambdaThread>(false, [&](TLambdaThread& t) {
        while (!t.Terminated()) {
            looping.store(true);
            std::this_thread::yield();
        }
        t.Synchronize([] {});  // the main thread's wait keeps serving
    });
    while (!looping.load()) std::this_thread::yield();
    EXPECT_TRUE(thread->ran.load());
    thread->Free();  // returns only once Execute has seen Terminated and ended
}

TEST(Thread, FreeingASuspendedThreadNeverRunsExecute) {
    auto* thread = New<TLambdaThread>(true, [](TLambdaThread&) { ADD_FAILURE() << "Execute ran"; });
    std::promise<void> destroyed;
    thread->destroyed = &destroyed;
    thread->Free();
    EXPECT_EQ(destroyed.get_future().wait_for(std::chrono::seconds(0)), std::future_status::ready);
}

TEST(Thread, FreeOnTerminateFreesTheObjectOnItsThread) {
    std::promise<void> destroyed;
    std::future<void> gone = destroyed.get_future();
    auto* thread = New<TLambdaThread>(true, [](TLambdaThread&) {});
    thread->destroyed = &destroyed;
    thread->SetFreeOnTerminate(true);
    thread->Resume();
    gone.wait();
}

TEST(Thread, QueuedMethodsWakeTheMainThreadAndWaitForIt) {
    std::promise<void> woken;
    std::future<void> wake = woken.get_future();
    SetWakeMainThread([&] { woken.set_value(); });
    bool ran = false;
    auto thread = MakeOwned<TLambdaThread>(false, [&](TLambdaThread& t) { t.Synchronize([&] { ran = true; }); });
    wake.wait();
    SetWakeMainThread(nullptr);
    EXPECT_FALSE(ran);  // queued until the main thread looks
    EXPECT_TRUE(CheckSynchronize());
    EXPECT_TRUE(ran);
    thread->WaitFor();
    EXPECT_FALSE(CheckSynchronize());
}

TEST(Thread, OnlyTheMainThreadRunsQueuedMethods) {
    std::string error;
    std::thread([&] {
        try {
            CheckSynchronize();
        } catch (const EThread& e) {
            error = e.Message();
        }
    }).join();
    EXPECT_FALSE(error.empty());
}
