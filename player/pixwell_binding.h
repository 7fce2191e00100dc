// The programs' view of Pixwell.dll: the record, the exports (pixwell.h)
// and accessors for the header fields behind TDIB::Info.
#pragma once
#include <cstdint>

#include "pixwell/pixwell.h"

// Header fields of the image; 0 for a record without Info.
int32_t DIBWidth(const TDIB& dib);
int32_t DIBHeight(const TDIB& dib);
int32_t DIBBitCount(const TDIB& dib);

// 2^bitCount (0 outside 0..32).
int64_t BitCountColors(int32_t bitCount);
// 2^(the image's bit count).
int64_t DIBColors(const TDIB& dib);
// Entries the image's colour table really has: biClrUsed, or 2^bitCount
// for up to 8 bits when that is 0; never more than 256.
int32_t DIBTableColors(const TDIB& dib);

// Bits per pixel of a bitmap compatible with the desktop window's DC;
// 0 when it cannot be measured.
int ScreenBitsPerPixel();
