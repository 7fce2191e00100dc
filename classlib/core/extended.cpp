#include "classlib/core/extended.h"

#include <bit>
#include <cstring>

#include "classlib/core/byte_fields.h"

namespace {

constexpr int kExtendedBias = 16383;
constexpr int kDoubleBias = 1023;

uint64_t DoubleBits(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

double FromBits(uint64_t bits) {
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// value >> shift, rounded to nearest with ties to even.
uint64_t ShiftRightRounded(uint64_t value, int shift) {
    if (shift <= 0) return value;
    if (shift > 64) return 0;
    uint64_t kept = shift == 64 ? 0 : value >> shift;
    uint64_t rest = shift == 64 ? value : value & ((uint64_t(1) << shift) - 1);
    uint64_t half = uint64_t(1) << (shift - 1);
    if (rest > half || (rest == half && (kept & 1))) ++kept;
    return kept;
}

}  // namespace

void DoubleToExtended(double value, uint8_t out[10]) {
    uint64_t bits = DoubleBits(value);
    uint16_t sign = static_cast<uint16_t>((bits >> 63) << 15);
    int exponent = static_cast<int>((bits >> 52) & 0x7FF);
    uint64_t fraction = bits & ((uint64_t(1) << 52) - 1);
    uint64_t mantissa = 0;
    int extExponent = 0;
    if (exponent == 0x7FF) {
        extExponent = 0x7FFF;
        mantissa = (uint64_t(1) << 63) | (fraction << 11);
        if (fraction) mantissa |= uint64_t(1) << 62;  // keep NaNs quiet
    } else if (exponent != 0) {
        extExponent = exponent - kDoubleBias + kExtendedBias;
        mantissa = (uint64_t(1) << 63) | (fraction << 11);
    } else if (fraction != 0) {
        // Subnormal: fraction * 2^-1074, normalised.
        int shift = std::countl_zero(fraction);
        mantissa = fraction << shift;
        extExponent = kExtendedBias + 63 - 1074 - shift;
    }
    PutLittleEndian(out, mantissa);
    PutLittleEndian(out + 8, static_cast<uint16_t>(sign | extExponent));
}

double ExtendedToDouble(const uint8_t in[10]) {
    uint64_t mantissa = GetLittleEndian<uint64_t>(in);
    uint16_t top = GetLittleEndian<uint16_t>(in + 8);
    uint64_t sign = static_cast<uint64_t>(top >> 15) << 63;
    int exponent = top & 0x7FFF;
    const uint64_t infinity = uint64_t(0x7FF) << 52;
    if (exponent == 0x7FFF) {
        uint64_t fraction = mantissa & ~(uint64_t(1) << 63);
        if (fraction == 0) return FromBits(sign | infinity);
        return FromBits(sign | infinity | (uint64_t(1) << 51) | (fraction >> 11));
    }
    if (mantissa == 0) return FromBits(sign);
    // value = mantissa * 2^(e - bias - 63); denormals use e = 1.
    int e = exponent == 0 ? 1 : exponent;
    int shift = std::countl_zero(mantissa);
    mantissa <<= shift;
    int unbiased = e - kExtendedBias - shift;  // value = 1.f * 2^unbiased
    if (unbiased > kDoubleBias) return FromBits(sign | infinity);
    uint64_t bits;
    if (unbiased >= 1 - kDoubleBias) {
        // Normal: 53 significant bits; a carry out of the rounding moves
        // into the exponent field by itself.
        uint64_t rounded = ShiftRightRounded(mantissa, 11);
        bits = (static_cast<uint64_t>(unbiased + kDoubleBias) << 52) + (rounded - (uint64_t(1) << 52));
    } else {
        // Subnormal: units of 2^-1074.
        bits = ShiftRightRounded(mantissa, 11 + (1 - kDoubleBias - unbiased));
    }
    if (bits >= infinity) bits = infinity;
    return FromBits(sign | bits);
}
