#include "classlib/core/random.h"

#include <gtest/gtest.h>

#include <vector>

TEST(Random, StaysInRangeAndCoversIt) {
    std::vector<int> counts(10);
    for (int i = 0; i < 20000; ++i) {
        int32_t r = Random(10);
        ASSERT_GE(r, 0);
        ASSERT_LT(r, 10);
        ++counts[static_cast<size_t>(r)];
    }
    // 2000 expected each; the standard deviation is about 42.
    for (int c : counts) {
        EXPECT_GT(c, 1700);
        EXPECT_LT(c, 2300);
    }
    for (int i = 0; i < 1000; ++i) {
        int32_t r = Random(INT32_MAX);
        ASSERT_GE(r, 0);
        ASSERT_LT(r, INT32_MAX);
    }
}

TEST(Random, DegenerateRanges) {
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(Random(1), 0);
        EXPECT_EQ(Random(0), 0);
        EXPECT_EQ(Random(-5), 0);
    }
}

TEST(Random, RandomizeChangesTheSequence) {
    Randomize();
    std::vector<int32_t> first;
    for (int i = 0; i < 8; ++i) first.push_back(Random(1000000));
    Randomize();
    std::vector<int32_t> second;
    for (int i = 0; i < 8; ++i) second.push_back(Random(1000000));
    EXPECT_NE(first, second);
    for (int32_t r : second) EXPECT_LT(r, 1000000);
}
