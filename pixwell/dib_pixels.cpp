#include "pixwell/dib_pixels.h"

uint32_t DeclaredColorCount(const TBitmapInfoHeader& header) {
    const uint32_t depthLimit = header.biBitCount <= 8 ? 1u << header.biBitCount : 256;
    if (header.biClrUsed == 0) return header.biBitCount <= 8 ? depthLimit : 0;
    return header.biClrUsed < depthLimit ? header.biClrUsed : depthLimit;
}

bool ViewImage(const TDIB& dib, TImageView& view) {
    if (!dib.Info || !dib.Bits) return false;
    const auto& header = *static_cast<const TBitmapInfoHeader*>(dib.Info);
    if (header.biSize < sizeof(TBitmapInfoHeader) || header.biSize > 124) return false;
    if (header.biCompression != kBiRgb || !IsSupportedBitCount(header.biBitCount)) return false;
    if (header.biHeight <= 0 || header.biHeight > kMaxDimension) return false;
    const int64_t rowBytes = RowBytes(header.biWidth, header.biBitCount);
    if (rowBytes == 0 || dib.BytesPerLine < rowBytes || dib.BytesPerLine % 4 != 0) return false;
    const int64_t totalBytes = int64_t(dib.BytesPerLine) * header.biHeight;
    // Only the library's own records say how big their block is.
    if (dib.BitsSize != 0 && totalBytes > dib.BitsSize) return false;

    view.Width = header.biWidth;
    view.Height = header.biHeight;
    view.BitCount = header.biBitCount;
    view.BytesPerLine = dib.BytesPerLine;
    view.Bits = static_cast<uint8_t*>(dib.Bits);
    view.Colors = reinterpret_cast<const TRGBQuad*>(static_cast<const uint8_t*>(dib.Info) + header.biSize);
    view.ColorCount = DeclaredColorCount(header);
    if (dib.InfoSize != 0) {
        if (dib.InfoSize < header.biSize) return false;
        const uint32_t room = (dib.InfoSize - header.biSize) / sizeof(TRGBQuad);
        if (view.ColorCount > room) view.ColorCount = room;
    }
    return true;
}

uint32_t PixelValue(const TImageView& image, int32_t x, int32_t y) {
    const uint8_t* row = image.Row(y);
    switch (image.BitCount) {
    case 1: return (row[x / 8] >> (7 - x % 8)) & 1;
    case 4: return x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 0x0F;
    case 8: return row[x];
    case 16: return row[2 * x] | row[2 * x + 1] << 8;
    case 24: {
        const uint8_t* p = row + 3 * x;
        return p[2] | p[1] << 8 | p[0] << 16;
    }
    case 32: {
        const uint8_t* p = row + 4 * x;
        return p[2] | p[1] << 8 | p[0] << 16;
    }
    }
    return 0;
}

void SetPixelValue(const TImageView& image, int32_t x, int32_t y, uint32_t value) {
    uint8_t* row = image.Row(y);
    switch (image.BitCount) {
    case 1: {
        const uint8_t mask = static_cast<uint8_t>(0x80 >> (x % 8));
        row[x / 8] = static_cast<uint8_t>((value & 1) ? row[x / 8] | mask : row[x / 8] & ~mask);
        break;
    }
    case 4:
        if (x % 2 == 0)
            row[x / 2] = static_cast<uint8_t>((row[x / 2] & 0x0F) | (value & 0x0F) << 4);
        else
            row[x / 2] = static_cast<uint8_t>((row[x / 2] & 0xF0) | (value & 0x0F));
        break;
    case 8: row[x] = static_cast<uint8_t>(value); break;
    case 16:
        row[2 * x] = static_cast<uint8_t>(value);
        row[2 * x + 1] = static_cast<uint8_t>(value >> 8);
        break;
    case 24:
    case 32: {
        uint8_t* p = row + (image.BitCount / 8) * x;
        p[0] = static_cast<uint8_t>(value >> 16);
        p[1] = static_cast<uint8_t>(value >> 8);
        p[2] = static_cast<uint8_t>(value);
        break;
    }
    }
}

TRGBQuad PixelColor(const TImageView& image, int32_t x, int32_t y) {
    const uint32_t value = PixelValue(image, x, y);
    switch (image.BitCount) {
    case 1:
    case 4:
    case 8:
        return value < image.ColorCount ? image.Colors[value] : TRGBQuad{0, 0, 0, 0};
    case 16: {
        // 5-5-5, each channel widened to 8 bits.
        auto widen = [](uint32_t v) { return static_cast<uint8_t>(v << 3 | v >> 2); };
        return TRGBQuad{widen(value & 31), widen(value >> 5 & 31), widen(value >> 10 & 31), 0};
    }
    default:
        return TRGBQuad{static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 8),
                        static_cast<uint8_t>(value), 0};
    }
}
