// Decoding of JPEG files held in memory through libjpeg.
#pragma once
#include <cstddef>
#include <cstdint>

#include "pixwell/pixwell.h"

bool LooksLikeJpeg(const uint8_t* data, size_t size);

// Colour and grey JPEGs become 24-bit bottom-up images. libjpeg's errors
// and its warnings (corrupt or missing data) make the decoding fail: the
// result is false and `dib` owns nothing.
bool DecodeJpeg(const uint8_t* data, size_t size, TDIB& dib);
