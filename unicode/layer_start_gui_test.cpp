// The window tests run with the layer started as the programs start it,
// and with its classes registered for layouts as the editor registers them.
#include <gtest/gtest.h>

#include "unicode/code_pages.h"
#include "unicode/uc_application.h"
#include "unicode/wide_actions.h"
#include "unicode/wide_captions.h"
#include "unicode/wide_filing.h"
#include "unicode/wide_menus.h"
#include "unicode/wide_sysutils.h"

namespace {
class TUnicodeLayerEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        StartUnicodeConversions();
        StartWideStringFiling();
        StartWideSystemUtilities();
        StartUcApplication();
        StartWideMenus();
        StartWideCaptions();
        RegisterWideMenuClasses();
        RegisterWideActionClasses();
    }
    void TearDown() override {
        StopWideCaptions();
        StopWideMenus();
        StopUcApplication();
        StopWideSystemUtilities();
        StopUnicodeConversions();
    }
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new TUnicodeLayerEnvironment);
}  // namespace
