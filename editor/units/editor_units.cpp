#include "editor/units/editor_units.h"

#include "classlib/gui/callback_barrier.h"
#include "controls/controls_startup.h"
#include "controls/theme_library.h"
#include "controls/themed_button_kinds.h"
#include "imaging/gif_image.h"
#include "imaging/icon_clipboard.h"
#include "shell/shell_helpers.h"
#include "shell/shell_namespace_unit.h"
#include "shell/worker_pools.h"
#include "unicode/code_pages.h"
#include "unicode/uc_application.h"
#include "unicode/wide_captions.h"
#include "unicode/wide_filing.h"
#include "unicode/wide_menus.h"
#include "unicode/wide_sysutils.h"

namespace {

// The application wrapper's shut-down raises when its message hook cannot
// be removed; a shut-down must not throw, so the failure is reported here.
void StopUcApplicationReporting() {
    try {
        StopUcApplication();
    } catch (...) {
        ReportException(nullptr);
    }
}

const TUnitStep kEditorUnits[] = {
    {StartControlUtilities, StopControlUtilities},
    {StartUnicodeConversions, StopUnicodeConversions},
    {StartWideStringFiling},
    {StartWideSystemUtilities, StopWideSystemUtilities},
    {StartShellNamespaceUnit, StopShellNamespaceUnit},
    {StartShellHelpers, StopShellHelpers},
    {StartUcApplication, StopUcApplicationReporting},
    {StartWideMenus, StopWideMenus},
    {StartWideCaptions, StopWideCaptions},
    {StartWorkerPools, StopWorkerPools},
    {StartIconClipboardFormat},
    {StartGIFImageUnit, StopGIFImageUnit},
    {StartThemeLibraryUnit, StopThemeLibraryUnit},
    {StartThemedButtonsUnit, StopThemedButtonsUnit},
};

}  // namespace

std::span<const TUnitStep> EditorUnits() {
    return kEditorUnits;
}
