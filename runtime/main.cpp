// Playstub: the menu runtime. It shows the document attached to its own
// program file in the player window, or says that none is attached.
#include "classlib/core/unit_starts.h"
#include "classlib/gui/application.h"
#include "classlib/gui/program_entry.h"
#include "player/play_form.h"
#include "runtime/holder_form.h"
#include "runtime/runtime_classes.h"
#include "runtime/runtime_units.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return RunProgram([] {
        TUnitStarts units(RuntimeUnits());
        // Without the shell the start-up has told the user and asked to end.
        if (!units.Complete()) return;
        RegisterRuntimeClasses();
        Application->Initialize();
        Application->SetTitle("Quillory 1.0");
        Application->CreateForm(PlayForm);
        Application->CreateForm(CopyFileForm);
        Application->CreateForm(MainForm);
        Application->Run();
    });
}
