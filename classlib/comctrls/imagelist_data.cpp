#include "classlib/comctrls/imagelist_data.h"

#include <algorithm>
#include <cstdlib>

#include "classlib/core/byte_fields.h"
#include "classlib/core/exceptions.h"
#include "classlib/core/resstrings.h"
#include "classlib/core/stream_errors.h"

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;
constexpr size_t kListHeaderSize = 16;
constexpr uint32_t kFlagMasked = 1;

uint64_t Stride(int32_t width, int bitsPerPixel) {
    return (static_cast<uint64_t>(width) * static_cast<uint64_t>(bitsPerPixel) + 31) / 32 * 4;
}

// BITMAPFILEHEADER and BITMAPINFOHEADER of a bottom-up BI_RGB picture.
void PutHeaders(std::string& out, int32_t width, int32_t height, uint16_t bitsPerPixel, uint32_t paletteSize,
                uint32_t imageSize) {
    uint32_t offset = static_cast<uint32_t>(kFileHeaderSize + kInfoHeaderSize) + paletteSize;
    out += "BM";
    AppendLittleEndian<uint32_t>(out, offset + imageSize);
    AppendLittleEndian<uint32_t>(out, 0);
    AppendLittleEndian<uint32_t>(out, offset);
    AppendLittleEndian<uint32_t>(out, static_cast<uint32_t>(kInfoHeaderSize));
    AppendLittleEndian<uint32_t>(out, static_cast<uint32_t>(width));
    AppendLittleEndian<uint32_t>(out, static_cast<uint32_t>(height));
    AppendLittleEndian<uint16_t>(out, 1);
    AppendLittleEndian<uint16_t>(out, bitsPerPixel);
    AppendLittleEndian<uint32_t>(out, 0);  // BI_RGB
    AppendLittleEndian<uint32_t>(out, imageSize);
    AppendLittleEndian<uint32_t>(out, 2835);  // 72 dpi
    AppendLittleEndian<uint32_t>(out, 2835);
    AppendLittleEndian<uint32_t>(out, paletteSize / 4);
    AppendLittleEndian<uint32_t>(out, 0);
}

struct TBmpLayout {
    int32_t Width = 0, Height = 0;
    bool TopDown = false;
    size_t Palette = 0, PaletteCount = 0;  // offset and entries
    size_t Bits = 0;                        // offset of the first stored row
    uint64_t Stride = 0;
};

// Validates one BMP file at data[pos] with the given depth; pos moves to
// its end.
TBmpLayout ReadLayout(const std::string& data, size_t& pos, int bitsPerPixel) {
    if (pos > data.size() || data.size() - pos < kFileHeaderSize + kInfoHeaderSize) RaiseInvalidImage();
    if (data[pos] != 'B' || data[pos + 1] != 'M') RaiseInvalidImage();
    uint64_t fileSize = GetLittleEndian<uint32_t>(&data[pos + 2]);
    uint64_t offBits = GetLittleEndian<uint32_t>(&data[pos + 10]);
    uint64_t infoSize = GetLittleEndian<uint32_t>(&data[pos + 14]);
    if (fileSize > data.size() - pos) RaiseInvalidImage();
    if (infoSize < kInfoHeaderSize || kFileHeaderSize + infoSize > offBits || offBits > fileSize) RaiseInvalidImage();

    size_t info = pos + kFileHeaderSize;
    auto width = static_cast<int32_t>(GetLittleEndian<uint32_t>(&data[info + 4]));
    auto height = static_cast<int32_t>(GetLittleEndian<uint32_t>(&data[info + 8]));
    if (width <= 0 || height == 0 || height == INT32_MIN) RaiseInvalidImage();
    if (GetLittleEndian<uint16_t>(&data[info + 12]) != 1 ||
        GetLittleEndian<uint16_t>(&data[info + 14]) != bitsPerPixel || GetLittleEndian<uint32_t>(&data[info + 16]) != 0)
        RaiseInvalidImage();

    TBmpLayout l;
    l.Width = width;
    l.Height = std::abs(height);
    l.TopDown = height < 0;
    l.Stride = Stride(width, bitsPerPixel);
    if (bitsPerPixel == 1) {
        uint32_t used = GetLittleEndian<uint32_t>(&data[info + 32]);
        l.PaletteCount = used == 0 ? 2 : used;
        l.Palette = pos + kFileHeaderSize + static_cast<size_t>(infoSize);
        if (l.PaletteCount > 2 || kFileHeaderSize + infoSize + 4 * l.PaletteCount > offBits) RaiseInvalidImage();
    }
    if (l.Stride * static_cast<uint64_t>(l.Height) > fileSize - offBits) RaiseInvalidImage();
    l.Bits = pos + static_cast<size_t>(offBits);
    pos += static_cast<size_t>(fileSize);
    return l;
}

// Where row y (top-down) is stored.
size_t RowOffset(const TBmpLayout& l, int32_t y) {
    int32_t stored = l.TopDown ? y : l.Height - 1 - y;
    return l.Bits + static_cast<size_t>(l.Stride * static_cast<uint64_t>(stored));
}

}  // namespace

std::string EncodeBmp24(const TStripPixels& image) {
    uint64_t stride = Stride(image.Width, 24);
    auto imageSize = static_cast<uint32_t>(stride * static_cast<uint64_t>(image.Height));
    std::string out;
    out.reserve(kFileHeaderSize + kInfoHeaderSize + imageSize);
    PutHeaders(out, image.Width, image.Height, 24, 0, imageSize);
    for (int32_t y = image.Height - 1; y >= 0; --y) {
        const uint32_t* row = image.Pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(image.Width);
        for (int32_t x = 0; x < image.Width; ++x) {
            uint32_t rgb = row[x];
            out += static_cast<char>(rgb & 0xFF);
            out += static_cast<char>((rgb >> 8) & 0xFF);
            out += static_cast<char>((rgb >> 16) & 0xFF);
        }
        out.append(static_cast<size_t>(stride) - 3 * static_cast<size_t>(image.Width), '\0');
    }
    return out;
}

std::string EncodeBmp1(const TStripMask& mask) {
    uint64_t stride = Stride(mask.Width, 1);
    auto imageSize = static_cast<uint32_t>(stride * static_cast<uint64_t>(mask.Height));
    std::string out;
    out.reserve(kFileHeaderSize + kInfoHeaderSize + 8 + imageSize);
    PutHeaders(out, mask.Width, mask.Height, 1, 8, imageSize);
    AppendLittleEndian<uint32_t>(out, 0x000000);  // black: opaque
    AppendLittleEndian<uint32_t>(out, 0xFFFFFF);  // white: transparent
    std::string row(static_cast<size_t>(stride), '\0');
    for (int32_t y = mask.Height - 1; y >= 0; --y) {
        std::fill(row.begin(), row.end(), '\0');
        const uint8_t* bits = mask.Bits.data() + static_cast<size_t>(y) * static_cast<size_t>(mask.Width);
        for (int32_t x = 0; x < mask.Width; ++x)
            if (bits[x]) row[static_cast<size_t>(x / 8)] = static_cast<char>(row[static_cast<size_t>(x / 8)] | (0x80 >> (x % 8)));
        out += row;
    }
    return out;
}

TStripPixels DecodeBmp24(const std::string& data, size_t& pos) {
    TBmpLayout l = ReadLayout(data, pos, 24);
    TStripPixels image;
    image.Width = l.Width;
    image.Height = l.Height;
    image.Pixels.resize(static_cast<size_t>(l.Width) * static_cast<size_t>(l.Height));
    for (int32_t y = 0; y < l.Height; ++y) {
        const auto* p = reinterpret_cast<const uint8_t*>(data.data() + RowOffset(l, y));
        uint32_t* row = image.Pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(l.Width);
        for (int32_t x = 0; x < l.Width; ++x, p += 3) row[x] = uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
    }
    return image;
}

TStripMask DecodeBmp1(const std::string& data, size_t& pos) {
    TBmpLayout l = ReadLayout(data, pos, 1);
    // A palette entry counts as transparent when it is not black.
    bool transparent[2] = {false, true};
    for (size_t i = 0; i < l.PaletteCount; ++i) transparent[i] = (GetLittleEndian<uint32_t>(&data[l.Palette + 4 * i]) & 0xFFFFFF) != 0;
    TStripMask mask;
    mask.Width = l.Width;
    mask.Height = l.Height;
    mask.Bits.resize(static_cast<size_t>(l.Width) * static_cast<size_t>(l.Height));
    for (int32_t y = 0; y < l.Height; ++y) {
        const auto* p = reinterpret_cast<const uint8_t*>(data.data() + RowOffset(l, y));
        uint8_t* row = mask.Bits.data() + static_cast<size_t>(y) * static_cast<size_t>(l.Width);
        for (int32_t x = 0; x < l.Width; ++x) row[x] = transparent[(p[x / 8] >> (7 - x % 8)) & 1] ? 1 : 0;
    }
    return mask;
}

std::string EncodeImageListData(const TImageListData& list) {
    std::string out;
    AppendLittleEndian<uint32_t>(out, static_cast<uint32_t>(list.Width));
    AppendLittleEndian<uint32_t>(out, static_cast<uint32_t>(list.Height));
    AppendLittleEndian<uint32_t>(out, static_cast<uint32_t>(list.Count));
    AppendLittleEndian<uint32_t>(out, list.Masked ? kFlagMasked : 0);
    if (list.Count > 0) {
        out += EncodeBmp24(list.Image);
        if (list.Masked) out += EncodeBmp1(list.Mask);
    }
    return out;
}

TImageListData DecodeImageListData(const std::string& data) {
    if (data.size() < kListHeaderSize) RaiseInvalidImage();
    TImageListData list;
    list.Width = static_cast<int32_t>(GetLittleEndian<uint32_t>(&data[0]));
    list.Height = static_cast<int32_t>(GetLittleEndian<uint32_t>(&data[4]));
    list.Count = static_cast<int32_t>(GetLittleEndian<uint32_t>(&data[8]));
    uint32_t flags = GetLittleEndian<uint32_t>(&data[12]);
    if (list.Width <= 0 || list.Height <= 0 || list.Count < 0 || (flags & ~kFlagMasked) != 0) RaiseInvalidImage();
    list.Masked = (flags & kFlagMasked) != 0;
    size_t pos = kListHeaderSize;
    if (list.Count > 0) {
        int64_t stripWidth = static_cast<int64_t>(list.Width) * list.Count;
        list.Image = DecodeBmp24(data, pos);
        if (list.Image.Width != stripWidth || list.Image.Height != list.Height) RaiseInvalidImage();
        if (list.Masked) {
            list.Mask = DecodeBmp1(data, pos);
            if (list.Mask.Width != stripWidth || list.Mask.Height != list.Height) RaiseInvalidImage();
        }
    }
    if (pos != data.size()) RaiseInvalidImage();
    return list;
}
