// The tests run with the layer started as the programs start it.
#include "classlib/testing/units_environment.h"
#include "editor/units/editor_units.h"
#include "unicode/code_pages.h"
#include "unicode/wide_filing.h"
#include "unicode/wide_sysutils.h"

namespace {
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new TUnitsEnvironment(
    EditorUnits(), {StartUnicodeConversions, StartWideStringFiling, StartWideSystemUtilities}));
}  // namespace
