#include "pixwell/dib_memory.h"

#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

namespace {

struct TOwned {
    void* Bits;
    void* Palette;
};

std::mutex& RegistryLock() {
    static std::mutex lock;
    return lock;
}

std::map<const void*, TOwned>& Registry() {
    static std::map<const void*, TOwned> registry;
    return registry;
}

}  // namespace

bool CreateImage(TDIB& dib, int32_t width, int32_t height, int32_t bitCount, const TRGBQuad* table,
                 uint32_t colorCount) {
    std::memset(&dib, 0, sizeof dib);
    if (!IsSupportedBitCount(bitCount) || height <= 0 || height > kMaxDimension || colorCount > 256) return false;
    if (bitCount <= 8 && colorCount > (1u << bitCount)) return false;
    const int64_t rowBytes = RowBytes(width, bitCount);
    if (rowBytes == 0 || rowBytes * height > kMaxPixelBytes) return false;

    const size_t infoSize = sizeof(TBitmapInfoHeader) + colorCount * sizeof(TRGBQuad);
    const size_t bitsSize = static_cast<size_t>(rowBytes * height);
    void* info = std::calloc(1, infoSize);
    void* bits = std::calloc(1, bitsSize);
    if (!info || !bits) {
        std::free(info);
        std::free(bits);
        return false;
    }
    try {
        std::lock_guard guard(RegistryLock());
        Registry()[info] = TOwned{bits, nullptr};
    } catch (...) {
        std::free(info);
        std::free(bits);
        return false;
    }

    auto* header = static_cast<TBitmapInfoHeader*>(info);
    header->biSize = sizeof(TBitmapInfoHeader);
    header->biWidth = width;
    header->biHeight = height;
    header->biPlanes = 1;
    header->biBitCount = static_cast<uint16_t>(bitCount);
    header->biCompression = kBiRgb;
    header->biSizeImage = static_cast<uint32_t>(bitsSize);
    header->biClrUsed = colorCount;
    if (table && colorCount > 0) std::memcpy(header + 1, table, colorCount * sizeof(TRGBQuad));

    dib.Info = info;
    dib.InfoSize = static_cast<uint32_t>(infoSize);
    dib.Bits = bits;
    dib.BitsSize = static_cast<uint32_t>(bitsSize);
    dib.BytesPerLine = static_cast<int32_t>(rowBytes);
    return true;
}

void AdoptPalette(const void* info, void* palette) {
    std::lock_guard guard(RegistryLock());
    auto found = Registry().find(info);
    if (found != Registry().end()) found->second.Palette = palette;
}

bool ReleaseImage(const void* info, void*& palette) {
    palette = nullptr;
    TOwned owned{};
    {
        std::lock_guard guard(RegistryLock());
        auto found = Registry().find(info);
        if (found == Registry().end()) return false;
        owned = found->second;
        Registry().erase(found);
    }
    std::free(const_cast<void*>(info));
    std::free(owned.Bits);
    palette = owned.Palette;
    return true;
}
