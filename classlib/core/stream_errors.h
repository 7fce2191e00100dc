// The failures the readers of form streams and stored picture data share:
// bytes no writer produces, and nesting deeper than any real layout.
#pragma once
#include "classlib/core/scoped_count.h"

// EReadError for a stream whose bytes no writer produces.
[[noreturn]] void RaiseInvalidImage();

// Deeper nesting than any real layout; stops corrupt input from exhausting
// the stack.
constexpr int kMaxStreamNesting = 256;

// One level deeper for the lifetime of the result; raises EReadError when
// depth already stands at kMaxStreamNesting.
TScopedCount EnterNesting(int& depth);
