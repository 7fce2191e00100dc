// Allocation of image records and the registry of what each record owns.
// Records travel by value, so a caller can hand the same Info/Bits pair to
// deldib twice, or hand a record the library never filled; the registry
// makes both harmless instead of a double or foreign free.
#pragma once
#include <cstdint>

#include "pixwell/dib_layout.h"
#include "pixwell/pixwell.h"

// Zeroes `dib`, then gives it a 40-byte header with `colorCount` table
// entries (copied from `table`, or zero when it is nullptr) and zeroed rows.
// False, with `dib` zeroed, on a bad size or depth or when memory runs out.
bool CreateImage(TDIB& dib, int32_t width, int32_t height, int32_t bitCount, const TRGBQuad* table,
                 uint32_t colorCount);

// Records that the image whose Info block is `info` owns `palette`.
void AdoptPalette(const void* info, void* palette);

// Frees the Info and Bits blocks registered under `info` and forgets them.
// Returns false for unknown records; `palette` receives the palette handle
// the image owned (the caller deletes it) or nullptr.
bool ReleaseImage(const void* info, void*& palette);
