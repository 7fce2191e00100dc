// TDirMon: watches one directory with a worker thread and raises
// OnDirChange on the owner's thread for every change notification. The
// owner's thread holds a mutex while the monitor runs; letting go of it is
// the worker's signal to end.
#pragma once
#include <string>

#include "classlib/core/component.h"
#include "classlib/core/events.h"
#include "classlib/core/kernel_handle.h"
#include "classlib/core/sets.h"
#include "classlib/core/typinfo.h"
#include "classlib/gui/messages.h"

struct TDirMonBlock;

enum TDirMonValue { dmcFileName, dmcDirName, dmcAttributes, dmcSize, dmcLastWrite, dmcSecurity };
DECLARE_ENUM_TYPE(TDirMonValue)
using TDirMonType = TSet<TDirMonValue>;

class TDirMon : public TComponent {
    DECLARE_CLASS(TDirMon, TComponent)
public:
    explicit TDirMon(TComponent* owner);
    ~TDirMon() override;

    const std::string& Directory() const { return directory_; }
    // Drops one trailing backslash (not that of a root such as "C:\");
    // another directory restarts the monitor, also one that was idle.
    void SetDirectory(const std::string& value);
    TDirMonType NotifyFilter() const;
    // Only while idle.
    void SetNotifyFilter(TDirMonType value);
    bool Nested() const { return nested_; }
    // Read at Start.
    void SetNested(bool value) { nested_ = value; }
    bool Running() const { return static_cast<bool>(thread_); }

    // Nothing happens when running already or without a directory; a
    // directory of more than 263 characters is refused.
    void Start();
    // Raises when idle.
    void Stop();

    TNotifyEvent OnDirChange;
    TNotifyEvent OnStart;
    TNotifyEvent OnStop;

protected:
    // Runs OnDirChange; nothing it raises gets out.
    virtual void DoDirChange();
    virtual void DoStart();
    virtual void DoStop();
    virtual void WMDirChange(TMessage& message);

private:
    void WndProc(TMessage& message);
    // Ends the worker (the owner's thread lets go of the mutex) and gives
    // back everything Start took.
    void EndWorker();

    std::string directory_;
    DWORD notify_mask_ = FILE_NOTIFY_CHANGE_FILE_NAME;
    HWND window_ = nullptr;
    TDirMonBlock* block_ = nullptr;
    TKernelHandle mutex_;
    bool nested_ = false;
    TKernelHandle thread_;
    DWORD thread_id_ = 0;
};
