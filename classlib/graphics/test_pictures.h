// Tests' helpers: pictures built in memory, memory device contexts to draw
// on, and bytes of streams.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "classlib/graphics/bitmap.h"
#include "classlib/graphics/bmp_codec.h"
#include "classlib/gui/canvas.h"
#include "classlib/gui/scoped_win32.h"
#include "classlib/core/streams.h"
#include "classlib/gui/win32.h"

inline std::vector<uint8_t> BmpBytes(const TDibImage& image) {
    TMemoryStream stream;
    WriteBmpFile(stream, image);
    return stream.Bytes();
}

// The stream holds exactly these bytes, positioned at the start.
inline void SetBytes(TMemoryStream& stream, const std::vector<uint8_t>& bytes) {
    stream.Clear();
    if (!bytes.empty()) stream.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
    stream.SetPosition(0);
}

inline std::vector<uint8_t> SavedBytes(TGraphic& graphic) {
    TMemoryStream stream;
    graphic.SaveToStream(stream);
    return stream.Bytes();
}

// 0x00RRGGBB of a TColor.
inline uint32_t Rgb(TColor color) {
    uint32_t c = static_cast<uint32_t>(color);
    return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
}

// A 24-bit bitmap whose pixels come from colorAt(x, y) (TColor values).
template <class F>
TOwned<TBitmap> MakeBitmap(int width, int height, F colorAt) {
    auto bitmap = MakeOwned<TBitmap>();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(width, height);
    for (int y = 0; y < height; ++y) {
        auto* row = static_cast<uint8_t*>(bitmap->ScanLine(y));
        for (int x = 0; x < width; ++x) {
            uint32_t rgb = Rgb(colorAt(x, y));
            row[3 * x] = static_cast<uint8_t>(rgb);
            row[3 * x + 1] = static_cast<uint8_t>(rgb >> 8);
            row[3 * x + 2] = static_cast<uint8_t>(rgb >> 16);
        }
    }
    return bitmap;
}

// A 32-bit memory surface with a canvas on it, filled with one colour.
class TMemorySurface {
public:
    TMemorySurface(int width, int height, TColor fill)
        : width_(width), height_(height), bitmap_(MakeDibSection32(nullptr, width, height, bits_)),
          selected_(dc_.Get(), bitmap_.Get()) {
        canvas_.SetHandle(dc_.Get());
        canvas_.Brush().SetColor(fill);
        canvas_.FillRect(Rect(0, 0, width, height));
    }
    ~TMemorySurface() { canvas_.SetHandle(nullptr); }
    TCanvas& Canvas() { return canvas_; }
    HDC DC() const { return dc_.Get(); }
    // Every pixel, rows from the top, as the surface holds them.
    std::vector<uint32_t> Pixels() {
        GdiFlush();
        return std::vector<uint32_t>(bits_, bits_ + static_cast<size_t>(width_) * height_);
    }
    // 0x00RRGGBB
    uint32_t At(int x, int y) {
        GdiFlush();
        return bits_[y * width_ + x] & 0xFFFFFF;
    }
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    int width_, height_;
    TMemoryDC dc_;
    uint32_t* bits_ = nullptr;
    TGdiObject bitmap_;
    TSelectedObject selected_;
    TCanvas canvas_;
};

// Channels within tolerance (lossy codecs, 5-bit channels).
inline bool Near(uint32_t a, uint32_t b, int tolerance) {
    for (int shift = 0; shift < 24; shift += 8) {
        int d = int(a >> shift & 0xFF) - int(b >> shift & 0xFF);
        if (d > tolerance || d < -tolerance) return false;
    }
    return true;
}
