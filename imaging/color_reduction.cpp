#include "imaging/color_reduction.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "classlib/core/exceptions.h"
#include "classlib/graphics/graphics_strings.h"
#include "classlib/gui/scoped_win32.h"
#include "controls/window_utils.h"

namespace {

int BitCountOf(TPixelFormat format, HBITMAP handle) {
    switch (format) {
        case pf1bit: return 1;
        case pf4bit: return 4;
        case pf8bit: return 8;
        case pf24bit: return 24;
        default: {
            BITMAP info{};
            GetObjectA(handle, sizeof info, &info);
            return info.bmPlanes * info.bmBitsPixel;
        }
    }
}

size_t ScanLineBytes(int64_t pixels, int bitsPerPixel, int alignment) {
    return static_cast<size_t>(((pixels * bitsPerPixel + alignment - 1) / alignment * alignment) / 8);
}

// The 40-byte header of the bitmap at the format's depth. A DIB section's
// own header is the start; when the depth changes, the fields that belong to
// the old depth (compression, image size, colour counts) are set anew.
BITMAPINFOHEADER FillDIBHeader(HBITMAP handle, TPixelFormat format) {
    DIBSECTION section{};
    const int answer = GetObjectA(handle, sizeof section, &section);
    if (!answer) RaiseInvalidBitmap();
    BITMAPINFOHEADER header{};
    const bool isSection = answer > static_cast<int>(sizeof(BITMAP)) && section.dsBmih.biSize >= 40;
    if (isSection) {
        header = section.dsBmih;
        header.biSize = 40;
    } else {
        header.biSize = 40;
        header.biWidth = section.dsBm.bmWidth;
        header.biHeight = section.dsBm.bmHeight;
    }
    const int bits = BitCountOf(format, handle);
    if (!isSection || header.biBitCount != bits) {
        header.biCompression = BI_RGB;
        header.biSizeImage = 0;
        header.biClrUsed = 0;
        header.biClrImportant = 0;
    }
    header.biBitCount = static_cast<WORD>(bits);
    header.biPlanes = 1;
    if (header.biSizeImage == 0)
        header.biSizeImage = static_cast<DWORD>(ScanLineBytes(header.biWidth, bits, 32) * size_t(std::abs(header.biHeight)));
    return header;
}

struct TDibSizes {
    size_t info, image;
};

TDibSizes DIBSizes(const BITMAPINFOHEADER& header) {
    TDibSizes sizes{40, header.biSizeImage};
    if (header.biBitCount < 9) sizes.info = 40 + 4 * (size_t(1) << header.biBitCount);
    else if (header.biCompression & 3) sizes.info = 52;
    return sizes;
}

// The bitmap's rows into info (header and room for the colour table) and bits.
void ReadDIBBits(HBITMAP handle, HPALETTE palette, BITMAPINFOHEADER& header, void* info, void* bits) {
    header.biHeight = std::abs(header.biHeight);
    std::memcpy(info, &header, sizeof header);
    TMemoryDC dc;
    TSelectedPalette selected(dc, palette, false);
    if (palette) RealizePalette(dc);
    GetDIBits(dc, handle, 0, static_cast<UINT>(header.biHeight), bits, static_cast<BITMAPINFO*>(info), DIB_RGB_COLORS);
}

// A whole bitmap file image of the bitmap at the format's depth.
std::vector<uint8_t> DIBFileImage(HBITMAP handle, HPALETTE palette, TPixelFormat format) {
    if (!handle) RaiseInvalidBitmap();
    BITMAPINFOHEADER header = FillDIBHeader(handle, format);
    const TDibSizes sizes = DIBSizes(header);
    std::vector<uint8_t> image(14 + sizes.info + sizes.image, 0);
    image[0] = 'B';
    image[1] = 'M';
    const uint32_t fileSize = static_cast<uint32_t>(image.size()), offset = static_cast<uint32_t>(14 + sizes.info);
    std::memcpy(&image[2], &fileSize, 4);
    std::memcpy(&image[10], &offset, 4);
    ReadDIBBits(handle, palette, header, &image[14], &image[offset]);
    return image;
}

void WriteAll(TMemoryStream& stream, const void* bytes, size_t size) {
    stream.WriteBuffer(bytes, static_cast<int32_t>(size));
}

}  // namespace

void RaiseInvalidBitmap() {
    throw EInvalidGraphic(GraphicsStr(SInvalidBitmap));
}

int ColorCountOfPixelFormat(TPixelFormat format) {
    switch (format) {
        case pf1bit: return 2;
        case pf4bit: return 16;
        case pf8bit: return 256;
        default: return 0;
    }
}

TMemoryStream* ConvertBitmapPixelFormat(TBitmap* bitmap, TPixelFormat format, TReductionMethod method) {
    if (!bitmap || !bitmap->HandleAllocated()) RaiseInvalidBitmap();
    auto stream = MakeOwned<TMemoryStream>();
    if (bitmap->PixelFormat() == format && method != rmGrayscale) {
        bitmap->SaveToStream(*stream);
        stream->SetPosition(0);
        return stream.release();
    }
    if (format != pf1bit && format != pf4bit && format != pf8bit && format != pf24bit) AbortNotYetImplemented();
    bitmap->Dormant();  // the rows are read while no device context holds the bitmap
    HBITMAP handle = bitmap->Handle();
    if (format != pf8bit) {
        const std::vector<uint8_t> image = DIBFileImage(handle, bitmap->Palette(), format);
        WriteAll(*stream, image.data(), image.size());
        stream->SetPosition(0);
        return stream.release();
    }
    std::vector<uint8_t> source = DIBFileImage(handle, bitmap->Palette(), pf24bit);
    BITMAPINFOHEADER sourceHeader;
    std::memcpy(&sourceHeader, &source[14], sizeof sourceHeader);
    if (sourceHeader.biBitCount != 24) AbortNotYetImplemented();
    uint32_t sourceOffset;
    std::memcpy(&sourceOffset, &source[10], 4);

    BITMAPINFOHEADER header = FillDIBHeader(handle, pf8bit);
    // Whatever the source's 8-bit header said, the result has a full palette.
    header.biHeight = std::abs(header.biHeight);
    header.biCompression = BI_RGB;
    header.biClrUsed = 0;
    header.biClrImportant = 0;
    header.biSizeImage = static_cast<DWORD>(ScanLineBytes(header.biWidth, 8, 32) * size_t(header.biHeight));
    const TDibSizes sizes = DIBSizes(header);
    std::vector<uint8_t> head(14 + sizes.info, 0);
    uint8_t* palette = &head[14 + 40];
    const TPixels24 pixels{&source[sourceOffset], std::abs(sourceHeader.biWidth), std::abs(sourceHeader.biHeight)};
    switch (method) {
        case rmHistogram:
            ReduceByHistogram(pixels, palette, ColorCountOfPixelFormat(pf8bit));
            break;
        case rmQuantize:
            header.biClrImportant = static_cast<DWORD>(ReduceByMedianCut(pixels, palette, 256));
            break;
        case rmTruncate784:
            ReduceByTruncation784(pixels, palette);
            header.biClrImportant = 224;
            break;
        case rmTruncate666:
            ReduceByTruncation666(pixels, palette);
            header.biClrImportant = 216;
            break;
        case rmChannelCycle:
            ReduceByChannelCycle(pixels, palette);
            break;
        case rmGrayscale:
            ReduceToGrayscale(pixels, palette);
            break;
    }
    std::memcpy(&head[14], &header, sizeof header);
    head[0] = 'B';
    head[1] = 'M';
    const uint32_t fileSize = static_cast<uint32_t>(head.size() + sizes.image), offset = static_cast<uint32_t>(head.size());
    std::memcpy(&head[2], &fileSize, 4);
    std::memcpy(&head[10], &offset, 4);
    WriteAll(*stream, head.data(), head.size());
    WriteAll(*stream, &source[sourceOffset], sizes.image);
    stream->SetPosition(0);
    return stream.release();
}

TMemoryStream* ReduceBitmapToColorCount(TBitmap* bitmap, int colorCount) {
    const TPixelFormat format = colorCount <= 2 ? pf1bit : colorCount <= 16 ? pf4bit : colorCount <= 256 ? pf8bit : pf24bit;
    return ConvertBitmapPixelFormat(bitmap, format, DefaultReductionMethod);
}
