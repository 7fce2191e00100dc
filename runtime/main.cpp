// Playstub: the menu runtime. It shows the document attached to its own
// program file in the player window, or says that none is attached.
#include "classlib/gui/application.h"
#include "runtime/holder_form.h"
#include "runtime/runtime_classes.h"
#include "player/play_form.h"
#include "classlib/gui/program_entry.h"
#include "controls/controls_startup.h"
#include "classlib/core/scope_exit.h"
#include "imaging/icon_clipboard.h"
#include "runtime/older_shell_unit.h"
#include "imaging/gif_image.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return RunProgram([] {
        // Unit start-ups in their order; shut-downs run in the reverse one.
        StartOlderShellUnit();
        TScopeExit stopOlderShell([] { StopOlderShellUnit(); });
        // Without the shell the start-up has told the user and asked to end.
        if (Application->Terminated()) return;
        StartControlUtilities();
        TScopeExit stopControls([] { StopControlUtilities(); });
        StartIconClipboardFormat();
        StartGIFImageUnit();
        TScopeExit stopGIFImage([] { StopGIFImageUnit(); });
        RegisterRuntimeClasses();
        Application->Initialize();
        Application->SetTitle("Quillory 1.0");
        Application->CreateForm(PlayForm);
        Application->CreateForm(CopyFileForm);
        Application->CreateForm(MainForm);
        Application->Run();
    });
}
