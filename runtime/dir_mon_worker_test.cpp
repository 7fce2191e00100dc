#include "runtime/dir_mon_worker.h"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <string>

namespace {

// Answers the worker's waits from a script; once the script is used up it
// answers with the stop signal, so a worker that keeps waiting still ends.
class TScriptedCalls : public TDirMonCalls {
public:
    std::deque<DWORD> Waits;
    HANDLE Notification = reinterpret_cast<HANDLE>(0x40);
    bool NextSucceeds = true;
    DWORD Error = 0;
    std::string Watched;
    bool WatchedNested = false;
    DWORD WatchedMask = 0;
    int WaitCalls = 0, Posts = 0, Closes = 0, Releases = 0;

    HANDLE FindFirst(const char* directory, bool nested, DWORD mask) override {
        Watched = directory;
        WatchedNested = nested;
        WatchedMask = mask;
        return Notification;
    }
    DWORD WaitForEither(HANDLE, HANDLE) override {
        ++WaitCalls;
        if (Waits.empty()) return WAIT_OBJECT_0 + 1;
        DWORD result = Waits.front();
        Waits.pop_front();
        return result;
    }
    bool FindNext(HANDLE) override { return NextSucceeds; }
    void CloseNotification(HANDLE) override { ++Closes; }
    void PostChange(HWND) override { ++Posts; }
    void ReleaseMutex(HANDLE) override { ++Releases; }
    DWORD LastError() override { return Error; }
};

TDirMonBlock BlockFor(const char* directory) {
    TDirMonBlock block;
    strcpy(block.Directory, directory);
    block.NotifyMask = FILE_NOTIFY_CHANGE_DIR_NAME;
    block.Nested = true;
    return block;
}

TEST(DirMonWorker, PostsEveryChangeUntilItTakesTheOwnersMutex) {
    TDirMonBlock block = BlockFor("C:\\watched");
    TScriptedCalls calls;
    calls.Waits = {WAIT_OBJECT_0, WAIT_TIMEOUT, WAIT_OBJECT_0, WAIT_OBJECT_0 + 1, WAIT_OBJECT_0};
    EXPECT_EQ(WatchDirectory(&block, calls), 0u);
    EXPECT_EQ(calls.Watched, "C:\\watched");
    EXPECT_TRUE(calls.WatchedNested);
    EXPECT_EQ(calls.WatchedMask, static_cast<DWORD>(FILE_NOTIFY_CHANGE_DIR_NAME));
    EXPECT_EQ(calls.Posts, 2);
    EXPECT_EQ(calls.WaitCalls, 4);
    EXPECT_EQ(calls.Closes, 1);
    EXPECT_EQ(calls.Releases, 1);

    // An owner thread that ended holding the mutex leaves it abandoned:
    // the worker holds it then, and ends all the same.
    TScriptedCalls abandoned;
    abandoned.Waits = {WAIT_ABANDONED_0 + 1, WAIT_OBJECT_0};
    EXPECT_EQ(WatchDirectory(&block, abandoned), 0u);
    EXPECT_EQ(abandoned.Posts, 0);
    EXPECT_EQ(abandoned.Releases, 1);
}

TEST(DirMonWorker, AFailedWaitEndsTheWorkerInsteadOfWaitingAgain) {
    TDirMonBlock block = BlockFor("C:\\watched");
    TScriptedCalls calls;
    calls.Waits = {WAIT_FAILED, WAIT_OBJECT_0};
    calls.Error = ERROR_INVALID_HANDLE;
    EXPECT_EQ(WatchDirectory(&block, calls), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(calls.WaitCalls, 1);
    EXPECT_EQ(calls.Posts, 0);
    EXPECT_EQ(calls.Closes, 1);
    EXPECT_EQ(calls.Releases, 0);  // it never held the mutex
}

TEST(DirMonWorker, EndsWithTheSystemsErrorWhenWatchingFails) {
    TDirMonBlock block = BlockFor("C:\\gone");
    TScriptedCalls unwatchable;
    unwatchable.Notification = INVALID_HANDLE_VALUE;
    unwatchable.Error = ERROR_PATH_NOT_FOUND;
    EXPECT_EQ(WatchDirectory(&block, unwatchable), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(unwatchable.WaitCalls, 0);
    EXPECT_EQ(unwatchable.Closes, 0);

    TScriptedCalls rearmFails;
    rearmFails.Waits = {WAIT_OBJECT_0, WAIT_OBJECT_0};
    rearmFails.NextSucceeds = false;
    rearmFails.Error = ERROR_ACCESS_DENIED;
    EXPECT_EQ(WatchDirectory(&block, rearmFails), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(rearmFails.Posts, 1);
    EXPECT_EQ(rearmFails.Closes, 1);
    EXPECT_EQ(rearmFails.Releases, 0);

    EXPECT_EQ(WatchDirectory(nullptr, rearmFails), 1u);
}

}  // namespace
