// The runtime's tests run with its shell unit started as its entry starts it.
#include "classlib/testing/units_environment.h"
#include "runtime/older_shell_unit.h"
#include "runtime/runtime_units.h"

namespace {
const auto* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new TUnitsEnvironment(RuntimeUnits(), {StartOlderShellUnit}));
}  // namespace
