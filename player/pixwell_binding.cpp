#include "player/pixwell_binding.h"

#include "classlib/gui/scoped_win32.h"

namespace {

const BITMAPINFOHEADER* Header(const TDIB& dib) {
    return static_cast<const BITMAPINFOHEADER*>(dib.Info);
}

}  // namespace

int32_t DIBWidth(const TDIB& dib) { return dib.Info ? Header(dib)->biWidth : 0; }
int32_t DIBHeight(const TDIB& dib) { return dib.Info ? Header(dib)->biHeight : 0; }
int32_t DIBBitCount(const TDIB& dib) { return dib.Info ? Header(dib)->biBitCount : 0; }

int64_t BitCountColors(int32_t bitCount) {
    return bitCount >= 0 && bitCount <= 32 ? int64_t(1) << bitCount : 0;
}

int64_t DIBColors(const TDIB& dib) { return BitCountColors(DIBBitCount(dib)); }

int32_t DIBTableColors(const TDIB& dib) {
    if (!dib.Info) return 0;
    const BITMAPINFOHEADER& header = *Header(dib);
    const int64_t depthColors = header.biBitCount <= 8 ? DIBColors(dib) : 256;
    if (header.biClrUsed == 0) return header.biBitCount <= 8 ? static_cast<int32_t>(depthColors) : 0;
    return static_cast<int32_t>(header.biClrUsed < depthColors ? header.biClrUsed : depthColors);
}

int ScreenBitsPerPixel() {
    const TWindowDC screen(GetDesktopWindow());
    if (!screen.Get()) return 0;
    int bits = 0;
    if (TGdiObject probe{CreateCompatibleBitmap(screen, 1, 1)}; probe.Get()) {
        BITMAP measured{};
        if (GetObjectA(probe.Get(), sizeof measured, &measured) == sizeof measured) bits = measured.bmBitsPixel;
    }
    return bits;
}
