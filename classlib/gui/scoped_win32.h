// Owners of Win32 resources for the length of a scope: each gives its
// resource back (releases, deletes, selects the old object back) when it
// goes, also when the scope is left by an exception. They are move-only and
// never throw; a failed acquisition leaves an empty owner (Get() is null)
// for the caller to check. Kernel handles have theirs in
// classlib/core/kernel_handle.h (included here). tools/check-owners.sh keeps
// releases by hand out of the rest of the code.
#pragma once
#include <cstdint>
#include <utility>

#include "classlib/core/kernel_handle.h"
#include "classlib/core/scope_exit.h"
#include "classlib/gui/win32.h"

class TCanvas;

// A window's device context (GetDC, GetDCEx with flags or GetWindowDC /
// ReleaseDC); a null window gives the screen's.
class TWindowDC {
public:
    explicit TWindowDC(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
    TWindowDC(HWND window, DWORD flags) noexcept : window_(window), dc_(GetDCEx(window, nullptr, flags)) {}
    // The whole window's, frame included (GetWindowDC).
    static TWindowDC Whole(HWND window) noexcept { return TWindowDC(window, GetWindowDC(window)); }
    TWindowDC(TWindowDC&& other) noexcept : window_(other.window_), dc_(std::exchange(other.dc_, nullptr)) {}
    TWindowDC& operator=(TWindowDC&& other) noexcept {
        std::swap(window_, other.window_);
        std::swap(dc_, other.dc_);
        return *this;
    }
    ~TWindowDC() noexcept {
        if (dc_) ReleaseDC(window_, dc_);
    }

    HDC Get() const noexcept { return dc_; }
    operator HDC() const noexcept { return dc_; }

private:
    TWindowDC(HWND window, HDC dc) noexcept : window_(window), dc_(dc) {}

    HWND window_;
    HDC dc_;
};

// A device context we created (CreateDCA, CreateCompatibleDC / DeleteDC).
class TCreatedDC {
public:
    explicit TCreatedDC(HDC dc = nullptr) noexcept : dc_(dc) {}
    TCreatedDC(TCreatedDC&& other) noexcept : dc_(std::exchange(other.dc_, nullptr)) {}
    TCreatedDC& operator=(TCreatedDC&& other) noexcept {
        std::swap(dc_, other.dc_);
        return *this;
    }
    ~TCreatedDC() noexcept {
        if (dc_) DeleteDC(dc_);
    }

    HDC Get() const noexcept { return dc_; }
    operator HDC() const noexcept { return dc_; }

private:
    HDC dc_;
};

// A memory device context we created (CreateCompatibleDC / DeleteDC).
class TMemoryDC : public TCreatedDC {
public:
    explicit TMemoryDC(HDC compatibleWith = nullptr) noexcept : TCreatedDC(CreateCompatibleDC(compatibleWith)) {}
};

// Sole owner of a GDI object we created (bitmap, palette, pen, brush, font;
// DeleteObject), which it can also hand over.
class TGdiObject {
public:
    TGdiObject() noexcept = default;
    explicit TGdiObject(HGDIOBJ handle) noexcept : handle_(handle) {}
    TGdiObject(TGdiObject&& other) noexcept : handle_(other.Release()) {}
    TGdiObject& operator=(TGdiObject&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    ~TGdiObject() noexcept { Reset(); }

    HGDIOBJ Get() const noexcept { return handle_; }
    void Reset(HGDIOBJ handle = nullptr) noexcept {
        if (handle_ && handle_ != handle) DeleteObject(handle_);
        handle_ = handle;
    }
    // Gives the object away without deleting it.
    HGDIOBJ Release() noexcept { return std::exchange(handle_, nullptr); }

private:
    HGDIOBJ handle_ = nullptr;
};

// A 32-bit top-down DIB section compatible with dc (null: the screen):
// pixels 0x00RRGGBB, rows top first, reached through bits. Empty (and bits
// null) when it cannot be made.
inline TGdiObject MakeDibSection32(HDC dc, int width, int height, uint32_t*& bits) noexcept {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* memory = nullptr;
    TGdiObject bitmap(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &memory, nullptr, 0));
    bits = bitmap.Get() ? static_cast<uint32_t*>(memory) : nullptr;
    return bitmap;
}

// A GDI object selected into a device context; the object it replaced is
// selected back at the end.
class TSelectedObject {
public:
    TSelectedObject(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(object ? SelectObject(dc, object) : nullptr) {}
    TSelectedObject(TSelectedObject&& other) noexcept : dc_(other.dc_), old_(std::exchange(other.old_, nullptr)) {}
    TSelectedObject& operator=(TSelectedObject&& other) noexcept {
        std::swap(dc_, other.dc_);
        std::swap(old_, other.old_);
        return *this;
    }
    ~TSelectedObject() noexcept {
        if (old_) SelectObject(dc_, old_);
    }

    // The object that was selected before (null when selecting failed).
    HGDIOBJ Old() const noexcept { return old_; }

private:
    HDC dc_;
    HGDIOBJ old_;
};

// A palette selected into a device context (nothing for a null palette);
// the previous one is selected back at the end, in the same mode. Realising
// the palette is left to the caller.
class TSelectedPalette {
public:
    TSelectedPalette(HDC dc, HPALETTE palette, bool forceBackground) noexcept
        : dc_(dc), old_(palette ? SelectPalette(dc, palette, forceBackground) : nullptr),
          force_background_(forceBackground) {}
    TSelectedPalette(TSelectedPalette&& other) noexcept
        : dc_(other.dc_), old_(std::exchange(other.old_, nullptr)), force_background_(other.force_background_) {}
    TSelectedPalette& operator=(TSelectedPalette&& other) noexcept {
        std::swap(dc_, other.dc_);
        std::swap(old_, other.old_);
        std::swap(force_background_, other.force_background_);
        return *this;
    }
    ~TSelectedPalette() noexcept {
        if (old_) SelectPalette(dc_, old_, force_background_);
    }

    bool Selected() const noexcept { return old_ != nullptr; }

private:
    HDC dc_;
    HPALETTE old_;
    bool force_background_;
};

// The drawing state of a device context (SaveDC), restored at the end.
class TSavedDC {
public:
    explicit TSavedDC(HDC dc) noexcept : dc_(dc), saved_(SaveDC(dc)) {}
    TSavedDC(TSavedDC&& other) noexcept : dc_(other.dc_), saved_(std::exchange(other.saved_, 0)) {}
    TSavedDC& operator=(TSavedDC&& other) noexcept {
        std::swap(dc_, other.dc_);
        std::swap(saved_, other.saved_);
        return *this;
    }
    ~TSavedDC() noexcept {
        if (saved_) RestoreDC(dc_, saved_);
    }

private:
    HDC dc_;
    int saved_;
};

// A canvas of ours drawing on a device context someone else owns: the
// canvas is attached to it, and at the end detached (its objects selected
// out again) and given back the device context it had before.
class TCanvasOnDC {
public:
    TCanvasOnDC(TCanvas& canvas, HDC dc) noexcept;
    TCanvasOnDC(TCanvasOnDC&& other) noexcept
        : canvas_(std::exchange(other.canvas_, nullptr)), previous_(other.previous_) {}
    TCanvasOnDC& operator=(TCanvasOnDC&& other) noexcept {
        std::swap(canvas_, other.canvas_);
        std::swap(previous_, other.previous_);
        return *this;
    }
    ~TCanvasOnDC() noexcept;

    TCanvas* Get() const noexcept { return canvas_; }
    TCanvas* operator->() const noexcept { return canvas_; }
    TCanvas& operator*() const noexcept { return *canvas_; }

private:
    TCanvas* canvas_;
    HDC previous_;
};
