// The tests run with the shell units started as the editor starts them.
#include "classlib/testing/units_environment.h"
#include "editor/units/editor_units.h"
#include "shell/shell_helpers.h"
#include "shell/shell_namespace_unit.h"
#include "unicode/code_pages.h"
#include "unicode/wide_sysutils.h"

namespace {
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new TUnitsEnvironment(
    EditorUnits(), {StartUnicodeConversions, StartWideSystemUtilities, StartShellNamespaceUnit, StartShellHelpers}));
}  // namespace
