#include "classlib/core/scope_exit.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

TEST(ScopeExit, RunsOnceAtTheEndAlsoWhenLeftByAnException) {
    int runs = 0;
    {
        TScopeExit count([&] { ++runs; });
        TScopeExit moved(std::move(count));
    }
    EXPECT_EQ(runs, 1);

    EXPECT_THROW(
        {
            TScopeExit count([&] { ++runs; });
            throw std::runtime_error("failed");
        },
        std::runtime_error);
    EXPECT_EQ(runs, 2);

    {
        TScopeExit count([&] { ++runs; });
        count.Dismiss();
    }
    EXPECT_EQ(runs, 2);
}

TEST(ScopeExit, RestoreGivesTheVariableItsValueBack) {
    std::string path = "Form1.";
    try {
        TRestore<std::string> restore(path);
        path += "Button1.";
        throw std::runtime_error("failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(path, "Form1.");
}

TEST(ScopeExit, TryFinallyKeepsTheFirstFailure) {
    std::vector<std::string> steps;
    auto last = [&] {
        steps.push_back("last");
        throw std::logic_error("last failed");
    };
    try {
        TryFinally([&] { throw std::runtime_error("work failed"); }, last);
        FAIL();
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "work failed");
    }
    // After work that succeeded, the final step's failure is the one.
    EXPECT_THROW(TryFinally([&] { steps.push_back("work"); }, last), std::logic_error);
    EXPECT_EQ(steps, (std::vector<std::string>{"last", "work", "last"}));
}

TEST(ScopeExit, WhileUpdatingEndsTheUpdateOnEveryPath) {
    struct TTarget {
        int level = 0, ends = 0;
        void BeginUpdate() { ++level; }
        void EndUpdate() {
            --level;
            ++ends;
        }
    } target;
    WhileUpdating(target, [&] { EXPECT_EQ(target.level, 1); });
    EXPECT_THROW(WhileUpdating(target, [] { throw std::runtime_error("failed"); }), std::runtime_error);
    EXPECT_EQ(target.level, 0);
    EXPECT_EQ(target.ends, 2);
}

}  // namespace
