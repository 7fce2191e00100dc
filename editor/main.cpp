// Quillory: the editor of CD menus.
#include "classlib/core/unit_starts.h"
#include "classlib/gui/application.h"
#include "classlib/gui/program_entry.h"
#include "editor/forms/editor_classes.h"
#include "editor/forms/main_form.h"
#include "editor/forms/new_server_form.h"
#include "editor/units/editor_units.h"
#include "player/play_form.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return RunProgram([] {
        TUnitStarts units(EditorUnits());
        RegisterEditorClasses();
        Application->Initialize();
        Application->SetTitle("Quillory 1.1");
        Application->CreateForm(MainForm);
        Application->CreateForm(NewServerForm);
        Application->CreateForm(PlayForm);
        Application->CreateForm(CopyFileForm);
        Application->Run();
    });
}
