#include "classlib/gui/scoped_win32.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "classlib/gui/canvas.h"

namespace {

// A memory DC with a small bitmap, deleted at the end of the test.
struct TTestDC {
    TMemoryDC dc;
    TGdiObject bitmap{CreateCompatibleBitmap(TWindowDC(nullptr), 8, 8)};
    TSelectedObject selected{dc, bitmap.Get()};
};

HGDIOBJ Current(HDC dc, UINT type) {
    return GetCurrentObject(dc, type);
}

TEST(ScopedWin32, CreatedObjectsAndContextsAreDeletedAndCanBeHandedOver) {
    HGDIOBJ pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    HDC dc = nullptr;
    {
        TGdiObject owner(pen);
        TGdiObject moved(std::move(owner));
        EXPECT_EQ(owner.Get(), nullptr);
        TMemoryDC memory;
        dc = memory;
        EXPECT_EQ(GetObjectType(dc), static_cast<DWORD>(OBJ_MEMDC));
        EXPECT_EQ(GetObjectType(moved.Get()), static_cast<DWORD>(OBJ_PEN));
    }
    EXPECT_EQ(GetObjectType(pen), 0u);
    EXPECT_EQ(GetObjectType(dc), 0u);

    HGDIOBJ brush = CreateSolidBrush(RGB(4, 5, 6));
    {
        TGdiObject owner(brush);
        EXPECT_EQ(owner.Release(), brush);
    }
    EXPECT_EQ(GetObjectType(brush), static_cast<DWORD>(OBJ_BRUSH));
    TGdiObject(brush).Reset();
    EXPECT_EQ(GetObjectType(brush), 0u);

    // A context made by CreateDC is deleted as well.
    HDC display = nullptr;
    {
        TCreatedDC created(CreateDCA("DISPLAY", nullptr, nullptr, nullptr));
        display = created;
        ASSERT_NE(display, nullptr);
        TCreatedDC moved(std::move(created));
        EXPECT_EQ(created.Get(), nullptr);
        EXPECT_EQ(GetObjectType(display), static_cast<DWORD>(OBJ_DC));
    }
    EXPECT_EQ(GetObjectType(display), 0u);
}

bool IsOpen(HANDLE handle) {
    DWORD flags = 0;
    return GetHandleInformation(handle, &flags) != FALSE;
}

TEST(ScopedWin32, KernelHandlesAreClosedOnEveryPathAndCanBeHandedOver) {
    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(event, nullptr);
    {
        TKernelHandle owner(event);
        EXPECT_TRUE(owner);
        TKernelHandle moved(std::move(owner));
        EXPECT_FALSE(owner);
        EXPECT_EQ(moved.Get(), event);
        EXPECT_TRUE(IsOpen(event));
    }
    EXPECT_FALSE(IsOpen(event));

    event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    EXPECT_THROW(
        {
            TKernelHandle owner(event);
            throw std::runtime_error("waiting failed");
        },
        std::runtime_error);
    EXPECT_FALSE(IsOpen(event));

    // Assigning or resetting closes the handle held before.
    HANDLE first = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE second = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    TKernelHandle owner(first);
    owner = TKernelHandle(second);
    EXPECT_FALSE(IsOpen(first));
    EXPECT_TRUE(IsOpen(second));
    owner.Reset();
    EXPECT_FALSE(IsOpen(second));

    // Handed over, it stays open.
    event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    {
        TKernelHandle given(event);
        EXPECT_EQ(given.Release(), event);
    }
    EXPECT_TRUE(IsOpen(event));
    TKernelHandle{event}.Reset();
    EXPECT_FALSE(IsOpen(event));

    // A failed open leaves it empty.
    TKernelHandle missing(CreateFileA("no such folder\\no such file", GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_FALSE(missing);
    EXPECT_EQ(missing.Get(), nullptr);
}

TEST(ScopedWin32, SelectedObjectsAreSelectedBackOnEveryPath) {
    TTestDC target;
    HGDIOBJ oldPen = Current(target.dc, OBJ_PEN);
    TGdiObject pen(CreatePen(PS_SOLID, 1, RGB(255, 0, 0)));
    {
        TSelectedObject selected(target.dc, pen.Get());
        EXPECT_EQ(Current(target.dc, OBJ_PEN), pen.Get());
        EXPECT_EQ(selected.Old(), oldPen);
    }
    EXPECT_EQ(Current(target.dc, OBJ_PEN), oldPen);

    EXPECT_THROW(
        {
            TSelectedObject selected(target.dc, pen.Get());
            throw std::runtime_error("drawing failed");
        },
        std::runtime_error);
    EXPECT_EQ(Current(target.dc, OBJ_PEN), oldPen);

    // Moved out of a function, the selection is undone once.
    auto select = [&] { return TSelectedObject(target.dc, pen.Get()); };
    {
        TSelectedObject outer = select();
        EXPECT_EQ(Current(target.dc, OBJ_PEN), pen.Get());
    }
    EXPECT_EQ(Current(target.dc, OBJ_PEN), oldPen);
}

TEST(ScopedWin32, PaletteAndDrawingStateAreRestored) {
    TTestDC target;
    HGDIOBJ oldPalette = Current(target.dc, OBJ_PAL);
    struct {
        LOGPALETTE header;
        PALETTEENTRY more[1];
    } colours{{0x300, 2, {{255, 0, 0, 0}}}, {{0, 0, 255, 0}}};
    TGdiObject palette(CreatePalette(&colours.header));
    ASSERT_NE(palette.Get(), nullptr);
    {
        TSelectedPalette selected(target.dc, static_cast<HPALETTE>(palette.Get()), true);
        EXPECT_TRUE(selected.Selected());
        EXPECT_EQ(Current(target.dc, OBJ_PAL), palette.Get());
    }
    EXPECT_EQ(Current(target.dc, OBJ_PAL), oldPalette);
    {
        TSelectedPalette none(target.dc, nullptr, false);
        EXPECT_FALSE(none.Selected());
    }
    EXPECT_EQ(Current(target.dc, OBJ_PAL), oldPalette);

    COLORREF oldText = GetTextColor(target.dc);
    try {
        TSavedDC saved(target.dc);
        SetTextColor(target.dc, oldText ^ 0xFFFFFF);
        throw std::runtime_error("drawing failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(GetTextColor(target.dc), oldText);
}

TEST(ScopedWin32, BorrowedCanvasIsDetachedOnEveryPathAndGetsItsContextBack) {
    TTestDC first, second;
    auto canvas = MakeOwned<TCanvas>();
    HGDIOBJ firstBrush = Current(first.dc, OBJ_BRUSH);
    HGDIOBJ secondBrush = Current(second.dc, OBJ_BRUSH);
    {
        TCanvasOnDC on(*canvas, first.dc);
        EXPECT_EQ(on->Handle(), first.dc.Get());
        EXPECT_NE(Current(first.dc, OBJ_BRUSH), firstBrush);
        try {
            // A nested borrowing, left by an exception, gives the canvas
            // back to the first context.
            TCanvasOnDC nested(*canvas, second.dc);
            canvas->FillRect(Rect(0, 0, 2, 2));
            throw std::runtime_error("drawing failed");
        } catch (const std::runtime_error&) {
        }
        EXPECT_EQ(Current(second.dc, OBJ_BRUSH), secondBrush);
        EXPECT_EQ(canvas->Handle(), first.dc.Get());
    }
    EXPECT_FALSE(canvas->HandleAllocated());
    EXPECT_EQ(Current(first.dc, OBJ_BRUSH), firstBrush);
}

TEST(ScopedWin32, WindowContextsCanBeMoved) {
    TWindowDC screen(nullptr);
    ASSERT_NE(screen.Get(), nullptr);
    HDC dc = screen;
    TWindowDC moved(std::move(screen));
    EXPECT_EQ(screen.Get(), nullptr);
    EXPECT_EQ(moved.Get(), dc);
    EXPECT_GT(GetDeviceCaps(moved, BITSPIXEL), 0);
}

// Contexts of every kind go back to the window's cache: a context left
// behind keeps its cache slot busy, so the next one would be another.
TEST(ScopedWin32, WindowContextsOfEveryKindAreReleased) {
    TOwnedWindow owned(CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_BORDER, 0, 0, 40, 30, nullptr, nullptr,
                                       nullptr, nullptr));
    const HWND window = owned.Get();
    ASSERT_NE(window, nullptr);
    const HDC before = TWindowDC::Whole(window).Get();
    ASSERT_NE(before, nullptr);
    for (int i = 0; i < 3; ++i) {
        TWindowDC whole = TWindowDC::Whole(window);
        EXPECT_EQ(whole.Get(), before);
    }
    EXPECT_EQ(TWindowDC::Whole(window).Get(), before);
    const HDC flaggedBefore = TWindowDC(window, DCX_CACHE | DCX_CLIPSIBLINGS).Get();
    ASSERT_NE(flaggedBefore, nullptr);
    for (int i = 0; i < 3; ++i) {
        TWindowDC flagged(window, DCX_CACHE | DCX_CLIPSIBLINGS);
        EXPECT_EQ(flagged.Get(), flaggedBefore);
    }
}

}  // namespace
