// The runtime's tests run with its shell unit started as its entry starts it.
#include <gtest/gtest.h>

#include "runtime/older_shell_unit.h"

namespace {
class TOlderShellEnvironment : public ::testing::Environment {
public:
    void SetUp() override { StartOlderShellUnit(); }
    void TearDown() override { StopOlderShellUnit(); }
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new TOlderShellEnvironment);
}  // namespace
