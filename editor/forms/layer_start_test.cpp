// The editor's tests run with the Unicode layer and the shell units started
// as the editor's entry starts them.
#include <gtest/gtest.h>

#include "shell/shell_helpers.h"
#include "shell/shell_namespace_unit.h"
#include "unicode/code_pages.h"
#include "unicode/wide_sysutils.h"

namespace {
class TEditorUnitsEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        StartUnicodeConversions();
        StartWideSystemUtilities();
        StartShellNamespaceUnit();
        StartShellHelpers();
    }
    void TearDown() override {
        StopShellHelpers();
        StopShellNamespaceUnit();
        StopWideSystemUtilities();
        StopUnicodeConversions();
    }
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new TEditorUnitsEnvironment);
}  // namespace
