#include "classlib/core/replacement_file.h"

#include "classlib/core/file_backend.h"
#include "classlib/core/fileutils.h"
#include "classlib/core/paths.h"

namespace {

// System error codes of the file layer.
constexpr int kFileNotFound = 2;
constexpr int kAccessDenied = 5;
constexpr int kFileExists = 80;
// Side names tried beside a destination before giving up.
constexpr int kSideNames = 1000;

// 0 when the destination may be written or is not there yet; else why not.
int WriteRefusal(const std::string& destination) {
    if (FileBackend::IsMarkedReadOnly(destination)) return kAccessDenied;
    FileBackend::Handle handle = FileBackend::kNoHandle;
    const int error = FileBackend::Open(destination, FileBackend::Access::Write, handle);
    if (error == 0) FileBackend::Close(handle);
    return error == kFileNotFound ? 0 : error;
}

}  // namespace

TReplacementFile::TReplacementFile(const std::string& destination) : destination_(destination) {
    if (WriteRefusal(destination) != 0) return;
    const std::string folder = ExtractFilePath(destination);
    for (int n = 0; n < kSideNames; ++n) {
        std::string name = folder + "~qb" + std::to_string(n) + ".tmp";
        FileBackend::Handle handle = FileBackend::kNoHandle;
        int error = FileBackend::CreateNew(name, handle);
        if (error == 0) {
            FileBackend::Close(handle);
            name_ = std::move(name);
            return;
        }
        if (error != kFileExists) return;
    }
}

TReplacementFile::~TReplacementFile() {
    if (!name_.empty()) DeleteFile(name_);
}

int TReplacementFile::Commit() {
    if (name_.empty()) return kAccessDenied;
    // Asked again: the destination may have changed while the side file
    // was written.
    int error = WriteRefusal(destination_);
    if (error == 0) error = FileBackend::Replace(name_, destination_);
    if (error != 0) DeleteFile(name_);
    name_.clear();
    return error;
}
