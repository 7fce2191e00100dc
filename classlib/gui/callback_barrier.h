// The boundary between the system's callbacks into our code (window
// procedures, enumeration and timer callbacks) and the code they run: no C++
// exception may unwind through the system's frames. Every such callback
// runs its work inside CallbackBarrier.
#pragma once
#include <exception>

class TObject;

// Reports the exception being handled (call from a catch block) through
// the application's HandleException. A handler that fails itself has its
// failure shown as a plain message box; without an application (at
// shut-down), or when even that fails, the exception only goes to the
// debugger's output. Never throws.
void ReportException(TObject* sender) noexcept;

namespace callback_barrier {
inline void Absorb(TObject* sender) noexcept {
    ReportException(sender);
}
// The first exception, kept for the code that started an enumeration to
// rethrow once the system has returned.
inline void Absorb(std::exception_ptr& carried) noexcept {
    if (!carried) carried = std::current_exception();
}
}  // namespace callback_barrier

// Runs body and returns its result. An exception leaving body goes no
// further: it is reported for the sender (a TObject*, may be null) or kept
// in a std::exception_ptr, and fallback is returned instead.
template <class Sink, class Result, class Body>
Result CallbackBarrier(Sink&& sink, Result fallback, Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        callback_barrier::Absorb(sink);
        return fallback;
    }
}

// The same for a body without result: true when it completed.
template <class Sink, class Body>
bool CallbackBarrier(Sink&& sink, Body&& body) noexcept {
    return CallbackBarrier(sink, false, [&body] {
        body();
        return true;
    });
}
