#include "runtime/dir_mon.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>

#include "classlib/core/filer.h"
#include "classlib/core/kernel_handle.h"
#include "classlib/core/scratch_folder_test.h"
#include "classlib/testing/gui_testing.h"
#include "runtime/dir_mon_worker.h"

namespace {

// What the monitor handed to its worker threads; can refuse to start them.
struct TStarts {
    int Count = 0;
    TDirMonBlock Block;
    bool Refuse = false;
    TKernelHandle Thread;          // a copy of the last started thread's handle
    HANDLE MutexSeen = nullptr;    // the mutex of a refused start, as handed over
    TKernelHandle MutexCopy;       // a copy of it that outlives the monitor's
};
TStarts starts;

TKernelHandle Duplicate(HANDLE handle) {
    HANDLE copy = nullptr;
    DuplicateHandle(GetCurrentProcess(), handle, GetCurrentProcess(), &copy, 0, FALSE, DUPLICATE_SAME_ACCESS);
    return TKernelHandle(copy);
}

HANDLE RecordingStarter(TDirMonBlock* block, DWORD* threadId) {
    ++starts.Count;
    starts.Block = *block;
    if (starts.Refuse) {
        starts.MutexSeen = block->Mutex;
        starts.MutexCopy = Duplicate(block->Mutex);
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    HANDLE thread = CreateDirMonThread(block, threadId);
    if (thread) starts.Thread = Duplicate(thread);
    return thread;
}

std::string RaisedText(const std::function<void()>& action) {
    try {
        action();
    } catch (const Exception& e) {
        return e.Message();
    }
    return "(nothing raised)";
}

DWORD ExitCodeOf(HANDLE thread) {
    DWORD code = STILL_ACTIVE;
    GetExitCodeThread(thread, &code);
    return code;
}

class DirMonTest : public ScratchFolderTest {
protected:
    void SetUp() override {
        ScratchFolderTest::SetUp();
        starts = TStarts{};
        StartDirMonThread = RecordingStarter;
        mon = MakeOwned<TDirMon>(nullptr);
        mon->OnStart = [this](TObject*) { ++started; };
        mon->OnStop = [this](TObject*) { ++stopped; };
    }
    void TearDown() override {
        mon.reset();
        StartDirMonThread = CreateDirMonThread;
        starts = TStarts{};
    }
    // The scratch folder without its trailing backslash.
    std::string Folder() const { return scratch.Folder().substr(0, scratch.Folder().size() - 1); }

    TOwned<TDirMon> mon;
    int started = 0, stopped = 0;
};

TEST_F(DirMonTest, DirectoryTextsAndRestarts) {
    mon->SetDirectory(scratch.Folder());
    EXPECT_EQ(mon->Directory(), Folder());
    EXPECT_TRUE(mon->Running());
    EXPECT_EQ(std::string(starts.Block.Directory), Folder());
    EXPECT_EQ(starts.Block.NotifyMask, static_cast<DWORD>(FILE_NOTIFY_CHANGE_FILE_NAME));
    EXPECT_FALSE(starts.Block.Nested);
    EXPECT_EQ(started, 1);

    // The same directory, with or without its backslash, changes nothing.
    mon->SetDirectory(Folder());
    mon->SetDirectory(scratch.Folder());
    EXPECT_EQ(starts.Count, 1);

    ASSERT_TRUE(ForceDirectories(scratch.Path("sub")));
    mon->SetNested(true);
    mon->SetDirectory(scratch.Path("sub"));
    EXPECT_EQ(stopped, 1);
    EXPECT_EQ(started, 2);
    EXPECT_EQ(std::string(starts.Block.Directory), scratch.Path("sub"));
    EXPECT_TRUE(starts.Block.Nested);

    // A root keeps its backslash.
    mon->SetDirectory("C:\\");
    EXPECT_EQ(mon->Directory(), "C:\\");
    EXPECT_EQ(std::string(starts.Block.Directory), "C:\\");
}

TEST_F(DirMonTest, TheFilterIsTheChangeMaskAndChangesOnlyWhileIdle) {
    mon->SetNotifyFilter({dmcSecurity});
    EXPECT_EQ(mon->NotifyFilter(), TDirMonType{dmcSecurity});
    mon->SetDirectory(Folder());
    EXPECT_EQ(starts.Block.NotifyMask, 0x100u);

    EXPECT_EQ(RaisedText([&] { mon->SetNotifyFilter({dmcFileName}); }),
              "Unable to change NotifyFilter when DirMon is running");
    EXPECT_EQ(mon->NotifyFilter(), TDirMonType{dmcSecurity});

    mon->Stop();
    TDirMonType others{dmcFileName, dmcDirName, dmcAttributes, dmcSize, dmcLastWrite};
    mon->SetNotifyFilter(others);
    EXPECT_EQ(mon->NotifyFilter(), others);
    mon->Start();
    EXPECT_EQ(starts.Block.NotifyMask, 0x1Fu);

    mon->SetName("DirMon1");
    std::string text = WriteComponentToText(mon.get());
    size_t filter = text.find("NotifyFilter = [dmcFileName, dmcDirName, dmcAttributes, dmcSize, dmcLastWrite]");
    size_t nested = text.find("Nested = False");
    ASSERT_NE(filter, std::string::npos) << text;
    ASSERT_NE(nested, std::string::npos) << text;
    EXPECT_LT(filter, nested);
}

TEST_F(DirMonTest, StopAndDestructionEndTheWorker) {
    EXPECT_EQ(RaisedText([&] { mon->Stop(); }), "DirMon not started");
    mon->Start();  // no directory: nothing to do
    EXPECT_FALSE(mon->Running());
    EXPECT_EQ(starts.Count, 0);

    mon->SetDirectory(Folder());
    ASSERT_TRUE(starts.Thread);
    mon->Stop();
    EXPECT_FALSE(mon->Running());
    EXPECT_EQ(WaitForSingleObject(starts.Thread.Get(), 0), WAIT_OBJECT_0);
    EXPECT_EQ(ExitCodeOf(starts.Thread.Get()), 0u);
    EXPECT_EQ(stopped, 1);
    EXPECT_EQ(RaisedText([&] { mon->Stop(); }), "DirMon not started");

    mon->Start();
    TKernelHandle second = Duplicate(starts.Thread.Get());
    mon.reset();
    EXPECT_EQ(WaitForSingleObject(second.Get(), 0), WAIT_OBJECT_0);
    EXPECT_EQ(ExitCodeOf(second.Get()), 0u);
    EXPECT_EQ(stopped, 1);  // destruction tells no one

    // An idle monitor goes quietly.
    auto idle = MakeOwned<TDirMon>(nullptr);
    EXPECT_NO_THROW(idle.reset());
}

TEST_F(DirMonTest, ChangesArriveOnTheOwnersThreadAlsoAfterAFailingHandler) {
    int calls = 0;
    DWORD handlerThread = 0;
    mon->OnDirChange = [&](TObject* sender) {
        EXPECT_EQ(sender, mon.get());
        ++calls;
        handlerThread = GetCurrentThreadId();
        throw Exception("handler failed");
    };
    mon->SetDirectory(Folder());
    // The worker arms its notification on its own time, and changes made
    // while it re-arms may merge with the last one: make new files until
    // the next notification arrives.
    int made = 0;
    auto changesUntil = [&](int count) {
        return PumpUntil([&] {
            if (calls >= count) return true;
            MakeFile("file" + std::to_string(++made) + ".txt");
            return false;
        });
    };
    ASSERT_TRUE(changesUntil(1));
    EXPECT_EQ(handlerThread, GetCurrentThreadId());
    EXPECT_TRUE(changesUntil(2));
    EXPECT_TRUE(mon->Running());
}

TEST_F(DirMonTest, ADirectoryThatCannotBeWatchedEndsTheWorkerQuietly) {
    mon->SetDirectory(scratch.Path("missing"));
    EXPECT_TRUE(mon->Running());
    ASSERT_TRUE(starts.Thread);
    EXPECT_EQ(WaitForSingleObject(starts.Thread.Get(), 5000), WAIT_OBJECT_0);
    EXPECT_NE(ExitCodeOf(starts.Thread.Get()), 0u);
    mon->Stop();
    EXPECT_EQ(stopped, 1);
}

TEST_F(DirMonTest, StartRefusesADirectoryTooLongForTheWorkersBlock) {
    std::string longest = "C:\\" + std::string(260, 'd');  // 263 characters
    starts.Refuse = true;
    mon->SetNotifyFilter({dmcFileName});
    EXPECT_EQ(RaisedText([&] { mon->SetDirectory(longest); }), "CreateThread failed");
    EXPECT_EQ(starts.Count, 1);
    EXPECT_EQ(std::string(starts.Block.Directory), longest);

    EXPECT_EQ(RaisedText([&] { mon->SetDirectory(longest + "x"); }),
              "DirMon cannot watch a directory of more than 263 characters");
    EXPECT_EQ(mon->Directory(), longest + "x");
    EXPECT_EQ(starts.Count, 1);  // nothing was handed to a worker
    EXPECT_FALSE(mon->Running());
    EXPECT_EQ(RaisedText([&] { mon->Stop(); }), "DirMon not started");
}

TEST_F(DirMonTest, AFailedThreadStartGivesBackTheMutex) {
    starts.Refuse = true;
    EXPECT_EQ(RaisedText([&] { mon->SetDirectory(Folder()); }), "CreateThread failed");
    // Closed by the monitor (checked before anything else can reuse the
    // handle's value) ...
    ASSERT_NE(starts.MutexSeen, nullptr);
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(starts.MutexSeen, &flags));
    // ... and released first: another thread takes it at once.
    DWORD taken = WAIT_TIMEOUT;
    std::thread([&] {
        taken = WaitForSingleObject(starts.MutexCopy.Get(), 0);
        if (taken == WAIT_OBJECT_0) ReleaseMutex(starts.MutexCopy.Get());
    }).join();
    EXPECT_EQ(taken, WAIT_OBJECT_0);
    EXPECT_FALSE(mon->Running());
    EXPECT_EQ(started, 0);

    starts.Refuse = false;
    mon->Start();
    EXPECT_TRUE(mon->Running());
}

}  // namespace
