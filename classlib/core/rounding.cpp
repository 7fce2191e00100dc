#include "classlib/core/rounding.h"

#include <cmath>

#include "classlib/core/exceptions.h"
#include "classlib/core/resstrings.h"

int64_t RoundHalfEven(double value) {
    // 2^63 is exact in a double; the comparison also rejects NaN.
    constexpr double kLimit = 9223372036854775808.0;
    if (!(value >= -kLimit && value < kLimit)) throw EInvalidOp(LoadStr(SInvalidOp));
    double floor = std::floor(value);
    double fraction = value - floor;  // exact for every double
    // A fraction means |value| < 2^52, so rounding up cannot leave the range.
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(floor, 2.0) != 0.0)) floor += 1.0;
    return static_cast<int64_t>(floor);
}

int32_t MulDiv(int32_t a, int32_t b, int32_t c) {
    if (c == 0) return -1;
    int64_t product = static_cast<int64_t>(a) * b;
    bool negative = (product < 0) != (c < 0);
    uint64_t numerator = product < 0 ? 0 - static_cast<uint64_t>(product) : static_cast<uint64_t>(product);
    uint64_t divisor = c < 0 ? 0 - static_cast<uint64_t>(static_cast<int64_t>(c)) : static_cast<uint64_t>(c);
    uint64_t quotient = (numerator + divisor / 2) / divisor;
    if (negative ? quotient > uint64_t(1) << 31 : quotient > INT32_MAX) return -1;
    return negative ? static_cast<int32_t>(0 - quotient) : static_cast<int32_t>(quotient);
}
