#include "runtime/dir_mon.h"

#include <cstring>
#include <utility>

#include "classlib/core/class_builder.h"
#include "classlib/gui/allocate_hwnd.h"
#include "runtime/dir_mon_worker.h"

namespace {

// The change-notification flag of each TDirMonValue, in its order.
constexpr DWORD kNotifyFlags[] = {FILE_NOTIFY_CHANGE_FILE_NAME,  FILE_NOTIFY_CHANGE_DIR_NAME,
                                  FILE_NOTIFY_CHANGE_ATTRIBUTES, FILE_NOTIFY_CHANGE_SIZE,
                                  FILE_NOTIFY_CHANGE_LAST_WRITE, FILE_NOTIFY_CHANGE_SECURITY};

}  // namespace

DEFINE_ENUM_TYPE(TDirMonValue, "dmcFileName", "dmcDirName", "dmcAttributes", "dmcSize", "dmcLastWrite",
                 "dmcSecurity")

const TClassInfo& TDirMon::StaticClass() {
    static const TClassInfo info = DefineClass<TDirMon>("TDirMon", &TComponent::StaticClass(), [](auto& c) {
        c.Creatable();
        PROPERTY(c, Directory);
        PROPERTY(c, NotifyFilter);
        EVENT(c, OnDirChange);
        PROPERTY(c, Nested);
        EVENT(c, OnStart);
        EVENT(c, OnStop);
    });
    return info;
}

TDirMon::TDirMon(TComponent* owner) : TComponent(owner) {
    window_ = AllocateHWnd([this](TMessage& message) { WndProc(message); });
}

TDirMon::~TDirMon() {
    // As Stop, without telling OnStop.
    if (Running()) EndWorker();
    DeallocateHWnd(window_);
}

void TDirMon::SetDirectory(const std::string& value) {
    std::string dir = value;
    if (dir.size() > 3 && dir.back() == '\\') dir.pop_back();
    if (dir == directory_) return;
    if (Running()) Stop();
    directory_ = dir;
    Start();
}

TDirMonType TDirMon::NotifyFilter() const {
    TDirMonType set;
    for (int i = dmcFileName; i <= dmcSecurity; ++i)
        if (notify_mask_ & kNotifyFlags[i]) set += static_cast<TDirMonValue>(i);
    return set;
}

void TDirMon::SetNotifyFilter(TDirMonType value) {
    if (Running()) throw Exception("Unable to change NotifyFilter when DirMon is running");
    DWORD mask = 0;
    for (int i = dmcFileName; i <= dmcSecurity; ++i)
        if (value.Contains(static_cast<TDirMonValue>(i))) mask |= kNotifyFlags[i];
    notify_mask_ = mask;
}

void TDirMon::Start() {
    if (Running() || directory_.empty()) return;
    // The worker's copy must hold the whole text and its terminator.
    if (directory_.size() >= DirMonDirectorySize)
        throw Exception("DirMon cannot watch a directory of more than 263 characters");
    TKernelHandle mutex(CreateMutexA(nullptr, FALSE, nullptr));
    if (!mutex) throw Exception("CreateMutex failed");
    WaitForSingleObject(mutex.Get(), INFINITE);
    auto* block = new TDirMonBlock;
    block->Window = window_;
    block->Mutex = mutex.Get();
    block->NotifyMask = notify_mask_;
    block->Nested = nested_;
    std::memcpy(block->Directory, directory_.c_str(), directory_.size() + 1);
    DWORD id = 0;
    TKernelHandle thread(StartDirMonThread(block, &id));
    if (!thread) {
        // Nothing may stay behind: not the block, nor the mutex this
        // thread holds.
        delete block;
        ReleaseMutex(mutex.Get());
        throw Exception("CreateThread failed");
    }
    mutex_ = std::move(mutex);
    block_ = block;
    thread_ = std::move(thread);
    thread_id_ = id;
    DoStart();
}

void TDirMon::Stop() {
    if (!Running()) throw Exception("DirMon not started");
    EndWorker();
    DoStop();
}

void TDirMon::EndWorker() {
    ReleaseMutex(mutex_.Get());
    WaitForSingleObject(thread_.Get(), INFINITE);
    thread_.Reset();
    thread_id_ = 0;
    mutex_.Reset();
    delete block_;
    block_ = nullptr;
}

void TDirMon::DoDirChange() {
    try {
        if (OnDirChange) OnDirChange(this);
    } catch (...) {
        // A failing handler must not end the notifications.
    }
}

void TDirMon::DoStart() {
    if (OnStart) OnStart(this);
}

void TDirMon::DoStop() {
    if (OnStop) OnStop(this);
}

void TDirMon::WMDirChange(TMessage&) {
    DoDirChange();
}

void TDirMon::WndProc(TMessage& message) {
    if (message.Msg == WM_DIRCHANGE) {
        WMDirChange(message);
        return;
    }
    message.Result = DefWindowProcA(window_, message.Msg, message.WParam, message.LParam);
}
