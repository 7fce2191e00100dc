// Document-level input/output errors, raised as the class library's
// EInOutError so callers handle them like every other file error. Neither
// touches the pending I/O result.
#pragma once

// Reading past the end of the document (code 100).
[[noreturn]] void RaiseEndOfFile();
// A document whose structure the writer never produces.
[[noreturn]] void RaiseDamagedDocument();
