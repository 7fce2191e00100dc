#include "shell/thread_pool.h"

#include <objbase.h>

#include "classlib/core/scope_exit.h"
#include "classlib/gui/application.h"
#include "shell/shell_namespace_unit.h"

namespace {

// The system's basic information as NtQuerySystemInformation (class 0)
// fills it: 44 bytes in a 32-bit process, the processor count at 40.
struct TSystemBasicInformation {
    ULONG Reserved;
    ULONG TimerResolution;
    ULONG PageSize;
    ULONG NumberOfPhysicalPages;
    ULONG LowestPhysicalPageNumber;
    ULONG HighestPhysicalPageNumber;
    ULONG AllocationGranularity;
    ULONG_PTR MinimumUserModeAddress;
    ULONG_PTR MaximumUserModeAddress;
    ULONG_PTR ActiveProcessorsAffinityMask;
    CCHAR NumberOfProcessors;
};
#ifndef _WIN64
static_assert(sizeof(TSystemBasicInformation) == 44 && offsetof(TSystemBasicInformation, NumberOfProcessors) == 40);
#endif

using TNtQuerySystemInformation = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);

TNtQuerySystemInformation NtQuerySystemInformationEntry() {
    static const TNtQuerySystemInformation entry = [] {
        HMODULE ntdll = GetModuleHandleA("ntdll.dll");
        return ntdll ? reinterpret_cast<TNtQuerySystemInformation>(
                           reinterpret_cast<void*>(GetProcAddress(ntdll, "NtQuerySystemInformation")))
                     : nullptr;
    }();
    return entry;
}

// On the main thread: runs what threads hand to it, and its messages.
void ProcessPendingMessages() {
    if (!IsMainThread()) return;
    CheckSynchronize();
    if (Application) Application->ProcessMessages();
}

// True once GetTickCount has reached the deadline (wrap-around safe).
bool Reached(uint32_t deadline) {
    return static_cast<int32_t>(GetTickCount() - deadline) >= 0;
}

}  // namespace

int32_t PoolProcessorCount(bool ntPlatform) {
    if (!ntPlatform) return 1;
    TNtQuerySystemInformation query = NtQuerySystemInformationEntry();
    if (!query) return 1;
    TSystemBasicInformation info{};
    if (query(0, &info, sizeof info, nullptr) != 0) return 1;
    return info.NumberOfProcessors > 0 ? info.NumberOfProcessors : 1;
}

// ---- TQarThread

TQarThread::TQarThread(bool createSuspended) : TThread(createSuspended) {}

void TQarThread::SetHold(bool hold) {
    hold_ = hold;
}

bool TQarThread::WaitWhileHeld() {
    while (hold_ && !Terminated()) Sleep(100);
    return Terminated();
}

void TQarThread::Execute() {
    WaitWhileHeld();
}

void TQarThread::DoTerminate() {
    done_ = true;
    std::exception_ptr failure;
    try {
        TThread::DoTerminate();
    } catch (...) {
        failure = std::current_exception();
    }
    if (pool_) Synchronize([this] { ReportTermination(); });
    if (failure) std::rethrow_exception(failure);
}

void TQarThread::ReportTermination() {
    TCustomThreadPool* pool = pool_;
    if (!pool) return;
    // The thread frees itself after this: it must leave the list also when
    // the handler fails.
    try {
        if (pool->OnThreadDone) pool->OnThreadDone(this);
    } catch (...) {
        pool->RemoveThread(this);
        throw;
    }
    pool->RemoveThread(this);
}

// ---- TCustomThreadPool

TCustomThreadPool::TCustomThreadPool()
    : TObjectList(false), max_threads_(PoolProcessorCount(ShellSystemFlags().NTPlatform) * 8) {}

void TCustomThreadPool::BeforeDestruction() {
    StopAll(true);
    TObjectList::BeforeDestruction();
}

int TCustomThreadPool::AddThread(TQarThread* thread) {
    std::lock_guard guard(lock_);
    return Add(thread);
}

void TCustomThreadPool::Notify(void* item, TListNotification action) {
    auto* thread = static_cast<TQarThread*>(static_cast<TObject*>(item));
    if (action == lnAdded) {
        thread->pool_ = this;
        thread->SetPriority(priority_);
    } else if (action == lnDeleted && Count() == 0) {
        // Off the main thread only a hard stop empties the list, and the
        // main thread may be waiting for that stop: nobody is told then.
        if (IsMainThread() && OnPoolEmpty) TThread::Synchronize(thread, [this] { OnPoolEmpty(this); });
        stopping_ = false;
    }
    TObjectList::Notify(item, action);
}

void TCustomThreadPool::RemoveThread(TQarThread* thread) {
    if (thread->Done()) {
        std::lock_guard guard(lock_);
        Remove(thread);
    } else {
        StopThread(thread);
    }
}

bool TCustomThreadPool::ContainsThread(TQarThread* thread) {
    std::lock_guard guard(lock_);
    for (int i = Count() - 1; i >= 0; --i)
        if (Items(i) == thread) return true;
    return false;
}

int TCustomThreadPool::ThreadCount() {
    std::lock_guard guard(lock_);
    return Count();
}

void TCustomThreadPool::StopThread(TQarThread* thread) {
    StopThreadUntil(thread, GetTickCount() + static_cast<uint32_t>(hard_stop_delay_));
}

void TCustomThreadPool::StopThreadUntil(TQarThread* thread, uint32_t deadline) {
    stopping_ = true;
    if (!thread) return;
    if (thread->Done()) {
        // Its report to the pool may be waiting for the main thread.
        ProcessPendingMessages();
        if (Reached(deadline)) HardStop(thread);
        return;
    }
    thread->Terminate();
    if (thread->Suspended()) thread->Resume();
    while (!Reached(deadline)) {
        Sleep(5);
        ProcessPendingMessages();
        if (!ContainsThread(thread)) return;
    }
    HardStop(thread);
}

void TCustomThreadPool::HardStop(TQarThread* thread) {
    bool killed = false;
    {
        std::lock_guard guard(lock_);
        if (IndexOf(thread) < 0) return;  // it removed itself meanwhile
        // A thread waiting for the main thread runs none of its work and
        // cannot be killed safely: it is let go, and once the main thread
        // has answered it ends without the pool and frees itself.
        if (!thread->Done() && !IsWaitingForMainThread(thread)) {
            TerminateThread(reinterpret_cast<HANDLE>(thread->Handle()), 0);
            killed = true;
        }
        thread->pool_ = nullptr;
        Remove(thread);
    }
    if (killed) thread->Free();
}

void TCustomThreadPool::StopAll(bool wait) {
    stopping_ = true;
    {
        std::lock_guard guard(lock_);
        for (int i = Count() - 1; i >= 0; --i) {
            auto* thread = static_cast<TQarThread*>(Items(i));
            if (auto* worker = dynamic_cast<TWorkerThread*>(thread)) worker->TerminateAndCancel();
            else thread->Terminate();
            if (thread->Suspended()) thread->Resume();
        }
    }
    if (!wait) return;
    Sleep(10);
    // One bound for all threads: a thread whose report cannot reach the
    // main thread must not keep this loop going.
    uint32_t deadline = GetTickCount() + static_cast<uint32_t>(hard_stop_delay_);
    for (;;) {
        TQarThread* first;
        {
            std::lock_guard guard(lock_);
            if (Count() == 0) return;
            first = static_cast<TQarThread*>(Items(0));
        }
        StopThreadUntil(first, deadline);
    }
}

// ---- TWorkItemsQueue

int TWorkItemsQueue::Clear() {
    // The items are released outside the lock: their destructors are not
    // ours.
    std::vector<TWorkItemRef> gone;
    {
        std::lock_guard guard(lock_);
        gone.swap(items_);
    }
    return static_cast<int>(gone.size());
}

int TWorkItemsQueue::Count() {
    std::lock_guard guard(lock_);
    return static_cast<int>(items_.size());
}

void TWorkItemsQueue::Add(TWorkItemRef item) {
    std::lock_guard guard(lock_);
    items_.push_back(std::move(item));
}

TWorkItemRef TWorkItemsQueue::TakeFirst() {
    std::lock_guard guard(lock_);
    if (items_.empty()) return nullptr;
    TWorkItemRef first = std::move(items_.front());
    items_.erase(items_.begin());
    return first;
}

int TWorkItemsQueue::RemoveByKey(int32_t key) {
    std::vector<TWorkItemRef> gone;
    {
        std::lock_guard guard(lock_);
        std::vector<TWorkItemRef> kept;
        for (TWorkItemRef& item : items_) (item->Key() == key ? gone : kept).push_back(std::move(item));
        items_.swap(kept);
    }
    return static_cast<int>(gone.size());
}

// ---- TWorkerThread

TWorkerThread::TWorkerThread(TWorkerThreadPool* pool, bool useCom)
    : TQarThread(true), work_pool_(pool), com_(useCom) {
    SetFreeOnTerminate(true);
}

TWorkItemRef TWorkerThread::Current() {
    std::lock_guard guard(current_lock_);
    return current_;
}

void TWorkerThread::SetCurrent(TWorkItemRef item) {
    std::lock_guard guard(current_lock_);
    current_ = std::move(item);
}

void TWorkerThread::CancelCurrent() {
    if (TWorkItemRef item = Current()) item->Cancel();
    if (Suspended()) Resume();
}

void TWorkerThread::CancelCurrent(int32_t key) {
    TWorkItemRef item = Current();
    if (item && (key == 0 || item->Key() == key)) item->Cancel();
    if (Suspended()) Resume();
}

void TWorkerThread::TerminateAndCancel() {
    Terminate();
    CancelCurrent();
}

void TWorkerThread::SetHold(bool hold) {
    TQarThread::SetHold(hold);
    if (TWorkItemRef item = Current()) item->SetHold(hold);
}

TWorkItemRef TWorkerThread::GetItem() {
    TWorkItemRef item = work_pool_->Queue().TakeFirst();
    if (item) return item;
    uint32_t first = GetTickCount();
    // While it waits the worker counts as free, and an item queued then
    // starts no other worker: from here on the worker stops waiting only
    // together with a look at the queue.
    ++work_pool_->idle_workers_;
    for (;;) {
        if (Terminated()) {
            // Stopped: what is queued stays for the pool to clear.
            work_pool_->StopWaiting();
            return nullptr;
        }
        if (GetTickCount() - first > static_cast<uint32_t>(work_pool_->IdleTimeout())) {
            if (work_pool_->WorkerTimingOut) work_pool_->WorkerTimingOut();
            item = work_pool_->TakeForWaitingWorker(true);
            if (!item) TerminateAndCancel();
            return item;
        }
        Sleep(10);
        item = work_pool_->TakeForWaitingWorker(false);
        if (item) return item;
    }
}

void TWorkerThread::Execute() {
    TQarThread::Execute();
    if (com_) {
        HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
        if (result != S_OK && result != S_FALSE) return;
    }
    TScopeExit uninitialize([this] {
        if (com_) CoUninitialize();
    });
    while (!WaitWhileHeld()) {
        TWorkItemRef item = GetItem();
        SetCurrent(item);
        if (!item) continue;
        item->Execute();
        if (TThreadMethod done = item->CompletionHandler()) Synchronize(done);
        SetCurrent(nullptr);
        // A worker let go by a hard stop no longer counts for its pool,
        // which may be gone.
        if (!Pool()) break;
        work_pool_->WorkDone(1, this);
    }
}

// ---- TWorkerThreadPool

TWorkerThreadPool::TWorkerThreadPool(bool useCom) : queue_(MakeOwned<TWorkItemsQueue>()), com_(useCom) {}

TWorkerThreadPool::~TWorkerThreadPool() = default;

void TWorkerThreadPool::Notify(void* item, TListNotification action) {
    TCustomThreadPool::Notify(item, action);
    auto* thread = static_cast<TQarThread*>(static_cast<TObject*>(item));
    if (action == lnAdded && thread->Suspended()) thread->Resume();
}

void TWorkerThreadPool::AddWorkItem(TWorkItemRef item) {
    if (!item) return;
    ++pending_;
    bool aWorkerWaits;
    {
        // A worker counted as waiting here looks at the queue before it
        // stops waiting, and finds the item.
        std::lock_guard guard(queue_->ListLock());
        queue_->Add(std::move(item));
        aWorkerWaits = idle_workers_ > 0;
    }
    if (aWorkerWaits || ThreadCount() >= MaxThreads()) return;
    AddThread(New<TWorkerThread>(this, com_));  // starts it
}

void TWorkerThreadPool::StopWaiting() {
    std::lock_guard guard(queue_->ListLock());
    --idle_workers_;
}

TWorkItemRef TWorkerThreadPool::TakeForWaitingWorker(bool lastLook) {
    std::lock_guard guard(queue_->ListLock());
    TWorkItemRef item = queue_->TakeFirst();
    if (item || lastLook) --idle_workers_;
    return item;
}

void TWorkerThreadPool::WorkDone(int count, TThread* syncThread) {
    if (count <= 0) return;
    if ((pending_ -= count) != 0) return;
    auto fire = [this] {
        if (OnAllWorkDone) OnAllWorkDone(this);
    };
    if (syncThread) TThread::Synchronize(syncThread, fire);
    else fire();
}

void TWorkerThreadPool::CancelItems(int32_t key) {
    cancelling_ = true;
    cancelled_ = true;
    TScopeExit done([this] { cancelling_ = false; });
    int removed = key == 0 ? queue_->Clear() : queue_->RemoveByKey(key);
    {
        std::lock_guard guard(Lock());
        for (int i = Count() - 1; i >= 0; --i)
            if (auto* worker = dynamic_cast<TWorkerThread*>(static_cast<TObject*>(Items(i))))
                worker->CancelCurrent(key);
    }
    WorkDone(removed, nullptr);
}

void TWorkerThreadPool::StopAll(bool wait) {
    CancelItems(0);
    TCustomThreadPool::StopAll(wait);
    queue_->Clear();
    if (pending_.exchange(0) != 0 && OnAllWorkDone) OnAllWorkDone(this);
}
