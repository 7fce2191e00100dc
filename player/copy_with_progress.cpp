#include "player/copy_with_progress.h"

#include <cstdint>
#include <optional>

#include "classlib/core/fileutils.h"
#include "classlib/core/kernel_handle.h"
#include "classlib/platform/interaction.h"
#include "classlib/core/strutils.h"
#include "classlib/core/file_mode_scope.h"
#include "classlib/core/untyped_file.h"
#include "classlib/core/replacement_file.h"

namespace {

constexpr int32_t kBlockSize = 2048;

// Lets only paint messages through: input waits until the copy is over, so
// nothing can start a second copy or quit in the middle, and no message is
// handled twice.
void PaintPending(HWND window) {
    MSG msg;
    if (window && PeekMessageA(&msg, window, WM_PAINT, WM_PAINT, PM_REMOVE)) DispatchMessageA(&msg);
}

void CopyFileTimes(const std::string& source, const std::string& destination) {
    SECURITY_ATTRIBUTES sa{sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
    FILETIME created, accessed, written;
    {
        TKernelHandle from(
            CreateFileA(source.c_str(), GENERIC_READ, 0, &sa, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!from || !GetFileTime(from.Get(), &created, &accessed, &written)) return;
    }
    TKernelHandle to(
        CreateFileA(destination.c_str(), GENERIC_WRITE, 0, &sa, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (to) SetFileTime(to.Get(), &created, &accessed, &written);
}

}  // namespace

bool CopyFileWithProgress(const std::string& source, const std::string& destination, TCopyProgress& progress) {
    bool failed = SameFile(source, destination);
    if (!failed) {
        // Written beside the destination, which it replaces when complete.
        std::optional<TReplacementFile> copy;
        TUntypedFile from, to;
        {
            TFileModeScope readOnly(0);
            from.Assign(source);
            from.Reset(1);
        }
        failed = IOResult() != 0;
        if (!failed) {
            copy.emplace(destination);
            failed = copy->Name().empty();
        }
        if (!failed) {
            to.Assign(copy->Name());
            to.Rewrite(1);
            failed = IOResult() != 0;
        }
        if (!failed) {
            int64_t size = from.FileSize();
            int64_t total = 0;
            IOResult();
            char buffer[kBlockSize];
            int32_t read = 0, written = 0;
            do {
                from.BlockRead(buffer, kBlockSize, read);
                if (IOResult() != 0) failed = true;
                total += read;
                int percent = size != 0 ? static_cast<int>(total * 100 / size) : 0;
                to.BlockWrite(buffer, read, written);
                // A medium that is full takes fewer bytes without an error.
                if (IOResult() != 0 || written != read) failed = true;
                progress.SetProStatus(percent);
                PaintPending(progress.ProgressWindow());
            } while (read != 0 && written == read);
            from.Close();
            if (IOResult() != 0) failed = true;
            to.Close();
            if (IOResult() != 0) failed = true;
            if (!failed) {
                CopyFileTimes(source, copy->Name());
                failed = copy->Commit() != 0;
            }
        }
    }
    if (failed)
        Interaction().MessageBox(progress.ProgressWindow(), "Could not copy file!", "Error",
                                 MB_TASKMODAL | MB_ICONINFORMATION);
    progress.SetProStatus(0);
    return !failed;
}
