// Natively there are no palette objects: a palette is a copy of its
// logical palette, so that making and freeing one is tracked as on Windows.
#include "pixwell/palette.h"

void* CreatePaletteHandle(const TDIBLogPalette& logPalette) {
    if (logPalette.Count == 0 || logPalette.Count > 256) return nullptr;
    return new TDIBLogPalette(logPalette);
}

void DeletePaletteHandle(void* palette) {
    delete static_cast<TDIBLogPalette*>(palette);
}
