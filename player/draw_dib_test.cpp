// DrawDIB on a 24-bit memory DC: every drawing path, checked pixel by pixel.
#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <sstream>

#include "test_canvas.h"

using namespace test_canvas;

namespace {

constexpr COLORREF kBackground = RGB(1, 2, 3);
constexpr int kWidth = 9;  // odd: rows carry padding at every depth
constexpr int kHeight = 6;

// Source images with a different colour for (nearly) every pixel.
void Paint(TImage& image) {
    TDIB& dib = image.Dib();
    const int bitCount = DIBBitCount(dib);
    for (int i = 0; i < DIBTableColors(dib); ++i) {
        if (bitCount == 1) image.SetColor(i, i ? RGB(255, 255, 255) : RGB(0, 0, 0));
        if (bitCount == 4) image.SetColor(i, RGB(i * 16, 255 - i * 16, 100));
        if (bitCount == 8) image.SetColor(i, RGB(i, 255 - i, (i * 7) & 255));
    }
    for (int y = 0; y < DIBHeight(dib); ++y)
        for (int x = 0; x < DIBWidth(dib); ++x) {
            uint32_t value = 0;
            switch (bitCount) {
            case 1: value = (x + y) % 3 == 0; break;
            case 4: value = (x + 5 * y) % 16; break;
            case 8: value = (x * 13 + y * 29 + 5) % 256; break;
            default: value = RGB(30 + 20 * x, 40 + 25 * y, 150 + x + y); break;
            }
            setpixel(dib, x, y, value);
        }
}

// The colour the image shows at column x of stored row y.
COLORREF SourceColour(const TDIB& dib, int x, int y) {
    const uint32_t value = getpixel(dib, x, y);
    if (DIBBitCount(dib) > 8) return value;
    const auto* entry = static_cast<const uint8_t*>(dib.Info) + 40 + 4 * value;
    return RGB(entry[2], entry[1], entry[0]);
}

// Compares the whole canvas: `expected` gives the colour of drawn pixels
// and nullopt where the background must show. Empty when all match.
std::string Mismatch(const TCanvas& canvas, const std::function<std::optional<COLORREF>(int, int)>& expected) {
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x) {
            const COLORREF want = expected(x, y).value_or(kBackground);
            const COLORREF got = canvas.Pixel(x, y);
            if (got != want) {
                std::ostringstream text;
                text << std::hex << "at " << std::dec << x << "," << y << std::hex << " got " << got << " want "
                     << want;
                return text.str();
            }
        }
    return "";
}

// A destination rectangle showing source columns column(i) and stored rows
// row(j) for destination column i and row j (from the top).
std::function<std::optional<COLORREF>(int, int)> Shows(const TDIB& dib, int x, int y, int width, int height,
                                                       std::function<int(int)> column, std::function<int(int)> row) {
    return [=, &dib](int px, int py) -> std::optional<COLORREF> {
        if (px < x || py < y || px >= x + width || py >= y + height) return std::nullopt;
        return SourceColour(dib, column(px - x), row(py - y));
    };
}

// Unscaled: destination (i, j) shows source column srcX + i and, counting
// stored rows from the bottom, row srcY + srcH - 1 - j.
std::function<std::optional<COLORREF>(int, int)> ShowsUnscaled(const TDIB& dib, int x, int y, int srcX, int srcY,
                                                               int srcW, int srcH) {
    return Shows(dib, x, y, srcW, srcH, [=](int i) { return srcX + i; }, [=](int j) { return srcY + srcH - 1 - j; });
}

struct TPathCase {
    const char* Name;
    int BitCount;
    bool Printer;
    bool StretchFails;
    bool DIBToDevice;
    int StretchCalls;  // 0: drawn row by row
    bool CopiesUnscaled() const { return StretchFails && DIBToDevice; }
};

std::ostream& operator<<(std::ostream& out, const TPathCase& c) { return out << c.Name; }

const TPathCase kPaths[] = {
    {"rows24", 24, false, false, true, 0},  {"rows8", 8, false, false, true, 0},
    {"stretch24", 24, true, false, true, 1}, {"stretch8", 8, true, false, true, 1},
    {"stretch4", 4, false, false, true, 1},  {"stretch1", 1, false, false, true, 1},
    {"copy24", 24, true, true, true, 1},     {"copy8", 8, true, true, true, 1},
    {"copy4", 4, false, true, true, 1},      {"copy1", 1, false, true, true, 1},
    {"bitmap24", 24, true, true, false, 1},  {"bitmap8", 8, true, true, false, 1},
    {"bitmap4", 4, false, true, false, 1},   {"bitmap1", 1, false, true, false, 1},
};

class DrawPaths : public ::testing::TestWithParam<TPathCase> {
protected:
    DrawPaths() : image_(kWidth, kHeight, GetParam().BitCount, GetParam().BitCount <= 8 ? 1 << GetParam().BitCount : 0) {
        Paint(image_);
        device_.Printer = GetParam().Printer;
        device_.StretchFails = GetParam().StretchFails;
        device_.DIBToDevice = GetParam().DIBToDevice;
    }
    void Draw(int x, int y, int destW, int destH, int srcX, int srcY, int srcW, int srcH) {
        DrawDIB(canvas_.DC(), x, y, destW, destH, image_.Dib(), srcX, srcY, srcW, srcH, true, SRCCOPY, true, nullptr);
    }
    const TDIB& Dib() const { return image_.Dib(); }

    TCanvas canvas_{40, 30, kBackground};
    TImage image_;
    TDeviceScope device_;
    TRecordingInteraction messages_;
};

TEST_P(DrawPaths, SourceRectangleOnTheImageDrawsUnchanged) {
    Draw(5, 4, kWidth, kHeight, 0, 0, kWidth, kHeight);
    EXPECT_EQ(Mismatch(canvas_, ShowsUnscaled(Dib(), 5, 4, 0, 0, kWidth, kHeight)), "");
    EXPECT_EQ(device_.StretchCalls, GetParam().StretchCalls);
    EXPECT_TRUE(messages_.Messages.empty());
}

TEST_P(DrawPaths, SourceRowsCountFromTheBottom) {
    Draw(5, 4, 4, 3, 2, 1, 4, 3);
    EXPECT_EQ(Mismatch(canvas_, ShowsUnscaled(Dib(), 5, 4, 2, 1, 4, 3)), "");
}

TEST_P(DrawPaths, ClippingKeepsTheScaleAndMovesTheCutSides) {
    // Ten pixels past the right edge: narrower, same X.
    Draw(5, 4, kWidth - 3 + 10, kHeight, 3, 0, kWidth - 3 + 10, kHeight);
    EXPECT_EQ(Mismatch(canvas_, ShowsUnscaled(Dib(), 5, 4, 3, 0, kWidth - 3, kHeight)), "") << "right";

    canvas_.Clear(kBackground);  // past the top: the top of the destination goes
    Draw(5, 4, kWidth, kHeight, 0, 2, kWidth, kHeight);
    EXPECT_EQ(Mismatch(canvas_, ShowsUnscaled(Dib(), 5, 6, 0, 2, kWidth, kHeight - 2)), "") << "top";

    canvas_.Clear(kBackground);  // below the bottom row: the bottom goes
    Draw(5, 4, kWidth, kHeight, 0, -2, kWidth, kHeight);
    EXPECT_EQ(Mismatch(canvas_, ShowsUnscaled(Dib(), 5, 4, 0, 0, kWidth, kHeight - 2)), "") << "bottom";

    canvas_.Clear(kBackground);  // left of the image: narrower, moved right
    Draw(5, 4, kWidth, kHeight, -3, 0, kWidth, kHeight);
    EXPECT_EQ(Mismatch(canvas_, ShowsUnscaled(Dib(), 8, 4, 0, 0, kWidth - 3, kHeight)), "") << "left";
}

TEST_P(DrawPaths, DoubledSizeRepeatsEachPixel) {
    // Ten pixels past the right edge at twice the size.
    Draw(2, 3, 2 * (kWidth + 10), 2 * kHeight, 0, 0, kWidth + 10, kHeight);
    const int w = 2 * kWidth, h = 2 * kHeight;
    std::function<int(int)> column = [](int i) { return i / 2; };
    std::function<int(int)> row = [](int j) { return kHeight - 1 - j / 2; };
    if (GetParam().CopiesUnscaled()) {
        // The unscaled copy spreads first to last pixel over the destination.
        column = [=](int i) { return (kWidth - 1) * i / (w - 1); };
        row = [=](int j) { return (kHeight - 1) * (h - 1 - j) / (h - 1); };
    }
    EXPECT_EQ(Mismatch(canvas_, Shows(Dib(), 2, 3, w, h, column, row)), "");
}

TEST_P(DrawPaths, EmptySourceOrDestinationDrawsNothing) {
    const struct {
        int destW, destH, srcX, srcY, srcW, srcH;
    } cases[] = {
        {5, 5, 0, 0, 0, 5},        {5, 5, 0, 0, 5, 0},         {0, 5, 0, 0, 5, 5},
        {5, 0, 0, 0, 5, 5},        {5, 5, kWidth, 0, 5, 5},    {5, 5, 0, kHeight, 5, 5},
        {5, 5, 0, -5, 5, 5},       {5, 5, -5, 0, 5, 5},        {5, 5, -9, -9, 3, 3},
        {-5, 5, 0, 0, 5, 5},       {5, 5, 0, 0, -5, 5},        {1, 1, 0, 0, INT_MAX, INT_MAX},
        {INT_MAX, 5, INT_MIN, 0, INT_MAX, 5},
    };
    for (const auto& c : cases) {
        Draw(3, 3, c.destW, c.destH, c.srcX, c.srcY, c.srcW, c.srcH);
        ASSERT_EQ(Mismatch(canvas_, [](int, int) { return std::nullopt; }), "")
            << c.destW << "x" << c.destH << " from " << c.srcX << "," << c.srcY << " " << c.srcW << "x" << c.srcH;
    }
    EXPECT_EQ(device_.StretchCalls, 0);
}

INSTANTIATE_TEST_SUITE_P(AllPaths, DrawPaths, ::testing::ValuesIn(kPaths),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(DrawPathsCopy, OnePixelWideOrHighDestinationTakesTheFirstSourcePixel) {
    TCanvas canvas(20, 20, kBackground);
    TImage image(kWidth, kHeight, 24);
    Paint(image);
    TDeviceScope device;
    device.Printer = true;
    device.StretchFails = true;
    DrawDIB(canvas.DC(), 2, 2, 1, 4, image.Dib(), 3, 1, 5, 4, true, SRCCOPY, true, nullptr);
    EXPECT_EQ(Mismatch(canvas, Shows(image.Dib(), 2, 2, 1, 4, [](int) { return 3; },
                                     [](int j) { return 1 + 3 * (3 - j) / 3; })),
              "");
    canvas.Clear(kBackground);
    DrawDIB(canvas.DC(), 2, 2, 4, 1, image.Dib(), 3, 1, 5, 4, true, SRCCOPY, true, nullptr);
    EXPECT_EQ(Mismatch(canvas, Shows(image.Dib(), 2, 2, 4, 1, [](int i) { return 3 + 4 * i / 3; },
                                     [](int) { return 1; })),
              "");
}

TEST(DrawPathsRows, ShrinkingTakesEveryNthPixel) {
    for (int bitCount : {24, 8}) {
        TCanvas canvas(20, 20, kBackground);
        TImage image(kWidth, kHeight, bitCount, bitCount == 8 ? 256 : 0);
        Paint(image);
        TDeviceScope device;
        DrawDIB(canvas.DC(), 1, 1, 4, 2, image.Dib(), 1, 1, 8, 5, true, SRCCOPY, true, nullptr);
        // Column i: 1 + 8 * i / 4; row j from the top: top row 1 + 5 - 5 = 1... counted from the image's top.
        const int srcTopRow = kHeight - 1 - 5;
        EXPECT_EQ(Mismatch(canvas, Shows(image.Dib(), 1, 1, 4, 2, [](int i) { return 1 + 2 * i; },
                                         [=](int j) { return kHeight - 1 - (srcTopRow + 5 * j / 2); })),
                  "")
            << bitCount;
        EXPECT_EQ(device.StretchCalls, 0);
    }
}

// Pictures of cube colours only come through halftoning unchanged.
COLORREF CubeColour(int x, int y) { return RGB(51 * (x % 6), 51 * (y % 6), 204); }

bool OnTheCube(COLORREF colour) {
    return GetRValue(colour) % 51 == 0 && GetGValue(colour) % 51 == 0 && GetBValue(colour) % 51 == 0;
}

TEST(DrawHalftone, PaletteScreenGetsAHalftonedCopy) {
    TCanvas canvas(30, 30, kBackground);
    TImage image(kWidth, kHeight, 24);
    Paint(image);  // colours between the cube levels
    TDeviceScope device;
    device.ScreenBits = 8;
    DrawDIB(canvas.DC(), 2, 2, kWidth, kHeight, image.Dib(), 0, 0, kWidth, kHeight, true, SRCCOPY, true, nullptr);
    EXPECT_EQ(device.StretchCalls, 1);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x) {
            const bool inside = x >= 2 && y >= 2 && x < 2 + kWidth && y < 2 + kHeight;
            const COLORREF got = canvas.Pixel(x, y);
            if (inside)
                ASSERT_TRUE(OnTheCube(got)) << x << "," << y;
            else
                ASSERT_EQ(got, kBackground) << x << "," << y;
        }

    // Cube colours keep their place: the copy maps the source rectangle.
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) setpixel(image.Dib(), x, y, CubeColour(x, y));
    canvas.Clear(kBackground);
    DrawDIB(canvas.DC(), 5, 4, 4, 3, image.Dib(), 2, 1, 4, 3, true, SRCCOPY, true, nullptr);
    EXPECT_EQ(Mismatch(canvas, ShowsUnscaled(image.Dib(), 5, 4, 2, 1, 4, 3)), "");
}

TEST(DrawHalftone, ShrinkingHalftonesAtTheDrawnScale) {
    TCanvas canvas(30, 30, kBackground);
    TImage image(20, 10, 24);
    // Left half red, right half blue; the right half drawn at half size.
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x) setpixel(image.Dib(), x, y, x < 10 ? RGB(255, 0, 0) : RGB(0, 0, 255));
    TDeviceScope device;
    device.ScreenBits = 8;
    DrawDIB(canvas.DC(), 3, 3, 5, 5, image.Dib(), 10, 0, 10, 10, true, SRCCOPY, true, nullptr);
    EXPECT_EQ(Mismatch(canvas,
                       [](int x, int y) -> std::optional<COLORREF> {
                           if (x < 3 || y < 3 || x >= 8 || y >= 8) return std::nullopt;
                           return RGB(0, 0, 255);
                       }),
              "");
}

TEST(DrawHalftone, NotWithoutPermissionNorOnTrueColourScreens) {
    for (auto [screenBits, allow] : {std::pair{8, false}, {32, true}, {16, true}}) {
        TCanvas canvas(20, 20, kBackground);
        TImage image(kWidth, kHeight, 24);
        Paint(image);
        TDeviceScope device;
        device.ScreenBits = screenBits;
        DrawDIB(canvas.DC(), 2, 2, kWidth, kHeight, image.Dib(), 0, 0, kWidth, kHeight, allow, SRCCOPY, true,
                nullptr);
        EXPECT_EQ(device.StretchCalls, 0) << screenBits;
        EXPECT_EQ(Mismatch(canvas, ShowsUnscaled(image.Dib(), 2, 2, 0, 0, kWidth, kHeight)), "") << screenBits;
    }
}

TEST(DrawPalette, SelectsTheChosenPaletteWhileDrawingAndRestoresIt) {
    TCanvas canvas(20, 20, kBackground);
    TImage source(kWidth, kHeight, 24);
    Paint(source);
    TDIB halftoned;
    ASSERT_EQ(DIBHalftoneDIB(&halftoned, source.Dib()), 1);
    ASSERT_EQ(halftoned.HasPalette, 1);
    struct {
        BYTE version[2] = {0, 3};
        WORD count = 1;
        PALETTEENTRY entry{9, 9, 9, 0};
    } logical;
    const HPALETTE argument = CreatePalette(reinterpret_cast<LOGPALETTE*>(&logical));
    const HGDIOBJ original = GetCurrentObject(canvas.DC(), OBJ_PAL);

    TDeviceScope device;
    device.Printer = true;
    HGDIOBJ during = nullptr;
    device.OnStretch = [&](HDC dc) { during = GetCurrentObject(dc, OBJ_PAL); };
    DrawDIB(canvas.DC(), 0, 0, kWidth, kHeight, halftoned, 0, 0, kWidth, kHeight, false, SRCCOPY, true, argument);
    EXPECT_EQ(during, halftoned.Palette);
    EXPECT_EQ(GetCurrentObject(canvas.DC(), OBJ_PAL), original);
    DrawDIB(canvas.DC(), 0, 0, kWidth, kHeight, halftoned, 0, 0, kWidth, kHeight, false, SRCCOPY, false, argument);
    EXPECT_EQ(during, argument);
    EXPECT_EQ(GetCurrentObject(canvas.DC(), OBJ_PAL), original);

    // Images without a palette leave the DC's alone.
    DrawDIB(canvas.DC(), 0, 0, kWidth, kHeight, source.Dib(), 0, 0, kWidth, kHeight, false, SRCCOPY, false, argument);
    EXPECT_EQ(during, original);
    deldib(halftoned);
    DeleteObject(argument);
}

TEST(DrawFallback, BitmapFailuresAreReportedWithoutOwnerOrCaption) {
    TCanvas canvas(20, 20, kBackground);
    TRecordingInteraction messages;
    TDeviceScope device;
    device.Printer = true;
    device.StretchFails = true;
    device.DIBToDevice = false;
    std::vector<uint8_t> row(4);
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biBitCount = 24;
    header.biPlanes = 1;
    TDIB dib;
    std::memset(&dib, 0, sizeof dib);
    dib.Info = &header;
    dib.Bits = row.data();

    // Too large for any bitmap (its rows are never read).
    header.biWidth = 65535;
    header.biHeight = 65535;
    dib.BytesPerLine = 65535 * 3 + 3;
    DrawDIB(canvas.DC(), 0, 0, 5, 5, dib, 0, 0, 5, 5, true, SRCCOPY, true, nullptr);
    ASSERT_EQ(messages.Messages.size(), 1u);
    EXPECT_EQ(messages.Messages[0].Text, "Could not create bitmap.");
    EXPECT_EQ(messages.Messages[0].Owner, nullptr);
    EXPECT_EQ(messages.Messages[0].Caption, nullptr);
    EXPECT_EQ(messages.Messages[0].Flags, 0u);

    // A compression no device takes.
    header.biWidth = 1;
    header.biHeight = 1;
    header.biCompression = BI_RLE8;
    dib.BytesPerLine = 4;
    DrawDIB(canvas.DC(), 0, 0, 5, 5, dib, 0, 0, 1, 1, true, SRCCOPY, true, nullptr);
    ASSERT_EQ(messages.Messages.size(), 2u);
    EXPECT_EQ(messages.Messages[1].Text, "The device does not support the Funtkion setdibits!");
    EXPECT_EQ(Mismatch(canvas, [](int, int) { return std::nullopt; }), "");
}

// An 8-bit image whose two-entry colour table ends where readable memory
// ends: reading a 256-entry table from it faults.
class TShortTableImage {
public:
    TShortTableImage() {
        SYSTEM_INFO system;
        GetSystemInfo(&system);
        page_ = system.dwPageSize;
        block_ = static_cast<uint8_t*>(VirtualAlloc(nullptr, 2 * page_, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        DWORD old;
        VirtualProtect(block_ + page_, page_, PAGE_NOACCESS, &old);
        auto* info = reinterpret_cast<BITMAPINFO*>(block_ + page_ - sizeof(BITMAPINFOHEADER) - 2 * sizeof(RGBQUAD));
        info->bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 4, 2, 1, 8, BI_RGB, 0, 0, 0, 2, 0};
        info->bmiColors[0] = RGBQUAD{0, 0, 255, 0};    // red
        info->bmiColors[1] = RGBQUAD{255, 0, 0, 0};    // blue
        std::memset(&dib_, 0, sizeof dib_);
        dib_.Info = info;
        dib_.Bits = rows_;
        dib_.BytesPerLine = 4;
    }
    ~TShortTableImage() { VirtualFree(block_, 0, MEM_RELEASE); }
    const TDIB& Dib() const { return dib_; }

private:
    DWORD page_;
    uint8_t* block_;
    uint8_t rows_[8] = {0, 1, 0, 1, 1, 1, 0, 0};
    TDIB dib_;
};

TEST(DrawShortTable, OnlyTheEntriesTheImageHasAreRead) {
    TShortTableImage image;
    for (auto [printer, fails] : {std::pair{false, false}, {true, false}, {true, true}}) {
        TCanvas canvas(10, 10, kBackground);
        TDeviceScope device;
        device.Printer = printer;
        device.StretchFails = fails;
        DrawDIB(canvas.DC(), 1, 1, 4, 2, image.Dib(), 0, 0, 4, 2, true, SRCCOPY, true, nullptr);
        EXPECT_EQ(Mismatch(canvas, ShowsUnscaled(image.Dib(), 1, 1, 0, 0, 4, 2)), "") << printer << fails;
    }
    TCanvas canvas(10, 10, kBackground);
    StretchRows8(canvas.DC(), 0, 0, 4, 2, 0, 0, 4, 2, image.Dib());
    EXPECT_EQ(canvas.Pixel(0, 0), RGB(0, 0, 255));  // top row, stored second: 1 1 0 0
    EXPECT_EQ(canvas.Pixel(3, 1), RGB(0, 0, 255));
    EXPECT_EQ(canvas.Pixel(0, 1), RGB(255, 0, 0));
}

TEST(StretchRows, RowsAndColumnsOutsideTheImageDrawZero) {
    TCanvas canvas(20, 20, kBackground);
    TImage image(4, 3, 24);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) setpixel(image.Dib(), x, y, RGB(200, 100 + x, 50 + y));
    // Columns -2..5 and rows -1..3 (from the top) of a 4 x 3 image.
    StretchRows24(canvas.DC(), 0, 0, 8, 5, -2, -1, 8, 5, image.Dib());
    for (int j = 0; j < 5; ++j)
        for (int i = 0; i < 8; ++i) {
            const int column = i - 2, top = j - 1;
            const bool inside = column >= 0 && column < 4 && top >= 0 && top < 3;
            const COLORREF want = inside ? SourceColour(image.Dib(), column, 2 - top) : RGB(0, 0, 0);
            ASSERT_EQ(canvas.Pixel(i, j), want) << i << "," << j;
        }
    EXPECT_EQ(canvas.Pixel(8, 0), kBackground);
    EXPECT_EQ(canvas.Pixel(0, 5), kBackground);
}

TEST(RoundedMulDiv, RoundsHalvesToEven) {
    EXPECT_EQ(RoundedMulDiv(5, 1, 2), 2);
    EXPECT_EQ(RoundedMulDiv(7, 1, 2), 4);
    EXPECT_EQ(RoundedMulDiv(-5, 1, 2), -2);
    EXPECT_EQ(RoundedMulDiv(-7, 1, 2), -4);
    EXPECT_EQ(RoundedMulDiv(10, 2, 3), 7);
    EXPECT_EQ(RoundedMulDiv(10, 1, 3), 3);
    EXPECT_EQ(RoundedMulDiv(-10, 1, 3), -3);
    EXPECT_EQ(RoundedMulDiv(9, 1, -2), -4);
    EXPECT_EQ(RoundedMulDiv(INT_MAX, INT_MAX, 1), INT_MAX);
    EXPECT_EQ(RoundedMulDiv(INT64_MAX, -2, 1), INT_MIN);
}

TEST(DrawClipRounding, ScaledClipsRoundHalvesToEven) {
    // 3 of 6 source columns stay, drawn 5 wide: 2.5 rounds to 2.
    TCanvas canvas(20, 20, kBackground);
    TImage image(3, 2, 24);
    Paint(image);
    TDeviceScope device;
    DrawDIB(canvas.DC(), 0, 0, 5, 2, image.Dib(), 0, 0, 6, 2, true, SRCCOPY, true, nullptr);
    EXPECT_NE(canvas.Pixel(1, 0), kBackground);
    EXPECT_EQ(canvas.Pixel(2, 0), kBackground);
}

}  // namespace
