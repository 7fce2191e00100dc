#include "classlib/graphics/bitmap.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "classlib/core/class_builder.h"
#include "classlib/graphics/bitmap_gdi.h"
#include "classlib/graphics/bmp_codec.h"
#include "classlib/core/exceptions.h"
#include "classlib/graphics/graphics_strings.h"
#include "classlib/core/streams.h"
#include "classlib/core/strutils.h"
#include "classlib/gui/scoped_win32.h"

DEFINE_ENUM_TYPE(TPixelFormat, "pfDevice", "pf1bit", "pf4bit", "pf8bit", "pf15bit", "pf16bit", "pf24bit", "pf32bit",
                 "pfCustom")
DEFINE_ENUM_TYPE(TTransparentMode, "tmAuto", "tmFixed")
DEFINE_ENUM_TYPE(TBitmapHandleType, "bmDIB", "bmDDB")

using namespace bitmap_gdi;

// The bitmap's canvas: a memory DC holding the bitmap (and its palette)
// while the canvas is in use.
class TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap* bitmap) : bitmap_(bitmap) {}
    ~TBitmapCanvas() override { FreeContext(); }

    void FreeContext() {
        if (!memory_dc_) return;
        SetHandle(nullptr);
        bitmap_selected_.reset();
        palette_selected_.reset();
        memory_dc_.reset();
    }

protected:
    void CreateHandle() override {
        FreeContext();
        memory_dc_.emplace();
        if (!memory_dc_->Get()) {
            memory_dc_.reset();
            throw EOutOfMemory(GraphicsStr(SOutOfResources));
        }
        bitmap_selected_.emplace(*memory_dc_, bitmap_->Handle());
        HPALETTE palette = bitmap_->Palette();
        palette_selected_.emplace(*memory_dc_, palette, true);
        if (palette) RealizePalette(*memory_dc_);
        SetHandle(*memory_dc_);
    }

private:
    TBitmap* bitmap_;
    std::optional<TMemoryDC> memory_dc_;
    std::optional<TSelectedObject> bitmap_selected_;
    std::optional<TSelectedPalette> palette_selected_;
};


const TClassInfo& TBitmap::StaticClass() {
    static const TClassInfo info =
        DefineClass<TBitmap>("TBitmap", &TGraphic::StaticClass(), [](auto& c) { c.Creatable(); });
    return info;
}

TBitmap::TBitmap() = default;

TBitmap::~TBitmap() {
    canvas_.reset();  // gives the bitmap back before it is deleted
}

// --- formats and images -----------------------------------------------------

bool TBitmap::IsDib() const {
    DIBSECTION section{};
    return handle_.Get() && GetObjectA(handle_.Get(), sizeof section, &section) == sizeof section;
}

TBitmapHandleType TBitmap::HandleType() const {
    if (!handle_.Get()) return wanted_type_;
    return IsDib() ? bmDIB : bmDDB;
}

void TBitmap::WithImageDC(const std::function<void(HDC)>& use) const {
    if (canvas_ && canvas_->HandleAllocated()) {
        use(canvas_->Handle());
        return;
    }
    TSelectedDC dc(handle_.Get());
    use(dc);
}

TBitmapFormat TBitmap::CurrentFormat() const {
    TBitmapFormat f;
    DIBSECTION section{};
    if (GetObjectA(handle_.Get(), sizeof section, &section) != sizeof section) {
        f.dib = false;
        f.bitCount = section.dsBm.bmBitsPixel == 1 && section.dsBm.bmPlanes == 1 ? 1 : 0;
        return f;
    }
    f.bitCount = section.dsBmih.biBitCount;
    f.compression = section.dsBmih.biCompression;
    f.topDown = section.dsBmih.biHeight < 0;
    if (f.compression == BI_BITFIELDS) {
        for (int i = 0; i < 3; ++i) f.masks[i] = section.dsBitfields[i];
        // The platform may report the plain layouts as bit fields.
        const uint32_t* m = f.masks;
        if ((f.bitCount == 16 && m[0] == 0x7C00 && m[1] == 0x03E0 && m[2] == 0x001F) ||
            (f.bitCount == 32 && m[0] == 0xFF0000 && m[1] == 0xFF00 && m[2] == 0xFF)) {
            f.compression = BI_RGB;
            f.masks[0] = f.masks[1] = f.masks[2] = 0;
        }
    }
    if (f.bitCount <= 8) {
        f.colors.assign(size_t(1) << f.bitCount, 0);
        std::vector<RGBQUAD> quads(f.colors.size());
        UINT got = 0;
        WithImageDC([&](HDC dc) { got = GetDIBColorTable(dc, 0, static_cast<UINT>(quads.size()), quads.data()); });
        for (UINT i = 0; i < got; ++i)
            f.colors[i] = uint32_t(quads[i].rgbRed) << 16 | uint32_t(quads[i].rgbGreen) << 8 | quads[i].rgbBlue;
    }
    return f;
}

TBitmapFormat TBitmap::FormatFor(TPixelFormat pf) const {
    TBitmapFormat f;
    const bool haveTable = handle_.Get() && IsDib();
    TBitmapFormat current = haveTable ? CurrentFormat() : TBitmapFormat{};
    if (pf == pfDevice) {
        TWindowDC screen(nullptr);
        int depth = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
        pf = depth >= 32 ? pf32bit : depth == 24 ? pf24bit : depth == 16 ? pf16bit : depth == 15 ? pf15bit : pf8bit;
    }
    switch (pf) {
    case pf1bit:
        f.bitCount = 1;
        f.colors = {0x000000, 0xFFFFFF};
        break;
    case pf4bit:
        f.bitCount = 4;
        f.colors = haveTable && current.bitCount == 4 ? current.colors : Vga16();
        break;
    case pf8bit:
        f.bitCount = 8;
        if (haveTable && current.bitCount == 8) f.colors = current.colors;
        else if (palette_.Get()) f.colors = PaletteColors(Palette(), 256);
        else f.colors = HalftoneColors();
        break;
    case pf15bit: f.bitCount = 16; break;
    case pf16bit:
        f.bitCount = 16;
        f.compression = BI_BITFIELDS;
        f.masks[0] = 0xF800;
        f.masks[1] = 0x07E0;
        f.masks[2] = 0x001F;
        break;
    case pf24bit: f.bitCount = 24; break;
    case pf32bit: f.bitCount = 32; break;
    default: throw EInvalidGraphic(GraphicsStr(SInvalidPixelFormat));
    }
    return f;
}


std::vector<uint32_t> TBitmap::Pixels32() const {
    if (!handle_.Get()) return {};
    ReleaseContext();
    std::vector<uint32_t> pixels(size_t(width_) * height_, 0);
    TBitmapInfo info = Info32(width_, height_, true);
    TWindowDC screen(nullptr);
    if (!GetDIBits(screen, Handle(), 0, height_, pixels.data(), info.Get(), DIB_RGB_COLORS)) OutOfResources();
    for (uint32_t& p : pixels) p &= 0xFFFFFF;
    return pixels;
}

void TBitmap::AdoptHandle(HBITMAP handle, HPALETTE palette) {
    ReleaseContext();
    DropMask();
    handle_.Reset(handle);
    if (palette != Palette()) palette_.Reset(palette);
    BITMAP info{};
    if (handle && GetObjectA(handle, sizeof info, &info)) {
        width_ = info.bmWidth;
        height_ = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    }
}

void TBitmap::Reformat(int32_t width, int32_t height, const TBitmapFormat& format) {
    std::vector<uint32_t> pixels(size_t(width) * height, ColorToPixel(canvas_ ? canvas_->Brush().Color() : clWhite));
    if (handle_.Get()) {
        std::vector<uint32_t> old = Pixels32();
        for (int32_t y = 0; y < std::min(height, height_); ++y)
            memcpy(&pixels[size_t(y) * width], &old[size_t(y) * width_], sizeof(uint32_t) * std::min(width, width_));
    }
    void* bits = nullptr;
    TGdiObject image(CreateImage(width, height, format, &bits));
    StorePixels(static_cast<HBITMAP>(image.Get()), bits, width, height, format, pixels);
    HPALETTE palette = format.Paletted() ? CreatePaletteFrom(format.colors) : Palette();
    AdoptHandle(static_cast<HBITMAP>(image.Release()), palette);
}

TBitmapFormat TBitmap::WantedFormat() const {
    if (wanted_type_ == bmDDB) {
        TBitmapFormat f;
        f.dib = false;
        f.bitCount = wanted_format_ == pf1bit ? 1 : 0;
        return f;
    }
    return FormatFor(wanted_format_);
}

void TBitmap::Clear() {
    ReleaseContext();
    DropMask();
    handle_.Reset();
    palette_.Reset();
    width_ = height_ = 0;
}

void TBitmap::SetSize(int32_t width, int32_t height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == width_ && height == height_) return;
    if (!width || !height) {
        ReleaseContext();
        DropMask();
        handle_.Reset();
        width_ = width;
        height_ = height;
    } else {
        Reformat(width, height, handle_.Get() ? CurrentFormat() : WantedFormat());
    }
    Changed();
}

TCanvas* TBitmap::Canvas() {
    if (!canvas_) {
        canvas_ = std::make_unique<TBitmapCanvas>(this);
        canvas_->OnChanging = [this](TObject*) { DropMask(); };
        canvas_->OnChange = [this](TObject*) { Changed(); };
    }
    return canvas_.get();
}

void TBitmap::ReleaseContext() const {
    if (canvas_) canvas_->FreeContext();
}

void TBitmap::Dormant() {
    ReleaseContext();
}

void TBitmap::FreeImage() {
    ReleaseContext();
    DropMask();
}

void TBitmap::Changed() {
    DropMask();
    TGraphic::Changed();
}

void TBitmap::SetHandle(HBITMAP handle) {
    if (handle == Handle()) return;
    HPALETTE palette = nullptr;
    if (handle) {
        DIBSECTION section{};
        int size = GetObjectA(handle, sizeof section, &section);
        if (!size) throw EInvalidGraphic(GraphicsStr(SInvalidBitmap));
        if (size == sizeof section && section.dsBmih.biBitCount <= 8) {
            // The palette of a palette DIB is its colour table.
            std::vector<RGBQUAD> quads(256);
            UINT got;
            {
                TSelectedDC dc(handle);
                got = GetDIBColorTable(dc, 0, 256, quads.data());
            }
            std::vector<uint32_t> colors(got);
            for (UINT i = 0; i < got; ++i)
                colors[i] = uint32_t(quads[i].rgbRed) << 16 | uint32_t(quads[i].rgbGreen) << 8 | quads[i].rgbBlue;
            palette = CreatePaletteFrom(colors);
        }
    }
    if (!handle) {
        Clear();
    } else {
        palette_.Reset();
        AdoptHandle(handle, palette);
    }
    Changed();
}

HBITMAP TBitmap::ReleaseHandle() {
    ReleaseContext();
    DropMask();
    width_ = height_ = 0;
    return static_cast<HBITMAP>(handle_.Release());
}

void TBitmap::SetHandleType(TBitmapHandleType type) {
    if (!handle_.Get()) {
        wanted_type_ = type;
        return;
    }
    if (type == HandleType()) return;
    TBitmapFormat f;
    if (type == bmDDB) {
        f.dib = false;
        f.bitCount = Monochrome() ? 1 : 0;
    } else {
        f = FormatFor(Monochrome() ? pf1bit : pfDevice);
    }
    wanted_type_ = type;
    Reformat(width_, height_, f);
    Changed();
}

TPixelFormat TBitmap::PixelFormat() const {
    if (!handle_.Get()) return wanted_type_ == bmDDB ? pfDevice : wanted_format_;
    TBitmapFormat f = CurrentFormat();
    if (!f.dib) return pfDevice;
    const uint32_t* m = f.masks;
    switch (f.bitCount) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 16:
        if (f.compression == BI_RGB || (m[0] == 0x7C00 && m[1] == 0x03E0 && m[2] == 0x001F)) return pf15bit;
        if (m[0] == 0xF800 && m[1] == 0x07E0 && m[2] == 0x001F) return pf16bit;
        return pfCustom;
    case 24: return pf24bit;
    case 32:
        if (f.compression == BI_RGB || (m[0] == 0xFF0000 && m[1] == 0xFF00 && m[2] == 0xFF)) return pf32bit;
        return pfCustom;
    default: return pfCustom;
    }
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
    if (format == pfCustom) throw EInvalidGraphic(GraphicsStr(SInvalidPixelFormat));
    wanted_format_ = format;
    if (format == pfDevice) {
        SetHandleType(bmDDB);
        return;
    }
    if (!handle_.Get()) {
        wanted_type_ = bmDIB;
        return;
    }
    if (format == PixelFormat()) return;
    wanted_type_ = bmDIB;
    Reformat(width_, height_, FormatFor(format));
    Changed();
}

bool TBitmap::Monochrome() const {
    if (!handle_.Get()) return wanted_format_ == pf1bit;
    BITMAP info{};
    GetObjectA(handle_.Get(), sizeof info, &info);
    return info.bmPlanes == 1 && info.bmBitsPixel == 1;
}

void TBitmap::SetMonochrome(bool value) {
    if (!handle_.Get()) {
        wanted_format_ = value ? pf1bit : pfDevice;
        return;
    }
    if (value == Monochrome()) return;
    TBitmapFormat f;
    if (HandleType() == bmDDB) {
        f.dib = false;
        f.bitCount = value ? 1 : 0;
    } else {
        f = FormatFor(value ? pf1bit : pfDevice);
    }
    Reformat(width_, height_, f);
    Changed();
}

void TBitmap::SetPalette(HPALETTE palette) {
    if (palette == Palette()) return;
    ReleaseContext();
    palette_.Reset(palette);
    if (palette && handle_.Get() && IsDib()) {
        TBitmapFormat f = CurrentFormat();
        if (f.Paletted()) {
            std::vector<uint32_t> colors = PaletteColors(palette, f.colors.size());
            std::vector<RGBQUAD> quads(colors.size());
            for (size_t i = 0; i < colors.size(); ++i) {
                quads[i].rgbRed = static_cast<BYTE>(colors[i] >> 16);
                quads[i].rgbGreen = static_cast<BYTE>(colors[i] >> 8);
                quads[i].rgbBlue = static_cast<BYTE>(colors[i]);
            }
            WithImageDC([&](HDC dc) { SetDIBColorTable(dc, 0, static_cast<UINT>(quads.size()), quads.data()); });
        }
    }
    Changed();
}

HPALETTE TBitmap::ReleasePalette() {
    ReleaseContext();
    return static_cast<HPALETTE>(palette_.Release());
}

void* TBitmap::ScanLine(int32_t row) {
    if (!handle_.Get() || row < 0 || row >= height_) throw EInvalidGraphic(GraphicsStr(SScanLine));
    if (!IsDib()) SetHandleType(bmDIB);
    DropMask();
    GdiFlush();
    DIBSECTION section{};
    GetObjectA(handle_.Get(), sizeof section, &section);
    size_t stride = DibStride(width_, section.dsBmih.biBitCount);
    int32_t stored = section.dsBmih.biHeight < 0 ? row : height_ - 1 - row;
    return static_cast<uint8_t*>(section.dsBm.bmBits) + stride * stored;
}

// --- transparency ---------------------------------------------------------------

TColor TBitmap::TransparentColor() const {
    if (transparent_mode_ == tmFixed && transparent_color_ != clDefault) return ColorToRGB(transparent_color_);
    if (!handle_.Get()) return clDefault;
    if (Monochrome()) return clWhite;
    // The bottom-left pixel: scan line 0 of a bottom-up copy.
    ReleaseContext();
    std::vector<uint32_t> row(width_);
    TBitmapInfo info = Info32(width_, height_, false);
    TWindowDC screen(nullptr);
    GetDIBits(screen, Handle(), 0, 1, row.data(), info.Get(), DIB_RGB_COLORS);
    return PixelToColor(row[0] & 0xFFFFFF);
}

void TBitmap::SetTransparentColor(TColor color) {
    if (color == transparent_color_ && (color == clDefault) == (transparent_mode_ == tmAuto)) return;
    transparent_color_ = color;
    transparent_mode_ = color == clDefault ? tmAuto : tmFixed;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode mode) {
    if (mode == transparent_mode_) return;
    if (mode == tmAuto) SetTransparentColor(clDefault);
    else SetTransparentColor(TransparentColor());
}

void TBitmap::DropMask() const {
    mask_.Reset();
    masked_image_.Reset();
}

void TBitmap::BuildMask() const {
    if (mask_.Get() || !handle_.Get()) return;
    std::vector<uint32_t> pixels = Pixels32();
    const uint32_t key = ColorToPixel(TransparentColor());
    // Monochrome rows of CreateBitmap are word aligned; bit set = transparent.
    const size_t maskStride = ((size_t(width_) + 15) / 16) * 2;
    std::vector<uint8_t> maskBits(maskStride * height_, 0);
    for (int32_t y = 0; y < height_; ++y) {
        uint32_t* line = &pixels[size_t(y) * width_];
        for (int32_t x = 0; x < width_; ++x) {
            if (line[x] != key) continue;
            maskBits[maskStride * y + x / 8] |= static_cast<uint8_t>(0x80 >> (x & 7));
            line[x] = 0;
        }
    }
    TGdiObject mask(CreateBitmap(width_, height_, 1, 1, maskBits.data()));
    TBitmapFormat f;
    f.bitCount = 32;
    void* bits = nullptr;
    TGdiObject image(CreateImage(width_, height_, f, &bits));
    if (!mask.Get()) OutOfResources();
    StorePixels(static_cast<HBITMAP>(image.Get()), bits, width_, height_, f, pixels);
    mask_ = std::move(mask);
    masked_image_ = std::move(image);
}

HBITMAP TBitmap::MaskHandle() const {
    BuildMask();
    return static_cast<HBITMAP>(mask_.Get());
}

void TBitmap::DrawTransparent(HDC dc, const TRect& r) const {
    BuildMask();
    int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
    {
        // Keep the background where the mask is white, clear the rest,
        // then paint the picture (black where transparent) into it.
        TSelectedDC mask(mask_.Get());
        StretchBlt(dc, r.left, r.top, RectWidth(r), RectHeight(r), mask, 0, 0, width_, height_, SRCAND);
        TSelectedDC image(masked_image_.Get());
        StretchBlt(dc, r.left, r.top, RectWidth(r), RectHeight(r), image, 0, 0, width_, height_, SRCPAINT);
    }
    SetBkColor(dc, oldBack);
    SetTextColor(dc, oldText);
    SetStretchBltMode(dc, oldMode);
}

void TBitmap::Draw(TCanvas* canvas, const TRect& rect) {
    if (!canvas || !handle_.Get()) return;
    // Building the mask reads the pixels, which frees our own canvas's DC:
    // done before a DC is taken, in case the target is that canvas.
    if (Transparent()) BuildMask();
    HDC dc = canvas->Handle();
    TSelectedPalette palette(dc, Palette(), true);
    if (palette.Selected()) RealizePalette(dc);
    if (Transparent()) {
        DrawTransparent(dc, rect);
    } else {
        int oldMode = SetStretchBltMode(dc, Monochrome() ? BLACKONWHITE : COLORONCOLOR);
        WithImageDC([&](HDC source) {
            StretchBlt(dc, rect.left, rect.top, RectWidth(rect), RectHeight(rect), source, 0, 0, width_, height_,
                       static_cast<DWORD>(canvas->CopyMode()));
        });
        SetStretchBltMode(dc, oldMode);
    }
}

// --- copies ---------------------------------------------------------------------

void TBitmap::CopyFrom(const TBitmap& source) {
    if (&source == this) return;
    if (!source.handle_.Get()) {
        Clear();
        width_ = source.width_;
        height_ = source.height_;
    } else {
        TBitmapFormat f = source.CurrentFormat();
        void* bits = nullptr;
        HBITMAP image = CreateImage(source.width_, source.height_, f, &bits);
        if (f.dib) {
            GdiFlush();
            DIBSECTION section{};
            GetObjectA(source.handle_.Get(), sizeof section, &section);
            memcpy(bits, section.dsBm.bmBits, DibStride(source.width_, f.bitCount) * source.height_);
        } else {
            TSelectedDC target(image);
            source.WithImageDC([&](HDC dc) { BitBlt(target, 0, 0, source.width_, source.height_, dc, 0, 0, SRCCOPY); });
        }
        AdoptHandle(image, CopyPalette(source.Palette()));
    }
    wanted_format_ = source.wanted_format_;
    wanted_type_ = source.wanted_type_;
    transparent_color_ = source.transparent_color_;
    transparent_mode_ = source.transparent_mode_;
}

void TBitmap::Assign(const TPersistent* source) {
    if (!source) {
        Clear();
        Changed();
        return;
    }
    if (auto* bitmap = dynamic_cast<const TBitmap*>(source)) {
        CopyFrom(*bitmap);
        SetTransparent(bitmap->Transparent());
        Changed();
        return;
    }
    if (auto* graphic = dynamic_cast<const TGraphic*>(source)) {
        // Any other picture: drawn onto white at its own size.
        auto* other = const_cast<TGraphic*>(graphic);
        Clear();
        if (!other->Empty()) {
            Reformat(other->Width(), other->Height(), WantedFormat());
            TCanvas* canvas = Canvas();
            canvas->Brush().SetColor(clWhite);
            canvas->FillRect(Rect(0, 0, width_, height_));
            canvas->Draw(0, 0, other);
        }
        Changed();
        return;
    }
    TGraphic::Assign(source);
}
