#include "classlib/core/extended.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

namespace {

std::string Hex(const uint8_t bytes[10]) {
    static const char digits[] = "0123456789ABCDEF";
    std::string s;
    for (int i = 0; i < 10; ++i) s += {digits[bytes[i] >> 4], digits[bytes[i] & 15]};
    return s;
}

std::string ExtendedHex(double value) {
    uint8_t bytes[10];
    DoubleToExtended(value, bytes);
    return Hex(bytes);
}

double FromHex(const std::string& hex) {
    uint8_t bytes[10];
    for (int i = 0; i < 10; ++i) bytes[i] = static_cast<uint8_t>(std::stoi(hex.substr(2 * i, 2), nullptr, 16));
    return ExtendedToDouble(bytes);
}

uint64_t Bits(double d) {
    uint64_t b;
    std::memcpy(&b, &d, sizeof b);
    return b;
}

}  // namespace

TEST(Extended, KnownEncodings) {
    EXPECT_EQ(ExtendedHex(1.0), "0000000000000080FF3F");
    EXPECT_EQ(ExtendedHex(-2.5), "00000000000000A000C0");
    EXPECT_EQ(ExtendedHex(0.0), "00000000000000000000");
    EXPECT_EQ(ExtendedHex(-0.0), "00000000000000000080");
    EXPECT_EQ(ExtendedHex(std::numeric_limits<double>::infinity()), "0000000000000080FF7F");
    // The smallest subnormal double, 2^-1074, is a normal extended.
    EXPECT_EQ(ExtendedHex(std::numeric_limits<double>::denorm_min()), "0000000000000080CD3B");
}

TEST(Extended, EveryDoubleSurvivesTheRoundTrip) {
    std::mt19937_64 random(42);
    std::vector<double> values = {std::numeric_limits<double>::max(), std::numeric_limits<double>::min(),
                                  std::numeric_limits<double>::denorm_min(), 0.1, -1e-310, 123456789.125};
    for (int i = 0; i < 20000; ++i) {
        uint64_t bits = random();
        double d;
        std::memcpy(&d, &bits, sizeof d);
        if (!std::isnan(d)) values.push_back(d);
    }
    for (double d : values) {
        uint8_t bytes[10];
        DoubleToExtended(d, bytes);
        ASSERT_EQ(Bits(ExtendedToDouble(bytes)), Bits(d)) << d;
    }
    uint8_t bytes[10];
    DoubleToExtended(std::nan(""), bytes);
    EXPECT_TRUE(std::isnan(ExtendedToDouble(bytes)));
}

TEST(Extended, NarrowingRoundsToNearestEven) {
    // 1 + 2^-53 is halfway between 1 and the next double: ties go to even (1).
    EXPECT_EQ(FromHex("0004000000000080FF3F"), 1.0);
    // Just above halfway rounds up.
    EXPECT_EQ(FromHex("0104000000000080FF3F"), 1.0 + std::ldexp(1.0, -52));
    // Halfway above an odd mantissa rounds up to even.
    EXPECT_EQ(FromHex("000C000000000080FF3F"), 1.0 + std::ldexp(1.0, -51));
    // Rounding up the largest mantissa carries into the exponent.
    EXPECT_EQ(FromHex("FFFFFFFFFFFFFFFFFF3F"), 2.0);
}

TEST(Extended, OutOfRangeBecomesInfinityOrZero) {
    EXPECT_EQ(FromHex("0000000000000080FF7F"), std::numeric_limits<double>::infinity());
    EXPECT_TRUE(std::isinf(FromHex("00000000000000800044")));   // 2^1025
    EXPECT_TRUE(std::isinf(FromHex("FFFFFFFFFFFFFFFFFE43")));   // rounds past the maximum
    EXPECT_EQ(FromHex("00000000000000800080"), -0.0);           // 2^-16382 underflows
    EXPECT_EQ(FromHex("0000000000000080CC3B"), 0.0);            // 2^-1075: a tie, to even zero
    EXPECT_EQ(FromHex("0000000000000090CC3B"), std::numeric_limits<double>::denorm_min());
    EXPECT_TRUE(std::isnan(FromHex("000000000000C0FFFF7F")));
}
