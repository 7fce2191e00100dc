#include "classlib/core/scoped_count.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

TEST(ScopedCount, CountsUpForTheScopeAlsoWhenLeftByAnException) {
    int level = 0;
    {
        TScopedCount outer(level);
        TScopedCount inner(level);
        EXPECT_EQ(level, 2);
    }
    EXPECT_EQ(level, 0);
    EXPECT_THROW(
        {
            TScopedCount counted(level);
            throw std::runtime_error("left");
        },
        std::runtime_error);
    EXPECT_EQ(level, 0);
}

TEST(ScopedCount, AtItsLimitRaisesAndLeavesTheCounterAsItWas) {
    int depth = 0;
    auto tooDeep = [] { return std::length_error("too deep"); };
    {
        TScopedCount first(depth, 2, tooDeep);
        TScopedCount second(depth, 2, tooDeep);
        EXPECT_EQ(depth, 2);
        EXPECT_THROW(TScopedCount third(depth, 2, tooDeep), std::length_error);
        EXPECT_EQ(depth, 2);
    }
    EXPECT_EQ(depth, 0);
}

}  // namespace
