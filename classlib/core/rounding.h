// Rounding as the class library and the platform do it.
#pragma once
#include <cstdint>

// Nearest integer; exact halves go to the even neighbour (2.5 -> 2,
// 3.5 -> 4, -2.5 -> -2). Raises EInvalidOp for NaN, infinities and values
// outside the 64-bit range.
int64_t RoundHalfEven(double value);

// a * b / c with a 64-bit intermediate, rounded half away from zero.
// -1 when c is 0 or the quotient does not fit 32 bits (the platform's
// failure value; a true result of -1 looks the same).
int32_t MulDiv(int32_t a, int32_t b, int32_t c);
