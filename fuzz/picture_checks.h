// The checks of the picture fuzz targets: OpenDib on a file of the input.
// A picture that opens has pixel rows within its blocks; one that does not
// leaves the record empty; nothing stays open or allocated after deldib.
#pragma once
#include <cstdint>
#include <cstring>

#include "fuzz/fuzz_support.h"
#include "pixwell/pixwell.h"

inline void CheckPictureOpen(const uint8_t* data, size_t size, const char* suffix) {
    const std::string name = fuzz::ScratchName(suffix);
    fuzz::WriteFile(name, data, size);
    const int open = fuzz::OpenDescriptors();
    TDIB dib;
    std::memset(&dib, 0xCD, sizeof dib);
    const int32_t result = OpenDib(&dib, name.c_str(), 0, nullptr);
    std::remove(name.c_str());
    fuzz::Check(fuzz::OpenDescriptors() == open, "opening a picture left a file open");
    if (!result) {
        TDIB zero;
        std::memset(&zero, 0, sizeof zero);
        fuzz::Check(std::memcmp(&dib, &zero, sizeof dib) == 0, "a picture that failed left the record filled");
        return;
    }
    fuzz::Check(dib.Bits && dib.Info, "an opened picture has no pixels");
    const auto* header = static_cast<const int32_t*>(dib.Info);
    const int32_t width = header[1], height = header[2];
    fuzz::Check(width > 0 && height > 0, "an opened picture has no size");
    fuzz::Check(int64_t(dib.BytesPerLine) * height <= int64_t(dib.BitsSize), "pixel rows overrun their block");
    // Touch the corners: the sanitizer sees any row outside the block.
    getpixel(dib, 0, 0);
    getpixel(dib, width - 1, height - 1);
    setpixel(dib, width - 1, height - 1, getpixel(dib, width - 1, height - 1));
    deldib(dib);
}
