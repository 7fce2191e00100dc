#include "classlib/comctrls/imagelist_gdi.h"

#include <cstring>

#include "classlib/core/exceptions.h"

namespace {

const char* const kUnreadableBitmap = "Die Bitmap kann nicht gelesen werden";

BITMAPINFO TopDownInfo(int width, int height, WORD bitsPerPixel) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = bitsPerPixel;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

}  // namespace

TPixelSurface::TPixelSurface(int width, int height, COLORREF fill) : width_(width), height_(height) {
    if (!dc_.Get()) throw EOutOfMemory("Zu wenig Arbeitsspeicher");
    bitmap_ = MakeDibSection32(dc_, width, height, bits_);
    if (!bitmap_.Get()) throw EOutOfMemory("Zu wenig Arbeitsspeicher");
    selected_ = TSelectedObject(dc_, bitmap_.Get());
    RECT r{0, 0, width, height};
    TGdiObject brush(CreateSolidBrush(fill));
    FillRect(dc_, &r, static_cast<HBRUSH>(brush.Get()));
}

uint32_t TPixelSurface::At(int x, int y) const {
    GdiFlush();
    return bits_[static_cast<size_t>(y) * static_cast<size_t>(width_) +
                                               static_cast<size_t>(x)] & 0xFFFFFF;
}

TStripPixels ReadBitmapPixels(HBITMAP bitmap) {
    BITMAP bm{};
    if (!bitmap || !GetObjectA(bitmap, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0)
        throw EInvalidGraphic(kUnreadableBitmap);
    TStripPixels image;
    image.Width = bm.bmWidth;
    image.Height = bm.bmHeight;
    image.Pixels.resize(static_cast<size_t>(bm.bmWidth) * static_cast<size_t>(bm.bmHeight));
    BITMAPINFO info = TopDownInfo(bm.bmWidth, bm.bmHeight, 32);
    int rows = GetDIBits(TWindowDC(nullptr), bitmap, 0, static_cast<UINT>(bm.bmHeight), image.Pixels.data(), &info,
                         DIB_RGB_COLORS);
    if (rows != bm.bmHeight) throw EInvalidGraphic(kUnreadableBitmap);
    for (uint32_t& p : image.Pixels) p &= 0xFFFFFF;
    return image;
}

HBITMAP CreateColorBitmap(const TStripPixels& image) {
    BITMAPINFO info = TopDownInfo(image.Width, image.Height, 32);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) throw EOutOfMemory("Zu wenig Arbeitsspeicher");
    std::memcpy(bits, image.Pixels.data(), image.Pixels.size() * sizeof(uint32_t));
    GdiFlush();
    return bitmap;
}

HBITMAP CreateMaskBitmap(const TStripMask& mask) {
    // Monochrome bitmaps take rows padded to 16 bits; 1 is white.
    size_t stride = (static_cast<size_t>(mask.Width) + 15) / 16 * 2;
    std::vector<uint8_t> rows(stride * static_cast<size_t>(mask.Height), 0);
    for (int32_t y = 0; y < mask.Height; ++y)
        for (int32_t x = 0; x < mask.Width; ++x)
            if (mask.Bits[static_cast<size_t>(y) * static_cast<size_t>(mask.Width) + static_cast<size_t>(x)])
                rows[static_cast<size_t>(y) * stride + static_cast<size_t>(x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
    HBITMAP bitmap = CreateBitmap(mask.Width, mask.Height, 1, 1, rows.data());
    if (!bitmap) throw EOutOfMemory("Zu wenig Arbeitsspeicher");
    return bitmap;
}

void CaptureImageList(HIMAGELIST list, int width, int height, int count, TStripPixels& image, TStripMask* mask) {
    int stripWidth = width * count;
    // Transparent parts over black give the colour pixels as kept.
    TPixelSurface colour(stripWidth, height, RGB(0, 0, 0));
    for (int i = 0; i < count; ++i)
        ImageList_DrawEx(list, i, colour.Dc(), i * width, 0, width, height, CLR_NONE, CLR_NONE, ILD_TRANSPARENT);
    image.Width = stripWidth;
    image.Height = height;
    image.Pixels.resize(static_cast<size_t>(stripWidth) * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < stripWidth; ++x)
            image.Pixels[static_cast<size_t>(y) * static_cast<size_t>(stripWidth) + static_cast<size_t>(x)] =
                colour.At(x, y);
    if (!mask) return;
    TPixelSurface shape(stripWidth, height, RGB(255, 255, 255));
    for (int i = 0; i < count; ++i)
        ImageList_DrawEx(list, i, shape.Dc(), i * width, 0, width, height, CLR_NONE, CLR_NONE, ILD_MASK);
    mask->Width = stripWidth;
    mask->Height = height;
    mask->Bits.resize(image.Pixels.size());
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < stripWidth; ++x)
            mask->Bits[static_cast<size_t>(y) * static_cast<size_t>(stripWidth) + static_cast<size_t>(x)] =
                shape.At(x, y) != 0 ? 1 : 0;
}
