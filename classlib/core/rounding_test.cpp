#include "classlib/core/rounding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "classlib/core/exceptions.h"

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(-3.5), -4);
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(-0.5), 0);
    EXPECT_EQ(RoundHalfEven(1.5), 2);
}

TEST(Rounding, NonHalvesGoToTheNearest) {
    EXPECT_EQ(RoundHalfEven(2.4999999999999996), 2);
    EXPECT_EQ(RoundHalfEven(2.5000000000000004), 3);
    EXPECT_EQ(RoundHalfEven(-2.6), -3);
    EXPECT_EQ(RoundHalfEven(-0.4), 0);
    EXPECT_EQ(RoundHalfEven(4503599627370495.5), 4503599627370496);  // 2^52 - 0.5
    EXPECT_EQ(RoundHalfEven(1e18), 1000000000000000000);
    EXPECT_EQ(RoundHalfEven(-9223372036854775808.0), INT64_MIN);
}

TEST(Rounding, UnrepresentableValuesRaise) {
    EXPECT_THROW(RoundHalfEven(9223372036854775808.0), EInvalidOp);
    EXPECT_THROW(RoundHalfEven(-1e19), EInvalidOp);
    EXPECT_THROW(RoundHalfEven(std::numeric_limits<double>::quiet_NaN()), EInvalidOp);
    EXPECT_THROW(RoundHalfEven(HUGE_VAL), EInvalidOp);
}

TEST(Rounding, MulDivRoundsHalfAwayFromZero) {
    EXPECT_EQ(MulDiv(10, 3, 4), 8);     // 7.5
    EXPECT_EQ(MulDiv(-10, 3, 4), -8);   // -7.5
    EXPECT_EQ(MulDiv(10, -3, -4), 8);
    EXPECT_EQ(MulDiv(10, 3, -4), -8);
    EXPECT_EQ(MulDiv(7, 1, 3), 2);      // 2.33
    EXPECT_EQ(MulDiv(5, 1, 3), 2);      // 1.67
    EXPECT_EQ(MulDiv(96, 120, 72), 160);
}

TEST(Rounding, MulDivUsesA64BitIntermediate) {
    EXPECT_EQ(MulDiv(2000000000, 2000000000, 2000000000), 2000000000);
    EXPECT_EQ(MulDiv(INT32_MIN, INT32_MIN, INT32_MIN), INT32_MIN);
    EXPECT_EQ(MulDiv(INT32_MIN, 1, -1), -1);       // 2^31 does not fit
    EXPECT_EQ(MulDiv(2000000000, 2, 1), -1);
    EXPECT_EQ(MulDiv(INT32_MIN, 1, 1), INT32_MIN);
    EXPECT_EQ(MulDiv(5, 5, 0), -1);
}
