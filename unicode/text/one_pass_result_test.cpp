// A result is made in one pass into room reserved at the coder's bound;
// where that room cannot be had, the exact size is counted first. Either
// way the result is whole, across many pieces, and a small one keeps no
// spare room.
#include <gtest/gtest.h>

#include <string>

#include "unicode/text/one_pass_result.h"

namespace {

// Writes count letters, up to three at a step, as a coder does.
class TLetterCoder {
public:
    static constexpr size_t kMaxStep = 3;
    explicit TLetterCoder(size_t count) : left_(count) {}
    bool Done() const { return left_ == 0; }
    char* Fill(char* out, char* limit) {
        while (left_ > 0 && out < limit) {
            for (size_t k = 0; k < 3 && left_ > 0; ++k, --left_) *out++ = static_cast<char>('a' + next_++ % 26);
        }
        return out;
    }

private:
    size_t left_;
    unsigned next_ = 0;
};

std::string Letters(size_t count) {
    std::string letters;
    for (size_t i = 0; i < count; ++i) letters += static_cast<char>('a' + i % 26);
    return letters;
}

TEST(OnePassResult, RoomThatCannotBeHadIsCountedFirst) {
    for (size_t count : {size_t{0}, size_t{1}, size_t{8191}, size_t{8192}, size_t{100000}}) {
        TLetterCoder bounded(count);
        EXPECT_EQ(one_pass::Collect<char>(bounded, count * 2), Letters(count)) << count;
        TLetterCoder unbounded(count);
        std::string counted = one_pass::Collect<char>(unbounded, static_cast<size_t>(-1));
        EXPECT_EQ(counted, Letters(count)) << count;
        EXPECT_TRUE(unbounded.Done());
    }
}

TEST(OnePassResult, SmallResultsGiveBackTheirSpareRoom) {
    TLetterCoder coder(1000);
    std::string result = one_pass::Collect<char>(coder, 1000000);
    EXPECT_EQ(result, Letters(1000));
    EXPECT_LT(result.capacity(), size_t{2000});
}

TEST(OnePassResult, BoundsSaturateInsteadOfWrapping) {
    EXPECT_EQ(one_pass::SaturatedProduct(7, 5), size_t{35});
    EXPECT_EQ(one_pass::SaturatedProduct(static_cast<size_t>(-1) / 3 + 1, 3), static_cast<size_t>(-1));
}

}  // namespace
