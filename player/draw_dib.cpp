#include <windows.h>
#undef MessageBox

#include "player/draw_dib.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include "classlib/gui/scoped_win32.h"
#include "classlib/platform/interaction.h"
#include "player/pixwell_binding.h"

namespace {

// A record from newdib or the halftone exports, freed at the end of scope.
class TOwnedDIB {
public:
    TOwnedDIB() { std::memset(&dib_, 0, sizeof dib_); }
    ~TOwnedDIB() { deldib(dib_); }
    TOwnedDIB(const TOwnedDIB&) = delete;
    TOwnedDIB& operator=(const TOwnedDIB&) = delete;
    TDIB* Record() { return &dib_; }
    const TDIB& operator*() const { return dib_; }
    uint8_t* Bits() const { return static_cast<uint8_t*>(dib_.Bits); }
    const BITMAPINFO* Info() const { return static_cast<const BITMAPINFO*>(dib_.Info); }

private:
    TDIB dib_;
};

const BITMAPINFO* InfoOf(const TDIB& dib) { return static_cast<const BITMAPINFO*>(dib.Info); }

int ClampToInt(int64_t value) {
    return static_cast<int>(std::clamp<int64_t>(value, INT_MIN, INT_MAX));
}

void ShowError(const char* text) {
    Interaction().MessageBox(nullptr, text, nullptr, 0);
}

// Destination and source rectangle of one DrawDIB call, wide enough that
// the clipping arithmetic cannot overflow.
struct TDrawArea {
    int64_t X, Y, DestW, DestH, SrcX, SrcY, SrcW, SrcH;
};

// Clips the source rectangle to the image and scales the destination with
// it. False when nothing remains to draw.
bool ClipToImage(TDrawArea& a, int64_t width, int64_t height) {
    if (a.SrcW <= 0 || a.SrcH <= 0 || a.DestW <= 0 || a.DestH <= 0) return false;
    if (a.SrcX + a.SrcW > width) {
        a.DestW = RoundedMulDiv(a.DestW, width - a.SrcX, a.SrcW);
        a.SrcW = width - a.SrcX;
        if (a.SrcW <= 0) return false;
    }
    if (a.SrcY < 0) {
        a.DestH = RoundedMulDiv(a.DestH, a.SrcY + a.SrcH, a.SrcH);
        a.SrcH = a.SrcY + a.SrcH;
        a.SrcY = 0;
        if (a.SrcH <= 0) return false;
    }
    if (a.SrcY + a.SrcH > height) {
        const int64_t h = RoundedMulDiv(a.DestH, height - a.SrcY, a.SrcH);
        a.Y += a.DestH - h;
        a.SrcH = height - a.SrcY;
        a.DestH = h;
        if (a.SrcH <= 0) return false;
    }
    if (a.SrcX < 0) {
        const int64_t w = RoundedMulDiv(a.DestW, a.SrcX + a.SrcW, a.SrcW);
        a.X += a.DestW - w;
        a.SrcW = a.SrcX + a.SrcW;
        a.DestW = w;
        a.SrcX = 0;
        if (a.SrcW <= 0) return false;
    }
    return a.DestW > 0 && a.DestH > 0 && a.X >= INT_MIN && a.X <= INT_MAX && a.Y >= INT_MIN && a.Y <= INT_MAX;
}

// Selects and realises a palette (not forced into the background) for the
// lifetime of the result; nothing for a null palette.
TSelectedPalette UseForegroundPalette(HDC dc, HPALETTE palette) {
    TSelectedPalette selected(dc, palette, false);
    if (selected.Selected()) RealizePalette(dc);
    return selected;
}

// 24-bit image on a palette screen: a halftoned copy, made at the drawn
// scale when shrinking so the averaging sees every source pixel. False
// when no copy could be made.
bool DrawHalftoned(HDC dc, TDrawArea a, const TDIB& source, uint32_t rop, bool useDIBPalette, HPALETTE palette,
                   const TDrawDIBDevice& device) {
    const int64_t width = DIBWidth(source);
    const int64_t height = DIBHeight(source);
    TOwnedDIB copy;
    if (a.DestW < a.SrcW || a.DestH < a.SrcH) {
        const int copyW = RoundedMulDiv(width, a.DestW, a.SrcW);
        const int copyH = RoundedMulDiv(height, a.DestH, a.SrcH);
        if (!DIBHalftoneDIBXY(copy.Record(), source, copyW, copyH)) return false;
        a.SrcX = RoundedMulDiv(a.SrcX, copyW, width);
        a.SrcY = RoundedMulDiv(a.SrcY, copyH, height);
        a.SrcW = a.DestW;
        a.SrcH = a.DestH;
    } else if (!DIBHalftoneDIB(copy.Record(), source)) {
        return false;
    }
    TSelectedPalette selected =
        UseForegroundPalette(dc, useDIBPalette ? static_cast<HPALETTE>((*copy).Palette) : palette);
    device.StretchDIBits(dc, int(a.X), int(a.Y), int(a.DestW), int(a.DestH), int(a.SrcX), int(a.SrcY),
                         int(a.SrcW), int(a.SrcH), copy.Bits(), copy.Info(), rop);
    return true;
}

// Copies the source rectangle into an image of the destination size and
// sets that onto the device: for devices that take DIBs only unscaled.
// Stored row y of the copy takes stored source row SrcY + (SrcH-1)*y /
// (DestH-1), likewise for columns; a destination one pixel wide or high
// takes the first source column or row. True when it drew.
bool DrawUnscaledCopy(HDC dc, const TDrawArea& a, const TDIB& source) {
    const int bitCount = DIBBitCount(source);
    const int colors = DIBColors(source) <= 256 ? DIBTableColors(source) : 0;
    TOwnedDIB copy;
    if (!newdib(copy.Record(), int(a.DestW), int(a.DestH), bitCount, source.Info, colors)) return false;

    const auto* sourceBits = static_cast<const uint8_t*>(source.Bits);
    const int bytesPerPixel = bitCount % 8 == 0 ? bitCount / 8 : 0;
    for (int64_t y = 0; y < a.DestH; ++y) {
        const int64_t sy = a.SrcY + (a.DestH > 1 ? (a.SrcH - 1) * y / (a.DestH - 1) : 0);
        const uint8_t* from = sourceBits + sy * source.BytesPerLine;
        uint8_t* to = copy.Bits() + y * (*copy).BytesPerLine;
        for (int64_t x = 0; x < a.DestW; ++x) {
            const int64_t sx = a.SrcX + (a.DestW > 1 ? (a.SrcW - 1) * x / (a.DestW - 1) : 0);
            if (bitCount == 1) {
                setpixel(*copy, int(x), int(y), getpixel(source, int(sx), int(sy)));
            } else if (bitCount == 4) {
                const uint8_t nibble = sx % 2 == 0 ? from[sx / 2] >> 4 : from[sx / 2] & 0x0F;
                to[x / 2] |= x % 2 == 0 ? uint8_t(nibble << 4) : nibble;
            } else if (bytesPerPixel > 0) {
                std::memcpy(to + x * bytesPerPixel, from + sx * bytesPerPixel, bytesPerPixel);
            }
        }
    }
    return SetDIBitsToDevice(dc, int(a.X), int(a.Y), DWORD(a.DestW), DWORD(a.DestH), 0, 0, 0, UINT(a.DestH),
                             copy.Bits(), copy.Info(), DIB_RGB_COLORS) > 0;
}

// Last resort: the image as a device-dependent bitmap, stretched with
// StretchBlt. That bitmap is top-down, so the bottom-based SrcY becomes
// height - SrcY - SrcH.
void DrawThroughBitmap(HDC dc, const TDrawArea& a, const TDIB& source, uint32_t rop) {
    const int width = DIBWidth(source);
    const int height = DIBHeight(source);
    const TGdiObject bitmap(CreateCompatibleBitmap(dc, width, height));
    if (!bitmap.Get()) {
        ShowError("Could not create bitmap.");
        return;
    }
    const TMemoryDC memory(dc);
    if (!memory) return;
    if (SetDIBits(dc, static_cast<HBITMAP>(bitmap.Get()), 0, UINT(height), source.Bits, InfoOf(source),
                  DIB_RGB_COLORS) == 0) {
        ShowError("The device does not support the Funtkion setdibits!");
        return;
    }
    const TSelectedObject selected(memory, bitmap.Get());
    if (!StretchBlt(dc, int(a.X), int(a.Y), int(a.DestW), int(a.DestH), memory, int(a.SrcX),
                    int(height - a.SrcY - a.SrcH), int(a.SrcW), int(a.SrcH), rop))
        ShowError("The device does not support the function StretchBlt!");
}

// StretchDIBits, then the fallbacks for devices that refuse it.
void DrawStretched(HDC dc, const TDrawArea& a, const TDIB& source, uint32_t rop, const TDrawDIBDevice& device) {
    const int result = device.StretchDIBits(dc, int(a.X), int(a.Y), int(a.DestW), int(a.DestH), int(a.SrcX),
                                            int(a.SrcY), int(a.SrcW), int(a.SrcH), source.Bits, source.Info, rop);
    // 0 is failure too: the destination is never empty here, so a call that
    // worked copied at least one line.
    if (result != 0 && result != int(GDI_ERROR)) return;
    if (device.CanSetDIBitsToDevice(dc) && DrawUnscaledCopy(dc, a, source)) return;
    DrawThroughBitmap(dc, a, source, rop);
}

// Whether the record's rows are long enough for its header.
bool HasConsistentRows(const TDIB& dib) {
    const int64_t width = DIBWidth(dib);
    const int64_t rowBytes = (width * DIBBitCount(dib) + 31) / 32 * 4;
    return dib.Bits && width > 0 && DIBHeight(dib) > 0 && dib.BytesPerLine >= rowBytes;
}

void StretchRows(HDC dc, int x, int y, int destWidth, int destHeight, int srcX, int srcTopRow, int srcWidth,
                 int srcHeight, const TDIB& source, int bitCount) {
    if (DIBBitCount(source) != bitCount || !HasConsistentRows(source)) return;
    if (destWidth <= 0 || destHeight <= 0 || srcWidth < 0) return;
    const int64_t width = DIBWidth(source);
    const int64_t height = DIBHeight(source);
    const int bytesPerPixel = bitCount / 8;
    TOwnedDIB row;
    const void* colorSource = bitCount == 8 ? source.Info : nullptr;
    if (!newdib(row.Record(), destWidth, 1, bitCount, colorSource, bitCount == 8 ? DIBTableColors(source) : 0)) return;

    std::vector<int64_t> columns(destWidth);
    int first = -1, last = -1;
    for (int i = 0; i < destWidth; ++i) {
        columns[i] = srcX + int64_t(srcWidth) * i / destWidth;
        if (columns[i] >= 0 && columns[i] < width) {
            if (first < 0) first = i;
            last = i;
        }
    }

    const auto* sourceBits = static_cast<const uint8_t*>(source.Bits);
    uint8_t* buffer = row.Bits();
    const size_t rowBytes = size_t((*row).BytesPerLine);
    int64_t previous = INT64_MIN;
    for (int r = 0; r < destHeight; ++r) {
        const int64_t sourceRow = srcTopRow + int64_t(srcHeight) * r / destHeight;
        if (sourceRow != previous) {
            if (sourceRow < 0 || sourceRow >= height) {
                std::memset(buffer, 0, rowBytes);
            } else if (first >= 0) {
                const uint8_t* line = sourceBits + (height - sourceRow - 1) * source.BytesPerLine;
                for (int i = first; i <= last; ++i)
                    std::memcpy(buffer + i * bytesPerPixel, line + columns[i] * bytesPerPixel, bytesPerPixel);
            }
            previous = sourceRow;
        }
        SetDIBitsToDevice(dc, x, y + r, DWORD(destWidth), 1, 0, 0, 0, 1, buffer, row.Info(), DIB_RGB_COLORS);
    }
}

}  // namespace

TDrawDIBDevice PlatformDrawDIBDevice() {
    TDrawDIBDevice device;
    device.ScreenBitsPerPixel = [] { return ::ScreenBitsPerPixel(); };
    device.IsPrinter = [](HDC dc) { return GetDeviceCaps(dc, TECHNOLOGY) == DT_RASPRINTER; };
    device.CanSetDIBitsToDevice = [](HDC dc) { return (GetDeviceCaps(dc, RASTERCAPS) & RC_DIBTODEV) != 0; };
    device.StretchDIBits = [](HDC dc, int x, int y, int width, int height, int srcX, int srcY, int srcWidth,
                              int srcHeight, const void* bits, const void* info, uint32_t rop) {
        return ::StretchDIBits(dc, x, y, width, height, srcX, srcY, srcWidth, srcHeight, bits,
                               static_cast<const BITMAPINFO*>(info), DIB_RGB_COLORS, rop);
    };
    return device;
}

TDrawDIBDevice& DrawDIBDevice() {
    static TDrawDIBDevice device = PlatformDrawDIBDevice();
    return device;
}

int RoundedMulDiv(int64_t value, int64_t numerator, int64_t denominator) {
    int64_t n;
    if (__builtin_mul_overflow(value, numerator, &n)) return (value < 0) != (numerator < 0) ? INT_MIN : INT_MAX;
    int64_t d = denominator;
    if (d < 0) {
        n = -n;
        d = -d;
    }
    int64_t quotient = n / d;
    int64_t remainder = n % d;
    if (remainder < 0) {
        remainder += d;
        --quotient;
    }
    // remainder / d compared with one half.
    const int64_t half = d - remainder;
    if (remainder > half || (remainder == half && quotient % 2 != 0)) ++quotient;
    return ClampToInt(quotient);
}

void DrawDIB(HDC dc, int x, int y, int destWidth, int destHeight, const TDIB& source, int srcX, int srcY,
             int srcWidth, int srcHeight, bool allowHalftone, uint32_t rop, bool useDIBPalette, HPALETTE palette) {
    if (!dc || !source.Info || !HasConsistentRows(source)) return;
    const TDrawDIBDevice& device = DrawDIBDevice();
    const bool printer = device.IsPrinter(dc);
    SetStretchBltMode(dc, COLORONCOLOR);

    const int64_t width = DIBWidth(source);
    const int64_t height = DIBHeight(source);
    TDrawArea a{x, y, destWidth, destHeight, srcX, srcY, srcWidth, srcHeight};
    if (!ClipToImage(a, width, height)) return;

    const HPALETTE imagePalette = useDIBPalette ? static_cast<HPALETTE>(source.Palette) : palette;
    TSelectedPalette selected = UseForegroundPalette(dc, source.HasPalette == 1 ? imagePalette : nullptr);

    const int bitCount = DIBBitCount(source);
    if (bitCount == 24 && allowHalftone && device.ScreenBitsPerPixel() <= 8 &&
        DrawHalftoned(dc, a, source, rop, useDIBPalette, palette, device))
        return;
    const int64_t srcTopRow = height - a.SrcY - a.SrcH;
    if (bitCount == 24 && !printer)
        StretchRows24(dc, int(a.X), int(a.Y), int(a.DestW), int(a.DestH), int(a.SrcX), int(srcTopRow), int(a.SrcW),
                      int(a.SrcH), source);
    else if (bitCount == 8 && !printer)
        StretchRows8(dc, int(a.X), int(a.Y), int(a.DestW), int(a.DestH), int(a.SrcX), int(srcTopRow), int(a.SrcW),
                     int(a.SrcH), source);
    else
        DrawStretched(dc, a, source, rop, device);
}

void StretchRows24(HDC dc, int x, int y, int destWidth, int destHeight, int srcX, int srcTopRow, int srcWidth,
                   int srcHeight, const TDIB& source) {
    StretchRows(dc, x, y, destWidth, destHeight, srcX, srcTopRow, srcWidth, srcHeight, source, 24);
}

void StretchRows8(HDC dc, int x, int y, int destWidth, int destHeight, int srcX, int srcTopRow, int srcWidth,
                  int srcHeight, const TDIB& source) {
    StretchRows(dc, x, y, destWidth, destHeight, srcX, srcTopRow, srcWidth, srcHeight, source, 8);
}
