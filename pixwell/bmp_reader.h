// Decoding of Windows bitmap files held in memory.
#pragma once
#include <cstddef>
#include <cstdint>

#include "pixwell/pixwell.h"

bool LooksLikeBmp(const uint8_t* data, size_t size);

// Uncompressed 1, 4, 8, 24 and 32 bits per pixel (32-bit pixels become
// 24-bit; byte-aligned bit fields are accepted), top-down or bottom-up
// rows, Windows headers of 40 to 124 bytes. The result is bottom-up. On any
// inconsistency returns false and `dib` owns nothing.
bool DecodeBmp(const uint8_t* data, size_t size, TDIB& dib);
