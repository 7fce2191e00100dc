#include "pixwell/bmp_reader.h"

#include <cstring>

#include "pixwell/dib_layout.h"
#include "pixwell/dib_memory.h"

namespace {

constexpr size_t kFileHeaderSize = 14;

uint16_t ReadU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t ReadU32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }

// What the headers say, before any of it is trusted.
struct TBmpLayout {
    int64_t Width = 0;
    int64_t Height = 0;  // negative: top-down
    uint32_t BitCount = 0;
    uint32_t Compression = kBiRgb;
    uint32_t ColorCount = 0;
    uint64_t TableOffset = 0;
    uint64_t PixelOffset = 0;
    uint32_t Masks[3] = {0, 0, 0};  // red, green, blue
};

// Bit position of a mask covering exactly one whole byte; -1 otherwise.
int ByteMaskShift(uint32_t mask) {
    for (int shift = 0; shift <= 24; shift += 8)
        if (mask == 0xFFu << shift) return shift;
    return -1;
}

bool ReadLayout(const uint8_t* data, size_t size, TBmpLayout& layout) {
    if (size < kFileHeaderSize + 4) return false;
    const uint32_t headerSize = ReadU32(data + 14);
    if (headerSize < 40 || headerSize > 124 || kFileHeaderSize + headerSize > size) return false;
    const uint8_t* header = data + kFileHeaderSize;
    layout.Width = static_cast<int32_t>(ReadU32(header + 4));
    layout.Height = static_cast<int32_t>(ReadU32(header + 8));
    const uint16_t planes = ReadU16(header + 12);
    layout.BitCount = ReadU16(header + 14);
    layout.Compression = ReadU32(header + 16);
    const uint32_t colorsUsed = ReadU32(header + 32);
    layout.TableOffset = kFileHeaderSize + headerSize;

    if (planes != 1 || layout.Width <= 0 || layout.Width > kMaxDimension || layout.Height == 0 ||
        layout.Height > kMaxDimension || layout.Height < -kMaxDimension)
        return false;
    if (layout.BitCount != 1 && layout.BitCount != 4 && layout.BitCount != 8 && layout.BitCount != 24 &&
        layout.BitCount != 32)
        return false;

    if (layout.Compression == kBiBitfields) {
        if (layout.BitCount != 32) return false;
        // Version 3 headers keep the masks behind the header, later ones inside.
        const uint64_t maskOffset = kFileHeaderSize + 40;
        if (headerSize == 40) layout.TableOffset += 12;
        if (maskOffset + 12 > size) return false;
        for (int i = 0; i < 3; ++i) {
            layout.Masks[i] = ReadU32(data + maskOffset + 4 * i);
            if (ByteMaskShift(layout.Masks[i]) < 0) return false;
        }
    } else if (layout.Compression != kBiRgb) {
        return false;
    }

    if (layout.BitCount <= 8) {
        const uint32_t limit = 1u << layout.BitCount;
        if (colorsUsed > limit) return false;
        layout.ColorCount = colorsUsed ? colorsUsed : limit;
    }

    const uint64_t tableEnd = layout.TableOffset + uint64_t(layout.ColorCount) * 4;
    layout.PixelOffset = ReadU32(data + 10);
    if (layout.PixelOffset == 0) {
        layout.PixelOffset = tableEnd;
    } else if (layout.PixelOffset < tableEnd) {
        // A shorter table than declared: take the entries that are there.
        if (layout.PixelOffset < layout.TableOffset) return false;
        layout.ColorCount = static_cast<uint32_t>((layout.PixelOffset - layout.TableOffset) / 4);
        if (layout.BitCount <= 8 && layout.ColorCount == 0) return false;
    }
    return layout.TableOffset + uint64_t(layout.ColorCount) * 4 <= size;
}

void ReadColorTable(const uint8_t* data, const TBmpLayout& layout, TRGBQuad* table) {
    const uint8_t* entry = data + layout.TableOffset;
    for (uint32_t i = 0; i < layout.ColorCount; ++i, entry += 4) table[i] = TRGBQuad{entry[0], entry[1], entry[2], 0};
}

void Convert32To24(const uint8_t* source, uint8_t* target, int64_t width, const TBmpLayout& layout) {
    const bool fields = layout.Compression == kBiBitfields;
    const int red = fields ? ByteMaskShift(layout.Masks[0]) : 16;
    const int green = fields ? ByteMaskShift(layout.Masks[1]) : 8;
    const int blue = fields ? ByteMaskShift(layout.Masks[2]) : 0;
    for (int64_t x = 0; x < width; ++x, source += 4, target += 3) {
        const uint32_t pixel = ReadU32(source);
        target[0] = static_cast<uint8_t>(pixel >> blue);
        target[1] = static_cast<uint8_t>(pixel >> green);
        target[2] = static_cast<uint8_t>(pixel >> red);
    }
}

}  // namespace

bool LooksLikeBmp(const uint8_t* data, size_t size) {
    return size >= 2 && data[0] == 'B' && data[1] == 'M';
}

bool DecodeBmp(const uint8_t* data, size_t size, TDIB& dib) {
    std::memset(&dib, 0, sizeof dib);
    TBmpLayout layout;
    if (!LooksLikeBmp(data, size) || !ReadLayout(data, size, layout)) return false;

    const int64_t height = layout.Height < 0 ? -layout.Height : layout.Height;
    const int64_t fileRowBytes = RowBytes(layout.Width, layout.BitCount);
    if (fileRowBytes * height > kMaxPixelBytes) return false;
    if (layout.PixelOffset + uint64_t(fileRowBytes * height) > size) return false;

    TRGBQuad table[256];
    const uint32_t tableCount = layout.BitCount <= 8 ? layout.ColorCount : 0;
    ReadColorTable(data, layout, table);
    const int32_t bitCount = layout.BitCount == 32 ? 24 : static_cast<int32_t>(layout.BitCount);
    if (!CreateImage(dib, static_cast<int32_t>(layout.Width), static_cast<int32_t>(height), bitCount, table,
                     tableCount))
        return false;

    auto* target = static_cast<uint8_t*>(dib.Bits);
    for (int64_t row = 0; row < height; ++row) {
        const int64_t fileRow = layout.Height < 0 ? height - 1 - row : row;
        const uint8_t* source = data + layout.PixelOffset + fileRow * fileRowBytes;
        uint8_t* line = target + row * dib.BytesPerLine;
        if (layout.BitCount == 32)
            Convert32To24(source, line, layout.Width, layout);
        else
            std::memcpy(line, source, static_cast<size_t>(fileRowBytes));
    }
    return true;
}
