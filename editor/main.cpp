// Quillory: the editor of CD menus.
#include "editor/forms/about_box.h"
#include "classlib/gui/application.h"
#include "classlib/gui/callback_barrier.h"
#include "classlib/graphics/register_graphics.h"
#include "classlib/graphics/image.h"
#include "editor/forms/editor_classes.h"
#include "editor/forms/main_form.h"
#include "editor/forms/new_server_form.h"
#include "player/play_form.h"
#include "classlib/gui/program_entry.h"
#include "controls/controls_startup.h"
#include "controls/theme_library.h"
#include "shell/worker_pools.h"
#include "controls/themed_button_kinds.h"
#include "imaging/icon_clipboard.h"
#include "imaging/gif_image.h"
#include "classlib/core/scope_exit.h"
#include "shell/shell_helpers.h"
#include "shell/shell_namespace_unit.h"
#include "unicode/code_pages.h"
#include "unicode/uc_application.h"
#include "unicode/wide_captions.h"
#include "unicode/wide_filing.h"
#include "unicode/wide_menus.h"
#include "unicode/wide_sysutils.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return RunProgram([] {
        // Unit start-ups in their order; shut-downs run in the reverse one.
        StartControlUtilities();
        TScopeExit stopControls([] { StopControlUtilities(); });
        StartUnicodeConversions();
        TScopeExit stopConversions([] { StopUnicodeConversions(); });
        StartWideStringFiling();
        StartWideSystemUtilities();
        TScopeExit stopSystemUtilities([] { StopWideSystemUtilities(); });
        StartShellNamespaceUnit();
        TScopeExit stopShellNamespace([] { StopShellNamespaceUnit(); });
        StartShellHelpers();
        TScopeExit stopShellHelpers([] { StopShellHelpers(); });
        StartUcApplication();
        // Its shut-down raises when the message hook cannot be removed; a
        // scope's end must not throw, so the failure is reported here.
        TScopeExit stopUcApplication([] {
            try {
                StopUcApplication();
            } catch (...) {
                ReportException(nullptr);
            }
        });
        StartWideMenus();
        TScopeExit stopWideMenus([] { StopWideMenus(); });
        StartWideCaptions();
        TScopeExit stopWideCaptions([] { StopWideCaptions(); });
        StartWorkerPools();
        TScopeExit stopWorkerPools([] { StopWorkerPools(); });
        StartIconClipboardFormat();
        StartGIFImageUnit();
        TScopeExit stopGIFImage([] { StopGIFImageUnit(); });
        StartThemeLibraryUnit();
        TScopeExit stopThemeLibrary([] { StopThemeLibraryUnit(); });
        StartThemedButtonsUnit();
        TScopeExit stopThemedButtons([] { StopThemedButtonsUnit(); });
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
