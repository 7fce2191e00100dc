#include "classlib/gui/program_entry.h"

#include <string>

#include "classlib/gui/application.h"
#include "classlib/platform/interaction.h"

namespace {

void ShowFatalText(const char* text) {
    std::string caption = Application ? Application->Title() : std::string();
    Interaction().MessageBox(nullptr, text, caption.empty() ? nullptr : caption.c_str(),
                             MB_OK | MB_ICONSTOP | MB_TASKMODAL);
}

}  // namespace

void ShowFatalException() noexcept {
    try {
        try {
            throw;
        } catch (const EAbort&) {
        } catch (const std::exception& e) {
            ShowFatalText(e.what());
        } catch (...) {
            ShowFatalText("Unknown exception");
        }
    } catch (...) {
        OutputDebugStringA("The program's last error could not be shown\n");
    }
}

int RunProgram(const std::function<void()>& body) noexcept {
    int exitCode = 0;
    try {
        ClassLibStartup();
        body();
    } catch (...) {
        ShowFatalException();
        exitCode = 1;
    }
    try {
        ClassLibShutdown();
    } catch (...) {
        if (exitCode == 0) ShowFatalException();
        exitCode = 1;
    }
    return exitCode;
}
