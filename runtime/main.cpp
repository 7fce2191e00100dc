// Playstub: the menu runtime. It shows the document attached to its own
// program file in the player window, or says that none is attached.
#include "classlib/gui/application.h"
#include "runtime/holder_form.h"
#include "runtime/runtime_classes.h"
#include "player/play_form.h"
#include "classlib/gui/program_entry.h"
#include "controls/controls_startup.h"
#include "classlib/core/scope_exit.h"
#include "imaging/gif_image.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return RunProgram([] {
        StartControlUtilities();
        // (the icon clipboard format's start-up comes here, before the GIF one)
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
