#include "unicode/text/byte_order_mark.h"

#include <gtest/gtest.h>

#include "classlib/core/streams.h"

namespace {
struct TDetected {
    TTextEncoding Encoding;
    int64_t Position;
};

TDetected Detect(const std::string& bytes, int64_t start = 0) {
    TStringStream stream(bytes);
    stream.SetPosition(start);
    TTextEncoding encoding = DetectByteOrderMark(stream);
    return {encoding, stream.Position()};
}
}  // namespace

TEST(ByteOrderMark, MarksAreConsumedOtherBytesStay) {
    EXPECT_EQ(Detect("\xFF\xFE" "A").Encoding, teUtf16LE);
    EXPECT_EQ(Detect("\xFF\xFE" "A").Position, 2);
    EXPECT_EQ(Detect("\xFE\xFF").Encoding, teUtf16BE);
    EXPECT_EQ(Detect("\xEF\xBB\xBF").Encoding, teUtf8);
    EXPECT_EQ(Detect("\xEF\xBB\xBF" "x").Position, 3);
    EXPECT_EQ(Detect("\xEF\xBB").Encoding, teAnsi);
    EXPECT_EQ(Detect("\xEF\xBB").Position, 0);
    EXPECT_EQ(Detect("abc").Encoding, teAnsi);
    EXPECT_EQ(Detect("abc").Position, 0);
    EXPECT_EQ(Detect("").Encoding, teAnsi);
    EXPECT_EQ(Detect("a").Position, 0);
    // From the stream's position, not its start.
    EXPECT_EQ(Detect("xy\xFF\xFE", 2).Encoding, teUtf16LE);
    EXPECT_EQ(Detect("\xFF\xFE" "ab", 1).Encoding, teAnsi);
    EXPECT_EQ(Detect("\xFF\xFE" "ab", 1).Position, 1);
}
