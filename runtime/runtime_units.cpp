#include "runtime/runtime_units.h"

#include "classlib/gui/application.h"
#include "controls/controls_startup.h"
#include "imaging/gif_image.h"
#include "imaging/icon_clipboard.h"
#include "runtime/older_shell_unit.h"

namespace {

// Without the shell the unit has told the user and asked to end.
bool ShellBound() {
    return !Application->Terminated();
}

const TUnitStep kRuntimeUnits[] = {
    {StartOlderShellUnit, StopOlderShellUnit, ShellBound},
    {StartControlUtilities, StopControlUtilities},
    {StartIconClipboardFormat},
    {StartGIFImageUnit, StopGIFImageUnit},
};

}  // namespace

std::span<const TUnitStep> RuntimeUnits() {
    return kRuntimeUnits;
}
