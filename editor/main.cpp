// Quillory: the editor of CD menus.
#include "editor/forms/about_box.h"
#include "classlib/gui/application.h"
#include "classlib/graphics/register_graphics.h"
#include "classlib/graphics/image.h"
#include "editor/forms/editor_classes.h"
#include "editor/forms/main_form.h"
#include "editor/forms/new_server_form.h"
#include "player/play_form.h"
#include "classlib/gui/program_entry.h"
#include "controls/controls_startup.h"
#include "controls/theme_library.h"
#include "classlib/core/scope_exit.h"
#include "unicode/code_pages.h"
#include "unicode/wide_captions.h"
#include "unicode/wide_filing.h"
#include "unicode/wide_sysutils.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return RunProgram([] {
        // Unit start-ups in their order; shut-downs run in the reverse one.
        StartControlUtilities();
        StartUnicodeConversions();
        TScopeExit stopConversions([] { StopUnicodeConversions(); });
        StartWideStringFiling();
        StartWideSystemUtilities();
        TScopeExit stopSystemUtilities([] { StopWideSystemUtilities(); });
        StartWideCaptions();
        TScopeExit stopWideCaptions([] { StopWideCaptions(); });
        StartThemeLibraryUnit();
        TScopeExit stopThemeLibrary([] { StopThemeLibraryUnit(); });
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
