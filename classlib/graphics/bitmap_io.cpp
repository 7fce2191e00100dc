// TBitmap's files, resources and clipboard formats.
#include "classlib/graphics/bitmap.h"

#include <cstring>

#include "classlib/graphics/bitmap_gdi.h"
#include "classlib/graphics/bmp_codec.h"
#include "classlib/core/exceptions.h"
#include "classlib/graphics/graphics_strings.h"
#include "classlib/core/scope_exit.h"
#include "classlib/core/streams.h"
#include "classlib/core/strutils.h"
#include "classlib/gui/scoped_win32.h"

using namespace bitmap_gdi;

void TBitmap::LoadDib(const TDibImage& image) {
    TBitmapFormat f;
    f.bitCount = image.bitCount;
    f.compression = image.compression;
    memcpy(f.masks, image.masks, sizeof f.masks);
    if (f.bitCount <= 8) {
        f.colors = image.colors;
        f.colors.resize(size_t(1) << f.bitCount, 0);
    }
    void* bits = nullptr;
    HBITMAP handle = CreateImage(image.width, image.height, f, &bits);
    GdiFlush();
    memcpy(bits, image.bits.data(), image.Stride() * image.height);
    HPALETTE palette = f.Paletted() ? CreatePaletteFrom(image.colors) : nullptr;
    palette_.Reset();
    AdoptHandle(handle, palette);
}

TDibImage TBitmap::ToDibImage() const {
    TDibImage image;
    image.width = width_;
    image.height = height_;
    TBitmapFormat f = CurrentFormat();
    if (f.dib) {
        image.bitCount = f.bitCount;
        image.compression = f.compression;
        memcpy(image.masks, f.masks, sizeof f.masks);
        if (f.Paletted()) image.colors = f.colors;
        GdiFlush();
        DIBSECTION section{};
        GetObjectA(handle_.Get(), sizeof section, &section);
        const size_t stride = image.Stride();
        const uint8_t* bits = static_cast<const uint8_t*>(section.dsBm.bmBits);
        image.bits.resize(stride * height_);
        for (int32_t y = 0; y < height_; ++y) {
            int32_t from = f.topDown ? height_ - 1 - y : y;
            memcpy(&image.bits[stride * y], bits + stride * from, stride);
        }
        return image;
    }
    // Device bitmaps are written as 1 bit (monochrome) or 24 bits.
    image.bitCount = f.bitCount == 1 ? 1 : 24;
    TBitmapInfo info;
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = width_;
    info.header.biHeight = height_;
    info.header.biPlanes = 1;
    info.header.biBitCount = image.bitCount;
    image.bits.resize(image.Stride() * height_);
    ReleaseContext();
    TWindowDC screen(nullptr);
    if (!GetDIBits(screen, Handle(), 0, height_, image.bits.data(), info.Get(), DIB_RGB_COLORS)) OutOfResources();
    if (image.bitCount == 1) image.colors = {0x000000, 0xFFFFFF};
    return image;
}

void TBitmap::LoadFromStream(TStream& stream) {
    TDibImage image = ReadBmpFile(stream);
    LoadDib(image);
    Changed();
}

void TBitmap::ReadData(TStream& stream) {
    if (stream.Position() >= stream.Size()) {
        Clear();
        Changed();
        return;
    }
    LoadFromStream(stream);
}

void TBitmap::SaveToStream(TStream& stream) {
    if (!handle_.Get()) return;
    WriteBmpFile(stream, ToDibImage());
}

void TBitmap::LoadFromResource(HINSTANCE instance, const char* name, const std::string& shownName) {
    HRSRC resource = FindResourceA(instance, name, reinterpret_cast<LPCSTR>(RT_BITMAP));
    HGLOBAL loaded = resource ? LoadResource(instance, resource) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) throw EResNotFound(Format(GraphicsStr(SResNotFound), {shownName}));
    TDibImage image = ReadPackedDib(static_cast<const uint8_t*>(data), SizeofResource(instance, resource));
    LoadDib(image);
    Changed();
}

void TBitmap::LoadFromResourceName(HINSTANCE instance, const std::string& name) {
    LoadFromResource(instance, name.c_str(), name);
}

void TBitmap::LoadFromResourceID(HINSTANCE instance, int id) {
    LoadFromResource(instance, MAKEINTRESOURCEA(id), IntToStr(id));
}

void TBitmap::LoadFromClipboardFormat(UINT format, HANDLE data, HPALETTE palette) {
    if (format == CF_DIB && data) {
        TDibImage image;
        {
            TGlobalLock<const uint8_t> block(data);
            if (!block) throw EInvalidGraphic(GraphicsStr(SInvalidBitmap));
            image = ReadPackedDib(block.Get(), GlobalSize(data));
        }
        LoadDib(image);
        Changed();
        return;
    }
    if (format != CF_BITMAP || !data) throw EInvalidGraphic(GraphicsStr(SUnknownClipboardFormat));
    // The clipboard keeps its bitmap; we take a copy.
    auto copy = static_cast<HBITMAP>(CopyImage(data, IMAGE_BITMAP, 0, 0, 0));
    if (!copy) throw EInvalidGraphic(GraphicsStr(SInvalidBitmap));
    palette_.Reset();
    AdoptHandle(copy, CopyPalette(palette));
    Changed();
}

void TBitmap::SaveToClipboardFormat(UINT& format, HANDLE& data, HPALETTE& palette) {
    format = CF_BITMAP;
    data = nullptr;
    palette = nullptr;
    if (!handle_.Get()) return;
    ReleaseContext();
    data = CopyImage(Handle(), IMAGE_BITMAP, 0, 0, 0);
    if (!data) OutOfResources();
    palette = CopyPalette(Palette());
}
