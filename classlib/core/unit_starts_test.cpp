#include "classlib/core/unit_starts.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

std::string g_log;
bool g_fail_b = false;
bool g_b_carries_on = true;

void StartA() { g_log += "+a"; }
void StopA() { g_log += "-a"; }
void StartB() {
    if (g_fail_b) throw std::runtime_error("b cannot start");
    g_log += "+b";
}
void StopB() { g_log += "-b"; }
bool BCarriesOn() { return g_b_carries_on; }
void StartC() { g_log += "+c"; }
void StartD() { g_log += "+d"; }
void StopD() { g_log += "-d"; }

// C has nothing to shut down.
const TUnitStep kTable[] = {{StartA, StopA}, {StartB, StopB, BCarriesOn}, {StartC}, {StartD, StopD}};

class UnitStarts : public ::testing::Test {
protected:
    void SetUp() override {
        g_log.clear();
        g_fail_b = false;
        g_b_carries_on = true;
    }
};

TEST_F(UnitStarts, StartInTheTablesOrderAndStopInTheReverseOne) {
    {
        TUnitStarts units(kTable);
        EXPECT_TRUE(units.Complete());
        EXPECT_EQ(g_log, "+a+b+c+d");
    }
    EXPECT_EQ(g_log, "+a+b+c+d-d-b-a");
}

TEST_F(UnitStarts, AFailedStartUpShutsDownTheUnitsStartedBeforeIt) {
    g_fail_b = true;
    EXPECT_THROW(TUnitStarts units(kTable), std::runtime_error);
    EXPECT_EQ(g_log, "+a-a");
}

TEST_F(UnitStarts, AUnitThatAsksToEndLeavesTheLaterOnesUnstarted) {
    g_b_carries_on = false;
    {
        TUnitStarts units(kTable);
        EXPECT_FALSE(units.Complete());
        EXPECT_EQ(g_log, "+a+b");
    }
    EXPECT_EQ(g_log, "+a+b-b-a");
}

TEST_F(UnitStarts, APartKeepsTheTablesOrderWhateverOrderItIsNamedIn) {
    {
        TUnitStarts units(kTable, {StartD, StartA});
        EXPECT_EQ(g_log, "+a+d");
    }
    EXPECT_EQ(g_log, "+a+d-d-a");
    EXPECT_THROW(TUnitStarts units(kTable, {StartA, StopA}), std::invalid_argument);
    EXPECT_EQ(g_log, "+a+d-d-a") << "nothing started for a wrong part";
}

// A unit that two tables start does its work at the first start-up and at
// the shut-down of the last; a shut-down that was never started leaves a
// later start-up and its shut-down as they would be.
TEST(UnitStartCount, OnlyTheFirstStartAndTheLastMatchingStopDoTheWork) {
    TUnitStartCount starts;
    EXPECT_FALSE(starts.Stop()) << "a shut-down without a start-up";
    EXPECT_TRUE(starts.Start());
    EXPECT_FALSE(starts.Start());
    EXPECT_FALSE(starts.Stop());
    EXPECT_TRUE(starts.Stop());
    EXPECT_FALSE(starts.Stop());
    EXPECT_TRUE(starts.Start()) << "started anew after the last shut-down";
}

}  // namespace
