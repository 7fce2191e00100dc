#include <windows.h>

#include "pixwell/palette.h"

static_assert(offsetof(TDIBLogPalette, Entries) == offsetof(LOGPALETTE, palPalEntry));
static_assert(sizeof(PALETTEENTRY) == sizeof(TDIBLogPalette::Entries[0]));

void* CreatePaletteHandle(const TDIBLogPalette& logPalette) {
    if (logPalette.Count == 0 || logPalette.Count > 256) return nullptr;
    return CreatePalette(reinterpret_cast<const LOGPALETTE*>(&logPalette));
}

void DeletePaletteHandle(void* palette) {
    if (palette) DeleteObject(static_cast<HPALETTE>(palette));
}
