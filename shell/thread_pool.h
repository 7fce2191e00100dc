// A pool of background threads that take work items from a shared FIFO
// queue and run them: holding, cancelling by key, an idle end, completion
// handlers on the main thread and a bounded hard stop.
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "classlib/core/events.h"
#include "classlib/core/lists.h"
#include "classlib/core/syncobjs.h"
#include "classlib/core/thread.h"

// One piece of work. The pool holds it by shared reference; the item
// outlives the worker's use of it.
class IWorkItem {
public:
    virtual ~IWorkItem() = default;
    // Run on the main thread once the item has run; empty for none.
    virtual std::function<void()> CompletionHandler() = 0;
    // Groups items for cancelling (0 is no group: cancelling 0 means all).
    virtual int32_t Key() = 0;
    virtual void Execute() = 0;
    // Asks a running item to end early; called from another thread.
    virtual void Cancel() = 0;
    virtual void SetHold(bool hold) = 0;
};
using TWorkItemRef = std::shared_ptr<IWorkItem>;

class TCustomThreadPool;

// A thread that can be held and that reports its end to its pool.
class TQarThread : public TThread {
public:
    explicit TQarThread(bool createSuspended);

    // Execute has ended; the report to the pool may still be on its way.
    bool Done() const { return done_; }
    bool Hold() const { return hold_; }
    TCustomThreadPool* Pool() const { return pool_; }
    virtual void SetHold(bool hold);

protected:
    void DoTerminate() override;
    void Execute() override;
    // Sleeps in 100 ms steps while held and not terminated; the result is
    // Terminated().
    bool WaitWhileHeld();
    // On the main thread: the pool's OnThreadDone, then its RemoveThread.
    virtual void ReportTermination();

private:
    friend class TCustomThreadPool;
    std::atomic<bool> done_{false};
    std::atomic<bool> hold_{false};
    std::atomic<TCustomThreadPool*> pool_{nullptr};
};

using TThreadDoneEvent = TEvent<void(TQarThread* Thread)>;

// The list of a pool's threads; it does not own them (workers free
// themselves when they end).
class TCustomThreadPool : public TObjectList {
public:
    TCustomThreadPool();
    // Stops every thread, waiting for them.
    void BeforeDestruction() override;

    TThreadDoneEvent OnThreadDone;
    TNotifyEvent OnPoolEmpty;

    // Processor count times 8.
    int32_t MaxThreads() const { return max_threads_; }
    bool Paused() const { return paused_; }
    TThreadPriority Priority() const { return priority_; }
    // How long a stopped thread gets to end before it is killed.
    int32_t HardStopDelay() const { return hard_stop_delay_; }
    void SetHardStopDelay(int32_t ms) { hard_stop_delay_ = ms; }

    virtual int AddThread(TQarThread* thread);
    // A done thread leaves the list; another one is stopped.
    virtual void RemoveThread(TQarThread* thread);
    // Terminates every thread; with wait, returns when all are gone, or
    // given up once the hard-stop delay has passed.
    virtual void StopAll(bool wait);
    bool ContainsThread(TQarThread* thread);
    int ThreadCount();
    // Terminates the thread and waits for it to leave the list, at most the
    // hard-stop delay; then kills it.
    void StopThread(TQarThread* thread);

protected:
    void Notify(void* item, TListNotification action) override;
    TCriticalSection& Lock() { return lock_; }

private:
    // Stops the thread, waiting until the deadline (a GetTickCount value).
    void StopThreadUntil(TQarThread* thread, uint32_t deadline);
    // After the deadline, for a thread still in the list: one whose work
    // is done, or that waits for the main thread, leaves the list and frees
    // itself later; any other is killed, and freed here, since it never
    // will be by itself.
    void HardStop(TQarThread* thread);

    int32_t max_threads_;
    bool paused_ = false;
    TThreadPriority priority_ = tpNormal;
    int32_t hard_stop_delay_ = 3000;
    std::atomic<bool> stopping_{false};
    TCriticalSection lock_;
};

// The queue of waiting items, in arrival order.
class TWorkItemsQueue : public TObject {
public:
    // Returns how many items went.
    int Clear();
    int Count();
    void Add(TWorkItemRef item);
    // The first item, taken out; null when empty.
    TWorkItemRef TakeFirst();
    // Takes out every item of the key, keeping the others' order; returns
    // how many went.
    int RemoveByKey(int32_t key);

private:
    friend class TWorkerThreadPool;
    // Guards the items; held across a step that must see the queue as it
    // is (recursive: the operations above may run inside it).
    TCriticalSection& ListLock() { return lock_; }

    TCriticalSection lock_;
    std::vector<TWorkItemRef> items_;
};

class TWorkerThreadPool;

class TWorkerThread : public TQarThread {
public:
    // Created suspended; frees itself when it ends.
    TWorkerThread(TWorkerThreadPool* pool, bool useCom);

    // Asks the current item to end; wakes a suspended thread.
    void CancelCurrent();
    // Cancels the current item only when it belongs to the key (0: any).
    void CancelCurrent(int32_t key);
    void TerminateAndCancel();
    void SetHold(bool hold) override;

protected:
    void Execute() override;

private:
    TWorkItemRef Current();
    void SetCurrent(TWorkItemRef item);
    TWorkItemRef GetItem();

    TWorkerThreadPool* work_pool_;
    bool com_;
    TCriticalSection current_lock_;
    TWorkItemRef current_;
};

class TWorkerThreadPool : public TCustomThreadPool {
public:
    // useCom: workers run in a single-threaded COM apartment.
    explicit TWorkerThreadPool(bool useCom);
    ~TWorkerThreadPool() override;

    TNotifyEvent OnAllWorkDone;

    // Queues an item; starts a worker when no worker is free and the
    // maximum allows.
    void AddWorkItem(TWorkItemRef item);
    // Removes the queued items of the key (0: all) and asks running ones
    // of the key to end.
    void CancelItems(int32_t key);
    void StopAll(bool wait) override;

    TWorkItemsQueue& Queue() { return *queue_; }
    // Queued and running items.
    int32_t PendingWork() const { return pending_; }
    // How long a worker waits for work before it ends (milliseconds).
    int32_t IdleTimeout() const { return idle_timeout_; }
    void SetIdleTimeout(int32_t ms) { idle_timeout_ = ms; }
    bool UsesCom() const { return com_; }

    // Runs on a worker that has waited out the idle timeout, just before it
    // looks at the queue a last time and ends; empty by default. Tests put
    // work in at that moment.
    std::function<void()> WorkerTimingOut;

protected:
    void Notify(void* item, TListNotification action) override;

private:
    friend class TWorkerThread;
    // After one item ran, or items were cancelled unrun.
    void WorkDone(int count, TThread* syncThread);
    // For a waiting worker: the first queued item, and the worker waits no
    // longer when it gets one or, with lastLook, also when there is none.
    // Both in one step with the queue, so an item queued while the worker
    // counted as waiting is always taken by it.
    TWorkItemRef TakeForWaitingWorker(bool lastLook);
    // For a waiting worker that was stopped: it waits no longer, counted in
    // one step with the queue as every change of the count is.
    void StopWaiting();

    TOwned<TWorkItemsQueue> queue_;
    std::atomic<int32_t> idle_timeout_{60000};
    std::atomic<bool> cancelling_{false};
    std::atomic<int32_t> pending_{0};
    std::atomic<int32_t> idle_workers_{0};
    bool com_;
    std::atomic<bool> cancelled_{false};
};

// The processor count: on the NT platform from NtQuerySystemInformation,
// else (or when that fails) 1.
int32_t PoolProcessorCount(bool ntPlatform);
