#include "classlib/graphics/bitmap_gdi.h"

#include <cstring>
#include <unordered_map>
#include <vector>

#include "classlib/graphics/bmp_codec.h"
#include "classlib/core/exceptions.h"
#include "classlib/gui/scoped_win32.h"
#include "classlib/graphics/graphics_strings.h"

namespace bitmap_gdi {

void OutOfResources() {
    throw EOutOfMemory(GraphicsStr(SOutOfResources));
}

TBitmapInfo Info32(int32_t width, int32_t height, bool topDown) {
    TBitmapInfo info;
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = width;
    info.header.biHeight = topDown ? -height : height;
    info.header.biPlanes = 1;
    info.header.biBitCount = 32;
    info.header.biCompression = BI_RGB;
    return info;
}

const std::vector<uint32_t>& Vga16() {
    static const std::vector<uint32_t> colors = {
        0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
        0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    return colors;
}

std::vector<uint32_t> PaletteColors(HPALETTE palette, size_t count) {
    std::vector<PALETTEENTRY> entries(count);
    UINT got = palette ? GetPaletteEntries(palette, 0, static_cast<UINT>(count), entries.data()) : 0;
    std::vector<uint32_t> colors(count, 0);
    for (UINT i = 0; i < got; ++i)
        colors[i] = uint32_t(entries[i].peRed) << 16 | uint32_t(entries[i].peGreen) << 8 | entries[i].peBlue;
    return colors;
}

std::vector<uint32_t> HalftoneColors() {
    TWindowDC screen(nullptr);
    TGdiObject palette(CreateHalftonePalette(screen));
    return PaletteColors(static_cast<HPALETTE>(palette.Get()), 256);
}

HPALETTE CreatePaletteFrom(const std::vector<uint32_t>& colors) {
    if (colors.empty()) return nullptr;
    std::vector<uint8_t> block(sizeof(LOGPALETTE) + colors.size() * sizeof(PALETTEENTRY));
    auto* log = reinterpret_cast<LOGPALETTE*>(block.data());
    log->palVersion = 0x300;
    log->palNumEntries = static_cast<WORD>(colors.size());
    for (size_t i = 0; i < colors.size(); ++i) {
        PALETTEENTRY& e = log->palPalEntry[i];
        e.peRed = static_cast<BYTE>(colors[i] >> 16);
        e.peGreen = static_cast<BYTE>(colors[i] >> 8);
        e.peBlue = static_cast<BYTE>(colors[i]);
        e.peFlags = 0;
    }
    return CreatePalette(log);
}

HPALETTE CopyPalette(HPALETTE palette) {
    if (!palette) return nullptr;
    WORD count = 0;
    GetObjectA(palette, sizeof count, &count);
    return CreatePaletteFrom(PaletteColors(palette, count));
}

namespace {

// Nearest table entry, remembered per colour (pictures repeat colours).
class TColorMatcher {
public:
    explicit TColorMatcher(const std::vector<uint32_t>& colors) : colors_(colors) {}
    uint8_t Index(uint32_t rgb) {
        auto it = cache_.find(rgb);
        if (it != cache_.end()) return it->second;
        int r = rgb >> 16 & 0xFF, g = rgb >> 8 & 0xFF, b = rgb & 0xFF;
        uint8_t best = 0;
        int bestDistance = INT32_MAX;
        for (size_t i = 0; i < colors_.size(); ++i) {
            int dr = r - int(colors_[i] >> 16 & 0xFF), dg = g - int(colors_[i] >> 8 & 0xFF),
                db = b - int(colors_[i] & 0xFF);
            int d = dr * dr + dg * dg + db * db;
            if (d < bestDistance) {
                bestDistance = d;
                best = static_cast<uint8_t>(i);
                if (!d) break;
            }
        }
        cache_.emplace(rgb, best);
        return best;
    }

private:
    const std::vector<uint32_t>& colors_;
    std::unordered_map<uint32_t, uint8_t> cache_;
};

}  // namespace

uint32_t ColorToPixel(TColor color) {
    uint32_t c = static_cast<uint32_t>(ColorToRGB(color));
    return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
}

TColor PixelToColor(uint32_t pixel) {
    return static_cast<TColor>((pixel & 0xFF) << 16 | (pixel & 0xFF00) | (pixel >> 16 & 0xFF));
}


HBITMAP CreateImage(int32_t width, int32_t height, const TBitmapFormat& f, void** bits) {
    HBITMAP image = nullptr;
    *bits = nullptr;
    if (!f.dib) {
        if (f.bitCount == 1) {
            image = CreateBitmap(width, height, 1, 1, nullptr);
        } else {
            TWindowDC screen(nullptr);
            image = CreateCompatibleBitmap(screen, width, height);
        }
    } else {
        TBitmapInfo info;
        info.header.biSize = sizeof(BITMAPINFOHEADER);
        info.header.biWidth = width;
        info.header.biHeight = f.topDown ? -height : height;
        info.header.biPlanes = 1;
        info.header.biBitCount = f.bitCount;
        info.header.biCompression = f.compression;
        if (f.compression == BI_BITFIELDS) {
            memcpy(info.table, f.masks, sizeof f.masks);
        } else if (f.bitCount <= 8) {
            info.header.biClrUsed = 1u << f.bitCount;
            for (size_t i = 0; i < f.colors.size() && i < 256; ++i) info.table[i] = f.colors[i];
        }
        image = CreateDIBSection(nullptr, info.Get(), DIB_RGB_COLORS, bits, nullptr, 0);
    }
    if (!image) OutOfResources();
    return image;
}

size_t DibStride(int32_t width, int bitCount) {
    return TDibImage::StrideOf(width, bitCount);
}

void StorePixels(HBITMAP image, void* bits, int32_t width, int32_t height, const TBitmapFormat& f,
                 const std::vector<uint32_t>& pixels) {
    if (f.Paletted() || (!f.dib && f.bitCount == 1)) {
        std::vector<uint32_t> monoTable = {0x000000, 0xFFFFFF};
        const std::vector<uint32_t>& table = f.dib ? f.colors : monoTable;
        const int bpp = f.dib ? f.bitCount : 1;
        const size_t stride = DibStride(width, bpp);
        std::vector<uint8_t> scratch;
        uint8_t* out = static_cast<uint8_t*>(bits);
        if (!f.dib) {
            scratch.assign(stride * height, 0);
            out = scratch.data();
        } else {
            GdiFlush();
        }
        TColorMatcher matcher(table);
        for (int32_t y = 0; y < height; ++y) {
            int32_t row = f.topDown ? y : height - 1 - y;
            uint8_t* line = out + stride * row;
            memset(line, 0, stride);
            const uint32_t* src = pixels.data() + size_t(y) * width;
            for (int32_t x = 0; x < width; ++x) {
                uint8_t index = matcher.Index(src[x] & 0xFFFFFF);
                if (bpp == 8) line[x] = index;
                else if (bpp == 4) line[x / 2] |= static_cast<uint8_t>(x & 1 ? index : index << 4);
                else if (index) line[x / 8] |= static_cast<uint8_t>(0x80 >> (x & 7));
            }
        }
        if (!f.dib) {
            TBitmapInfo info;
            info.header.biSize = sizeof(BITMAPINFOHEADER);
            info.header.biWidth = width;
            info.header.biHeight = height;
            info.header.biPlanes = 1;
            info.header.biBitCount = 1;
            info.header.biClrUsed = 2;
            info.table[0] = 0x000000;
            info.table[1] = 0xFFFFFF;
            TWindowDC screen(nullptr);
            SetDIBits(screen, image, 0, height, scratch.data(), info.Get(), DIB_RGB_COLORS);
        }
        return;
    }
    TBitmapInfo info = Info32(width, height, true);
    TWindowDC screen(nullptr);
    SetDIBits(screen, image, 0, height, pixels.data(), info.Get(), DIB_RGB_COLORS);
}


}  // namespace bitmap_gdi
