// Test helpers for drawing: a memory DC on a 24-bit top-down DIB section
// whose pixels can be read back, source images, and a replaceable device.
#pragma once
#include "classlib/gui/scoped_win32.h"

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "player/draw_dib.h"
#include "classlib/platform/interaction.h"
#include "player/pixwell_binding.h"

namespace test_canvas {

// A fault ends the test process at once instead of waiting in Wine's
// debugger; the tests guarding against stray reads rely on it.
inline LONG WINAPI EndOnFault(EXCEPTION_POINTERS* fault) {
    std::fprintf(stderr, "fatal exception 0x%08lx\n", fault->ExceptionRecord->ExceptionCode);
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
}
inline const bool kFaultsEndTheProcess = (SetUnhandledExceptionFilter(EndOnFault), true);

class TDibCanvas {
public:
    TDibCanvas(int width, int height, COLORREF background) : width_(width), height_(height) {
        BITMAPINFO info{};
        info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), width, -height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
        bitmap_.Reset(CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0));
        selected_ = TSelectedObject(dc_, bitmap_.Get());
        Clear(background);
    }
    TDibCanvas(const TDibCanvas&) = delete;
    TDibCanvas& operator=(const TDibCanvas&) = delete;

    HDC DC() const { return dc_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void Clear(COLORREF colour) {
        GdiFlush();
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) {
                uint8_t* p = At(x, y);
                p[0] = GetBValue(colour);
                p[1] = GetGValue(colour);
                p[2] = GetRValue(colour);
            }
    }
    // (x, y) from the top-left corner.
    COLORREF Pixel(int x, int y) const {
        GdiFlush();
        const uint8_t* p = At(x, y);
        return RGB(p[2], p[1], p[0]);
    }

private:
    uint8_t* At(int x, int y) const { return bits_ + y * ((width_ * 3 + 3) / 4 * 4) + 3 * x; }

    int width_, height_;
    TMemoryDC dc_;
    TGdiObject bitmap_;
    TSelectedObject selected_{nullptr, nullptr};
    uint8_t* bits_ = nullptr;
};

// A record from newdib, freed at the end of the scope.
class TImage {
public:
    TImage(int width, int height, int bitCount, int colors = 0) {
        std::memset(&dib_, 0, sizeof dib_);
        newdib(&dib_, width, height, bitCount, nullptr, colors);
    }
    ~TImage() { deldib(dib_); }
    TImage(const TImage&) = delete;
    TImage& operator=(const TImage&) = delete;
    const TDIB& Dib() const { return dib_; }
    TDIB& Dib() { return dib_; }
    void SetColor(int index, COLORREF colour) {
        auto* entry = static_cast<uint8_t*>(dib_.Info) + 40 + 4 * index;
        entry[0] = GetBValue(colour);
        entry[1] = GetGValue(colour);
        entry[2] = GetRValue(colour);
    }

private:
    TDIB dib_;
};

// Replaces the drawing device for a test and restores it afterwards;
// counts the StretchDIBits calls.
class TDeviceScope {
public:
    TDeviceScope() : saved_(DrawDIBDevice()) {
        TDrawDIBDevice& device = DrawDIBDevice();
        device.ScreenBitsPerPixel = [this] { return ScreenBits; };
        device.IsPrinter = [this](HDC) { return Printer; };
        device.CanSetDIBitsToDevice = [this](HDC) { return DIBToDevice; };
        const auto real = PlatformDrawDIBDevice().StretchDIBits;
        device.StretchDIBits = [this, real](HDC dc, int x, int y, int w, int h, int sx, int sy, int sw, int sh,
                                            const void* bits, const void* info, uint32_t rop) {
            ++StretchCalls;
            if (OnStretch) OnStretch(dc);
            if (StretchFails) return int(GDI_ERROR);
            return real(dc, x, y, w, h, sx, sy, sw, sh, bits, info, rop);
        };
    }
    ~TDeviceScope() { DrawDIBDevice() = saved_; }
    TDeviceScope(const TDeviceScope&) = delete;
    TDeviceScope& operator=(const TDeviceScope&) = delete;

    int ScreenBits = 32;
    bool Printer = false;
    bool DIBToDevice = true;
    bool StretchFails = false;
    int StretchCalls = 0;
    std::function<void(HDC)> OnStretch;

private:
    TDrawDIBDevice saved_;
};

// Records message boxes instead of showing them.
class TRecordingInteraction : public TInteraction {
public:
    TRecordingInteraction() { SetInteraction(this); }
    ~TRecordingInteraction() override { SetInteraction(nullptr); }
    int MessageBox(void* owner, const char* text, const char* caption, unsigned flags) override {
        Messages.push_back({owner, text ? text : "", caption, flags});
        return IDOK;
    }
    struct TMessage {
        void* Owner;
        std::string Text;
        const char* Caption;
        unsigned Flags;
    };
    std::vector<TMessage> Messages;
};

}  // namespace test_canvas
