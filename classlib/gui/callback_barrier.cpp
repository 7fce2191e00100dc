#include "classlib/gui/callback_barrier.h"

#include "classlib/gui/application.h"

namespace {

// The last resort: the debugger's output, written without allocating.
void TellDebugger(std::exception_ptr error) noexcept {
    const char* what = "unknown exception";
    try {
        std::rethrow_exception(error);
    } catch (const EAbort&) {
        return;
    } catch (const std::exception& e) {
        what = e.what();
    } catch (...) {
    }
    OutputDebugStringA("Exception not reported: ");
    OutputDebugStringA(what);
    OutputDebugStringA("\n");
}

}  // namespace

void ReportException(TObject* sender) noexcept {
    std::exception_ptr error = std::current_exception();
    if (!Application) {
        TellDebugger(error);
        return;
    }
    try {
        Application->HandleException(sender);
        return;
    } catch (...) {
        error = std::current_exception();
    }
    // The application's handler failed: its failure, shown plainly.
    try {
        std::rethrow_exception(error);
    } catch (const EAbort&) {
        return;
    } catch (const std::exception& e) {
        try {
            if (Application) {
                Application->ShowException(e);
                return;
            }
        } catch (...) {
            error = std::current_exception();
        }
    } catch (...) {
    }
    TellDebugger(error);
}
