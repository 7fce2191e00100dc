#include "classlib/core/file_size_limit.h"

#include <algorithm>
#include <atomic>

namespace FileBackend {

namespace {

std::atomic<int64_t> size_limit{-1};

}  // namespace

void SetFileSizeLimitForTesting(int64_t bytes) {
    size_limit = bytes;
}

int64_t FittingBelowSizeLimit(Handle handle, int64_t count) {
    const int64_t limit = size_limit.load();
    int64_t position = 0;
    if (limit < 0 || Position(handle, position) != 0) return count;
    return std::clamp<int64_t>(limit - position, 0, count);
}

}  // namespace FileBackend
