// The application window's hooks, its hint, and the message loop serving
// threads that wait in Synchronize.
#include <gtest/gtest.h>

#include <atomic>

#include "classlib/core/thread.h"
#include "classlib/gui/application.h"
#include "classlib/testing/gui_testing.h"

namespace {

class TSynchronizingThread : public TThread {
public:
    TSynchronizingThread() : TThread(false) {}
    std::atomic<int> served{0};
    bool ranOnMain = true;

protected:
    void Execute() override {
        for (int i = 0; i < 3; ++i)
            Synchronize([this] {
                ranOnMain = ranOnMain && IsMainThread();
                ++served;
            });
    }
};

}  // namespace

TEST(ApplicationHooks, HooksSeeMessagesFirstInTheirOrderUntilUnhooked) {
    const UINT kProbe = WM_APP + 17;
    std::vector<std::string> seen;
    int first = Application->HookMainWindow([&](TMessage& m) {
        if (m.Msg == kProbe) seen.push_back("first");
        return false;
    });
    int second = Application->HookMainWindow([&](TMessage& m) {
        if (m.Msg != kProbe) return false;
        seen.push_back("second");
        m.Result = 7;
        return true;
    });
    EXPECT_EQ(SendMessageA(Application->Handle(), kProbe, 0, 0), 7);
    EXPECT_EQ(seen, (std::vector<std::string>{"first", "second"}));

    Application->UnhookMainWindow(second);
    EXPECT_EQ(SendMessageA(Application->Handle(), kProbe, 0, 0), 0);
    Application->UnhookMainWindow(first);
    seen.clear();
    SendMessageA(Application->Handle(), kProbe, 0, 0);
    EXPECT_TRUE(seen.empty());
}

TEST(ApplicationHooks, TheHintTellsOfChangesOnly) {
    int told = 0;
    Application->OnHint = [&](TObject*) { ++told; };
    Application->SetHint("one");
    Application->SetHint("one");
    Application->SetHint("two");
    EXPECT_EQ(told, 2);
    EXPECT_EQ(Application->Hint(), "two");
    Application->OnHint = nullptr;
    Application->SetHint("");
}

TEST(ApplicationHooks, TheMessageLoopServesThreadsWaitingInSynchronize) {
    auto thread = MakeOwned<TSynchronizingThread>();
    ASSERT_TRUE(PumpUntil([&] { return thread->Finished(); }));
    EXPECT_EQ(thread->served.load(), 3);
    EXPECT_TRUE(thread->ranOnMain);
}
