// The DLL's exported functions. None of them throws or shows anything;
// failures leave the result record empty.
#include <cstring>
#include <vector>

#include "pixwell/bmp_reader.h"
#include "pixwell/dib_memory.h"
#include "pixwell/dib_pixels.h"
#include "pixwell/file_bytes.h"
#include "pixwell/halftone.h"
#include "pixwell/jpeg_reader.h"
#include "pixwell/palette.h"
#include "pixwell/pixwell.h"

namespace {

void ClearRecord(TDIB& dib) { std::memset(&dib, 0, sizeof dib); }

void FreeImage(TDIB& dib) {
    void* palette = nullptr;
    if (ReleaseImage(dib.Info, palette)) DeletePaletteHandle(palette);
    ClearRecord(dib);
}

// Creates the platform palette from the record's LogPalette. An image whose
// palette cannot be made is still whole; it just has none to select.
void AttachPalette(TDIB& dib) {
    void* palette = CreatePaletteHandle(dib.LogPalette);
    if (!palette) return;
    AdoptPalette(dib.Info, palette);
    dib.Palette = palette;
    dib.HasPalette = 1;
}

// Indexed pictures carry their colour table as a palette too, so they show
// their own colours on palette screens.
void AttachTablePalette(TDIB& dib) {
    TImageView view;
    if (!ViewImage(dib, view) || view.BitCount > 8 || view.ColorCount == 0) return;
    dib.LogPalette.Version = 0x300;
    dib.LogPalette.Count = static_cast<uint16_t>(view.ColorCount);
    for (uint32_t i = 0; i < view.ColorCount; ++i) {
        dib.LogPalette.Entries[i][0] = view.Colors[i].Red;
        dib.LogPalette.Entries[i][1] = view.Colors[i].Green;
        dib.LogPalette.Entries[i][2] = view.Colors[i].Blue;
        dib.LogPalette.Entries[i][3] = 0;
    }
    AttachPalette(dib);
}

bool LoadPicture(const char* fileName, TDIB& dib) {
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(fileName, bytes)) return false;
    if (LooksLikeBmp(bytes.data(), bytes.size())) return DecodeBmp(bytes.data(), bytes.size(), dib);
    if (LooksLikeJpeg(bytes.data(), bytes.size())) return DecodeJpeg(bytes.data(), bytes.size(), dib);
    return false;
}

int32_t Halftone(TDIB* result, const TDIB& source, int32_t width, int32_t height, bool sameSize) {
    if (!result) return 0;
    ClearRecord(*result);
    try {
        TImageView view;
        if (!ViewImage(source, view)) return 0;
        if (sameSize) {
            width = view.Width;
            height = view.Height;
        }
        if (!HalftoneImage(view, width, height, *result)) return 0;
        AttachPalette(*result);
        return 1;
    } catch (...) {
        FreeImage(*result);
        return 0;
    }
}

}  // namespace

extern "C" {

int32_t PIXWELL_API OpenDib(TDIB* dib, const char* fileName, int32_t, void*) {
    if (!dib) return 0;
    ClearRecord(*dib);
    try {
        if (!LoadPicture(fileName, *dib)) {
            FreeImage(*dib);
            return 0;
        }
        AttachTablePalette(*dib);
        return 1;
    } catch (...) {
        FreeImage(*dib);
        return 0;
    }
}

void PIXWELL_API deldib(TDIB dib) {
    FreeImage(dib);
}

int32_t PIXWELL_API newdib(TDIB* dib, int32_t width, int32_t height, int32_t bitCount, const void* colorSource,
                           int32_t colors) {
    if (!dib) return 0;
    ClearRecord(*dib);
    if (colors < 0 || colors > 256) return 0;
    const TRGBQuad* table = nullptr;
    if (colorSource && colors > 0) {
        const auto& header = *static_cast<const TBitmapInfoHeader*>(colorSource);
        const uint32_t tableOffset =
            header.biSize >= sizeof(TBitmapInfoHeader) && header.biSize <= 124 ? header.biSize : 40;
        table = reinterpret_cast<const TRGBQuad*>(static_cast<const uint8_t*>(colorSource) + tableOffset);
    }
    return CreateImage(*dib, width, height, bitCount, table, static_cast<uint32_t>(colors)) ? 1 : 0;
}

int32_t PIXWELL_API DIBHalftoneDIB(TDIB* result, TDIB source) {
    return Halftone(result, source, 0, 0, true);
}

int32_t PIXWELL_API DIBHalftoneDIBXY(TDIB* result, TDIB source, int32_t width, int32_t height) {
    return Halftone(result, source, width, height, false);
}

uint32_t PIXWELL_API getpixel(TDIB dib, int32_t x, int32_t y) {
    TImageView view;
    if (!ViewImage(dib, view) || !view.Contains(x, y)) return 0;
    return PixelValue(view, x, y);
}

void PIXWELL_API setpixel(TDIB dib, int32_t x, int32_t y, uint32_t value) {
    TImageView view;
    if (ViewImage(dib, view) && view.Contains(x, y)) SetPixelValue(view, x, y, value);
}

const char* PIXWELL_API GetDIBOpenFilter() {
    return "All pictures (*.bmp;*.dib;*.jpg;*.jpeg;*.jpe)|*.bmp;*.dib;*.jpg;*.jpeg;*.jpe|"
           "Windows bitmaps (*.bmp;*.dib)|*.bmp;*.dib|"
           "JPEG pictures (*.jpg;*.jpeg;*.jpe)|*.jpg;*.jpeg;*.jpe";
}
}
