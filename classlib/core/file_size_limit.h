// The tests' stand-in for a full medium, shared by both file backends.
#pragma once
#include <cstdint>

#include "classlib/core/file_backend.h"

namespace FileBackend {

// How much of count fits below the size limit set for testing from the
// handle's position on (all of it when no limit is set).
int64_t FittingBelowSizeLimit(Handle handle, int64_t count);

}  // namespace FileBackend
