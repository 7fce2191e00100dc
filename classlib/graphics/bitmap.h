// TBitmap: a picture held in a GDI bitmap, either a DIB section (pixels in
// our memory, any of the BMP depths) or a device bitmap. Drawing on it goes
// through Canvas(), a memory DC with the bitmap selected.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "classlib/gui/canvas.h"
#include "classlib/gui/graphic.h"
#include "classlib/gui/scoped_win32.h"
#include "classlib/gui/graphics_objects.h"

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
DECLARE_ENUM_TYPE(TPixelFormat)
enum TTransparentMode { tmAuto, tmFixed };
DECLARE_ENUM_TYPE(TTransparentMode)
enum TBitmapHandleType { bmDIB, bmDDB };
DECLARE_ENUM_TYPE(TBitmapHandleType)

class TBitmapCanvas;
struct TBitmapFormat;
struct TDibImage;

class TBitmap : public TGraphic {
    DECLARE_CLASS(TBitmap, TGraphic)
public:
    TBitmap();
    ~TBitmap() override;

    void Assign(const TPersistent* source) override;

    bool Empty() const override { return !handle_.Get(); }
    int32_t Width() const override { return width_; }
    int32_t Height() const override { return height_; }
    void SetWidth(int32_t width) override { SetSize(width, height_); }
    void SetHeight(int32_t height) override { SetSize(width_, height); }
    // Keeps the picture at the top left; new area takes the canvas brush
    // colour. A size of 0 in either direction empties the bitmap but the
    // other value is kept for later.
    void SetSize(int32_t width, int32_t height);

    TCanvas* Canvas();
    // The bitmap; ownership stays here. SetHandle takes ownership of a
    // DIB section or device bitmap; ReleaseHandle gives it away and leaves
    // the bitmap empty.
    HBITMAP Handle() const { return static_cast<HBITMAP>(handle_.Get()); }
    void SetHandle(HBITMAP handle);
    HBITMAP ReleaseHandle();
    bool HandleAllocated() const { return handle_.Get() != nullptr; }
    TBitmapHandleType HandleType() const;
    void SetHandleType(TBitmapHandleType type);

    TPixelFormat PixelFormat() const;
    void SetPixelFormat(TPixelFormat format);
    bool Monochrome() const;
    void SetMonochrome(bool value);
    // Owned; SetPalette takes ownership and recolours a palette DIB.
    HPALETTE Palette() const override { return static_cast<HPALETTE>(palette_.Get()); }
    void SetPalette(HPALETTE palette) override;
    HPALETTE ReleasePalette();

    // Pixel row `row` (0 = top) of the DIB; a device bitmap becomes a DIB
    // first. Valid until the bitmap changes.
    void* ScanLine(int32_t row);

    // tmAuto: the bottom-left pixel. Setting a colour switches to tmFixed
    // (clDefault switches back to tmAuto).
    TColor TransparentColor() const;
    void SetTransparentColor(TColor color);
    TTransparentMode TransparentMode() const { return transparent_mode_; }
    void SetTransparentMode(TTransparentMode mode);
    // Monochrome mask: white where the transparent colour is. Owned here.
    HBITMAP MaskHandle() const;

    // Frees the canvas's device context (the bitmap stays); the canvas
    // gets a new one when it is used again.
    void Dormant();
    // Frees the device context and the cached mask.
    void FreeImage();

    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;
    void LoadFromResourceName(HINSTANCE instance, const std::string& name);
    void LoadFromResourceID(HINSTANCE instance, int id);
    void LoadFromClipboardFormat(UINT format, HANDLE data, HPALETTE palette) override;
    void SaveToClipboardFormat(UINT& format, HANDLE& data, HPALETTE& palette) override;

    void Draw(TCanvas* canvas, const TRect& rect) override;

    // Layouts: "Data" holds the BMP file bytes exactly as SaveToStream
    // writes them, with no length or other prefix (the binary property
    // already carries the length); no data at all is an empty bitmap.
    void ReadData(TStream& stream) override;

    // The pixels as 0x00RRGGBB, top row first.
    std::vector<uint32_t> Pixels32() const;

protected:
    void Changed() override;

private:
    friend class TBitmapCanvas;

    void Clear();
    void LoadDib(const TDibImage& image);
    // Replaces the image by one of the given size and format, carrying the
    // picture over.
    void Reformat(int32_t width, int32_t height, const TBitmapFormat& format);
    TBitmapFormat CurrentFormat() const;
    TBitmapFormat WantedFormat() const;
    TBitmapFormat FormatFor(TPixelFormat format) const;
    void AdoptHandle(HBITMAP handle, HPALETTE palette);
    void DropMask() const;
    void ReleaseContext() const;
    void BuildMask() const;
    void DrawTransparent(HDC dc, const TRect& rect) const;
    void CopyFrom(const TBitmap& source);
    TDibImage ToDibImage() const;
    bool IsDib() const;
    void WithImageDC(const std::function<void(HDC)>& use) const;
    void LoadFromResource(HINSTANCE instance, const char* name, const std::string& shownName);

    TGdiObject handle_;
    TGdiObject palette_;
    int32_t width_ = 0, height_ = 0;
    TPixelFormat wanted_format_ = pfDevice;   // for the next image of an empty bitmap
    TBitmapHandleType wanted_type_ = bmDDB;
    TColor transparent_color_ = clDefault;
    TTransparentMode transparent_mode_ = tmAuto;
    std::unique_ptr<TBitmapCanvas> canvas_;
    mutable TGdiObject mask_;                 // cached for transparent drawing
    mutable TGdiObject masked_image_;         // the picture, black where transparent
};
