// The 10-byte x87 extended format of float values in form streams,
// converted to and from double without relying on the host's long double.
#pragma once
#include <cstdint>

// Exact: every double has an extended form.
void DoubleToExtended(double value, uint8_t out[10]);
// Rounds to nearest (ties to even); values beyond the double range become
// infinities, NaNs stay NaNs.
double ExtendedToDouble(const uint8_t in[10]);
