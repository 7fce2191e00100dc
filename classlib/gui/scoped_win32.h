// Owners of Win32 resources for the length of a scope: each gives its
// resource back (releases, deletes, selects the old object back) when it
// goes, also when the scope is left by an exception. They are move-only and
// never throw; a failed acquisition leaves an empty owner (Get() is null)
// for the caller to check. Kernel handles have theirs in
// classlib/core/kernel_handle.h (included here). tools/check-owners.sh keeps
// releases by hand out of the rest of the code.
#pragma once
#include <cstdint>
#include <memory>
#include <type_traits>
#include <utility>

#include "classlib/core/kernel_handle.h"
#include "classlib/core/scope_exit.h"
#include "classlib/gui/win32.h"
#include <objbase.h>

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

struct TDeleteObjectStep {
    void operator()(HGDIOBJ object) const noexcept { DeleteObject(object); }
};
// Sole owner of a GDI object we created (bitmap, palette, pen, brush, font;
// DeleteObject), which it can also hand over.
using TGdiObject = TScopedHandle<HGDIOBJ, TDeleteObjectStep>;

struct TDestroyWindowStep {
    void operator()(HWND window) const noexcept { DestroyWindow(window); }
};
struct TGlobalFreeStep {
    void operator()(HGLOBAL block) const noexcept { GlobalFree(block); }
};
struct TLocalFreeStep {
    void operator()(HLOCAL block) const noexcept { LocalFree(block); }
};
struct TFindCloseStep {
    void operator()(HANDLE search) const noexcept { FindClose(search); }
};
struct TFindCloseChangeNotificationStep {
    void operator()(HANDLE notification) const noexcept { FindCloseChangeNotification(notification); }
};
struct TImageListDestroyStep {
    void operator()(HIMAGELIST list) const noexcept { ImageList_Destroy(list); }
};
struct TDestroyIconStep {
    void operator()(HICON icon) const noexcept { DestroyIcon(icon); }
};
struct TDestroyMenuStep {
    void operator()(HMENU menu) const noexcept { DestroyMenu(menu); }
};
struct TFreeLibraryStep {
    void operator()(HMODULE module) const noexcept { FreeLibrary(module); }
};
struct TDragFinishStep {
    void operator()(HDROP drop) const noexcept { DragFinish(drop); }
};
struct TUnhookStep {
    void operator()(HHOOK hook) const noexcept { UnhookWindowsHookEx(hook); }
};
struct TVirtualFreeStep {
    void operator()(void* block) const noexcept { VirtualFree(block, 0, MEM_RELEASE); }
};

// A window we created (DestroyWindow).
using TOwnedWindow = TScopedHandle<HWND, TDestroyWindowStep>;
// Movable global memory (GlobalAlloc / GlobalFree); hand it over with
// Release() once the clipboard or a drop target has taken it.
using TGlobalMemory = TScopedHandle<HGLOBAL, TGlobalFreeStep>;
// Local memory the system allocated for us (LocalFree).
using TLocalMemory = TScopedHandle<HLOCAL, TLocalFreeStep>;
// A file search (FindFirstFile / FindClose).
using TFileSearch = TScopedHandle<HANDLE, TFindCloseStep>;
// A change notification (FindFirstChangeNotification /
// FindCloseChangeNotification).
using TChangeNotification = TScopedHandle<HANDLE, TFindCloseChangeNotificationStep>;
// An image list of the common controls (ImageList_Destroy).
using TImageListHandle = TScopedHandle<HIMAGELIST, TImageListDestroyStep>;
// An icon or cursor we made or loaded from a file (DestroyIcon).
using TIconHandle = TScopedHandle<HICON, TDestroyIconStep>;
// A menu not attached to a window (DestroyMenu).
using TMenuHandle = TScopedHandle<HMENU, TDestroyMenuStep>;
// A module we loaded (LoadLibrary / FreeLibrary).
using TLibrary = TScopedHandle<HMODULE, TFreeLibraryStep>;
// A dropped-files handle (DragFinish).
using TDropHandle = TScopedHandle<HDROP, TDragFinishStep>;
// A hook we installed (SetWindowsHookEx / UnhookWindowsHookEx).
using TWindowsHook = TScopedHandle<HHOOK, TUnhookStep>;
// Reserved memory (VirtualAlloc / VirtualFree with MEM_RELEASE).
using TVirtualMemory = TScopedHandle<void*, TVirtualFreeStep>;

// Memory of the COM task allocator (CoTaskMemAlloc / CoTaskMemFree): texts
// and item-ID lists the shell hands out.
struct TTaskMemFree {
    void operator()(void* block) const noexcept { CoTaskMemFree(block); }
};
template <class T>
using TTaskMemory = std::unique_ptr<T, TTaskMemFree>;

// Global memory locked for the length of a scope (GlobalLock /
// GlobalUnlock); Get() is null when it could not be locked.
template <class T = void>
class TGlobalLock {
public:
    explicit TGlobalLock(HGLOBAL block) noexcept : block_(block), data_(block ? GlobalLock(block) : nullptr) {}
    // Takes over a lock taken before, which gave `data`.
    TGlobalLock(HGLOBAL block, void* data) noexcept : block_(block), data_(data) {}
    TGlobalLock(const TGlobalLock&) = delete;
    TGlobalLock& operator=(const TGlobalLock&) = delete;
    ~TGlobalLock() noexcept {
        if (data_) GlobalUnlock(block_);
    }

    T* Get() const noexcept { return static_cast<T*>(data_); }
    explicit operator bool() const noexcept { return data_ != nullptr; }

private:
    HGLOBAL block_;
    void* data_;
};

// The painting of a window between BeginPaint and EndPaint.
class TPaintDC {
public:
    explicit TPaintDC(HWND window) noexcept : window_(window), dc_(BeginPaint(window, &paint_)) {}
    TPaintDC(const TPaintDC&) = delete;
    TPaintDC& operator=(const TPaintDC&) = delete;
    ~TPaintDC() noexcept { EndPaint(window_, &paint_); }

    HDC Get() const noexcept { return dc_; }
    operator HDC() const noexcept { return dc_; }
    const PAINTSTRUCT& Paint() const noexcept { return paint_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// The clipboard opened for a window (OpenClipboard / CloseClipboard); Opened()
// says whether it could be.
class TOpenClipboard {
public:
    explicit TOpenClipboard(HWND owner) noexcept : opened_(OpenClipboard(owner) != FALSE) {}
    TOpenClipboard(const TOpenClipboard&) = delete;
    TOpenClipboard& operator=(const TOpenClipboard&) = delete;
    ~TOpenClipboard() noexcept {
        if (opened_) CloseClipboard();
    }

    bool Opened() const noexcept { return opened_; }

private:
    bool opened_;
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
