// Reduction of an image to 8 bits on a fixed 6x6x6 colour cube by ordered
// dithering, scaled on the way by averaging the source pixels each target
// pixel covers.
#pragma once
#include <cstdint>

#include "pixwell/dib_pixels.h"
#include "pixwell/pixwell.h"

constexpr uint32_t kHalftoneColorCount = 216;

// Cube entry i holds red (i / 36), green (i / 6 % 6), blue (i % 6), each
// level times 51.
TRGBQuad HalftoneColor(uint32_t index);

// Makes `target` a width x height 8-bit image of `source` whose colour
// table and LogPalette hold the cube. False (nothing owned) on bad sizes.
bool HalftoneImage(const TImageView& source, int32_t width, int32_t height, TDIB& target);
