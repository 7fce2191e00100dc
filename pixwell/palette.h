// The platform palette objects behind TDIB::Palette.
#pragma once
#include "pixwell/pixwell.h"

// Creates an HPALETTE from the record's LogPalette; nullptr on failure.
void* CreatePaletteHandle(const TDIBLogPalette& logPalette);
void DeletePaletteHandle(void* palette);
