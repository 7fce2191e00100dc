// A test program's units, started around all its tests from the program's
// own start-up table (the part the tests need, in the table's order).
#pragma once
#include <gtest/gtest.h>

#include <optional>
#include <span>
#include <vector>

#include "classlib/core/unit_starts.h"

class TUnitsEnvironment : public ::testing::Environment {
public:
    TUnitsEnvironment(std::span<const TUnitStep> table, std::vector<TUnitProc> only)
        : table_(table), only_(std::move(only)) {}
    void SetUp() override { units_.emplace(table_, only_); }
    void TearDown() override { units_.reset(); }

private:
    std::span<const TUnitStep> table_;
    std::vector<TUnitProc> only_;
    std::optional<TUnitStarts> units_;
};
