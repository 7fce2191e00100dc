// The accessors and the screen depth.
#include <gtest/gtest.h>

#include "player/test_canvas.h"

using namespace test_canvas;

namespace {

TEST(Accessors, ReadTheHeaderAndCountColours) {
    TImage image(7, 5, 4, 16), few(2, 2, 8, 3), all(2, 2, 8), rgb(2, 2, 24);
    EXPECT_EQ(DIBWidth(image.Dib()), 7);
    EXPECT_EQ(DIBHeight(image.Dib()), 5);
    EXPECT_EQ(DIBBitCount(image.Dib()), 4);
    EXPECT_EQ(DIBColors(image.Dib()), 16);
    EXPECT_EQ(DIBColors(rgb.Dib()), 16777216);
    EXPECT_EQ(BitCountColors(32), int64_t(1) << 32);
    EXPECT_EQ(DIBTableColors(few.Dib()), 3);
    EXPECT_EQ(DIBTableColors(all.Dib()), 256);  // biClrUsed 0: the full table
    EXPECT_EQ(DIBTableColors(rgb.Dib()), 0);
    TDIB empty;
    std::memset(&empty, 0, sizeof empty);
    EXPECT_EQ(DIBWidth(empty), 0);
    EXPECT_EQ(DIBTableColors(empty), 0);
}

TEST(Screen, MeasuresTheDesktopDepthAndReleasesItsDC) {
    const int bits = ScreenBitsPerPixel();  // the virtual screen runs true colour
    EXPECT_GT(bits, 8);
    EXPECT_LE(bits, 32);
    // A desktop DC left behind keeps its cache slot busy, so the next GetDC
    // would hand out another one.
    const HWND desktop = GetDesktopWindow();
    const HDC before = TWindowDC(desktop).Get();
    for (int i = 0; i < 3; ++i) ScreenBitsPerPixel();
    const HDC after = TWindowDC(desktop).Get();
    EXPECT_EQ(after, before);
}

}  // namespace
