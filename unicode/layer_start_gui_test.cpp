// The window tests run with the layer started as the programs start it,
// and with its classes registered for layouts as the editor registers them.
#include "classlib/testing/units_environment.h"
#include "editor/units/editor_units.h"
#include "unicode/code_pages.h"
#include "unicode/uc_application.h"
#include "unicode/wide_actions.h"
#include "unicode/wide_captions.h"
#include "unicode/wide_filing.h"
#include "unicode/wide_menus.h"
#include "unicode/wide_sysutils.h"

namespace {
class TUnicodeLayerEnvironment : public TUnitsEnvironment {
public:
    TUnicodeLayerEnvironment()
        : TUnitsEnvironment(EditorUnits(), {StartUnicodeConversions, StartWideStringFiling, StartWideSystemUtilities,
                                            StartUcApplication, StartWideMenus, StartWideCaptions}) {}
    void SetUp() override {
        TUnitsEnvironment::SetUp();
        RegisterWideMenuClasses();
        RegisterWideActionClasses();
    }
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new TUnicodeLayerEnvironment);
}  // namespace
