// DrawDIB on a 24-bit memory DC: every drawing path, checked pixel by pixel.
#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <sstream>

#include "player/test_canvas.h"
#include "classlib/gui/scoped_win32.h"

using namespace test_canvas;

namespace {

constexpr COLORREF kBackground = RGB(1, 2, 3);
constexpr int kWidth = 9;  // odd: rows carry padding at every depth
constexpr int kHeight = 6;

// Gives (nearly) every pixel its own colour.
void Paint(TImage& image) {
    TDIB& dib = image.Dib();
    const int bitCount = DIBBitCount(dib);
    for (int i = 0; i < DIBTableColors(dib); ++i)
        image.SetColor(i, bitCount == 1 ? RGB(255 * i, 255 * i, 255 * i)
                          : bitCount == 4 ? RGB(i * 16, 255 - i * 16, 100)
                                          : RGB(i, 255 - i, (i * 7) & 255));
    for (int y = 0; y < DIBHeight(dib); ++y)
        for (int x = 0; x < DIBWidth(dib); ++x)
            setpixel(dib, x, y,
                     bitCount == 1   ? (x + y) % 3 == 0
                     : bitCount == 4 ? (x + 5 * y) % 16
                     : bitCount == 8 ? (x * 13 + y * 29 + 5) % 256
                                     : RGB(30 + 20 * x, 40 + 25 * y, 150 + x + y));
}

// The colour the image shows at column x of stored row y.
COLORREF SourceColour(const TDIB& dib, int x, int y) {
    const uint32_t value = getpixel(dib, x, y);
    if (DIBBitCount(dib) > 8) return value;
    const auto* entry = static_cast<const uint8_t*>(dib.Info) + 40 + 4 * value;
    return RGB(entry[2], entry[1], entry[0]);
}

using TExpected = std::function<std::optional<COLORREF>(int x, int y)>;

// Compares the whole canvas; nullopt means background. Empty when all match.
std::string Mismatch(const TDibCanvas& canvas, const TExpected& expected) {
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x) {
            const COLORREF want = expected(x, y).value_or(kBackground), got = canvas.Pixel(x, y);
            if (got != want) {
                std::ostringstream text;
                text << "at " << x << "," << y << std::hex << " got " << got << " want " << want;
                return text.str();
            }
        }
    return "";
}

const TExpected kNothing = [](int, int) { return std::nullopt; };

// Destination column i and row j (from the top) of the rectangle show
// source column column(i) and stored row row(j).
TExpected Shows(const TDIB& dib, int x, int y, int width, int height, std::function<int(int)> column,
                std::function<int(int)> row) {
    return [=, &dib](int px, int py) -> std::optional<COLORREF> {
        if (px < x || py < y || px >= x + width || py >= y + height) return std::nullopt;
        return SourceColour(dib, column(px - x), row(py - y));
    };
}

// Unscaled: the top destination row shows stored row srcY + srcH - 1.
TExpected ShowsUnscaled(const TDIB& dib, int x, int y, int srcX, int srcY, int srcW, int srcH) {
    return Shows(dib, x, y, srcW, srcH, [=](int i) { return srcX + i; }, [=](int j) { return srcY + srcH - 1 - j; });
}

struct TPathCase {
    const char* Name;
    int BitCount;
    bool Printer, StretchFails, DIBToDevice;
    int StretchCalls;  // 0: drawn row by row
};

std::ostream& operator<<(std::ostream& out, const TPathCase& c) { return out << c.Name; }

const TPathCase kPaths[] = {
    {"rows24", 24, false, false, true, 0},  {"rows8", 8, false, false, true, 0},
    {"stretch24", 24, true, false, true, 1}, {"stretch8", 8, true, false, true, 1},
    {"stretch4", 4, false, false, true, 1},  {"stretch1", 1, false, false, true, 1},
    {"copy24", 24, true, true, true, 1},     {"copy8", 8, true, true, true, 1},
    {"copy4", 4, false, true, true, 1},      {"copy1", 1, false, true, true, 1},
    {"bitmap24", 24, true, true, false, 1},  {"bitmap4", 4, false, true, false, 1},
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
        canvas_.Clear(kBackground);
        DrawDIB(canvas_.DC(), x, y, destW, destH, image_.Dib(), srcX, srcY, srcW, srcH, true, SRCCOPY, true, nullptr);
    }
    const TDIB& Dib() const { return image_.Dib(); }

    TDibCanvas canvas_{40, 30, kBackground};
    TImage image_;
    TDeviceScope device_;
    TRecordingInteraction messages_;
};

TEST_P(DrawPaths, UnscaledRectanglesDrawUnchanged) {
    Draw(5, 4, kWidth, kHeight, 0, 0, kWidth, kHeight);
    EXPECT_EQ(Mismatch(canvas_, ShowsUnscaled(Dib(), 5, 4, 0, 0, kWidth, kHeight)), "") << "whole image";
    EXPECT_EQ(device_.StretchCalls, GetParam().StretchCalls);
    Draw(5, 4, 4, 3, 2, 1, 4, 3);
    EXPECT_EQ(Mismatch(canvas_, ShowsUnscaled(Dib(), 5, 4, 2, 1, 4, 3)), "") << "rows from the bottom";
    EXPECT_TRUE(messages_.Messages.empty());
}

TEST_P(DrawPaths, ClippingKeepsTheScaleAndMovesTheCutSides) {
    Draw(5, 4, kWidth - 3 + 10, kHeight, 3, 0, kWidth - 3 + 10, kHeight);
    EXPECT_EQ(Mismatch(canvas_, ShowsUnscaled(Dib(), 5, 4, 3, 0, kWidth - 3, kHeight)), "") << "10 px past the right";
    Draw(5, 4, kWidth, kHeight, 0, 2, kWidth, kHeight);
    EXPECT_EQ(Mismatch(canvas_, ShowsUnscaled(Dib(), 5, 6, 0, 2, kWidth, kHeight - 2)), "") << "past the top";
    Draw(5, 4, kWidth, kHeight, 0, -2, kWidth, kHeight);
    EXPECT_EQ(Mismatch(canvas_, ShowsUnscaled(Dib(), 5, 4, 0, 0, kWidth, kHeight - 2)), "") << "below the bottom";
    Draw(5, 4, kWidth, kHeight, -3, 0, kWidth, kHeight);
    EXPECT_EQ(Mismatch(canvas_, ShowsUnscaled(Dib(), 8, 4, 0, 0, kWidth - 3, kHeight)), "") << "left of the image";
}

TEST_P(DrawPaths, DoubledSizeRepeatsEachPixel) {
    Draw(2, 3, 2 * (kWidth + 10), 2 * kHeight, 0, 0, kWidth + 10, kHeight);  // and 10 px past the right
    const int w = 2 * kWidth, h = 2 * kHeight;
    std::function<int(int)> column = [](int i) { return i / 2; };
    std::function<int(int)> row = [](int j) { return kHeight - 1 - j / 2; };
    if (GetParam().StretchFails && GetParam().DIBToDevice) {
        // The unscaled copy spreads first to last pixel over the destination.
        column = [=](int i) { return (kWidth - 1) * i / (w - 1); };
        row = [=](int j) { return (kHeight - 1) * (h - 1 - j) / (h - 1); };
    }
    EXPECT_EQ(Mismatch(canvas_, Shows(Dib(), 2, 3, w, h, column, row)), "");
}

TEST_P(DrawPaths, EmptySourceOrDestinationDrawsNothing) {
    const int cases[][6] = {
        {5, 5, 0, 0, 0, 5},  {5, 5, 0, 0, 5, 0},       {0, 5, 0, 0, 5, 5},        {5, 0, 0, 0, 5, 5},
        {-5, 5, 0, 0, 5, 5}, {5, 5, kWidth, 0, 5, 5}, {5, 5, 0, kHeight, 5, 5}, {5, 5, 0, -5, 5, 5},
        {5, 5, -5, 0, 5, 5}, {1, 1, 0, 0, INT_MAX, INT_MAX}, {INT_MAX, 5, INT_MIN, 0, INT_MAX, 5},
    };
    for (const auto& c : cases) {
        Draw(3, 3, c[0], c[1], c[2], c[3], c[4], c[5]);
        ASSERT_EQ(Mismatch(canvas_, kNothing), "") << c[0] << "x" << c[1] << " from " << c[2] << "," << c[3] << " "
                                                   << c[4] << "x" << c[5];
    }
    EXPECT_EQ(device_.StretchCalls, 0);
}

INSTANTIATE_TEST_SUITE_P(AllPaths, DrawPaths, ::testing::ValuesIn(kPaths),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(DrawCopy, OnePixelWideOrHighDestinationTakesTheFirstSourcePixel) {
    TDibCanvas canvas(20, 20, kBackground);
    TImage image(kWidth, kHeight, 24);
    Paint(image);
    TDeviceScope device;
    device.Printer = device.StretchFails = true;
    DrawDIB(canvas.DC(), 2, 2, 1, 4, image.Dib(), 3, 1, 5, 4, true, SRCCOPY, true, nullptr);
    EXPECT_EQ(Mismatch(canvas, Shows(image.Dib(), 2, 2, 1, 4, [](int) { return 3; }, [](int j) { return 4 - j; })), "");
    canvas.Clear(kBackground);
    DrawDIB(canvas.DC(), 2, 2, 4, 1, image.Dib(), 3, 1, 5, 4, true, SRCCOPY, true, nullptr);
    EXPECT_EQ(Mismatch(canvas, Shows(image.Dib(), 2, 2, 4, 1, [](int i) { return 3 + 4 * i / 3; }, [](int) { return 1; })),
              "");
}

// Cube colours come through halftoning unchanged.
bool OnTheCube(COLORREF colour) {
    return GetRValue(colour) % 51 == 0 && GetGValue(colour) % 51 == 0 && GetBValue(colour) % 51 == 0;
}

TEST(DrawHalftone, TrueColourPicturesAreHalftonedForPaletteScreensOnly) {
    TDibCanvas canvas(30, 30, kBackground);
    TImage image(kWidth, kHeight, 24);
    Paint(image);  // colours between the cube levels
    TDeviceScope device;
    device.ScreenBits = 8;
    DrawDIB(canvas.DC(), 2, 2, kWidth, kHeight, image.Dib(), 0, 0, kWidth, kHeight, true, SRCCOPY, true, nullptr);
    EXPECT_EQ(device.StretchCalls, 1);
    const TExpected unchanged = ShowsUnscaled(image.Dib(), 2, 2, 0, 0, kWidth, kHeight);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x)
            ASSERT_EQ(unchanged(x, y) ? OnTheCube(canvas.Pixel(x, y)) : canvas.Pixel(x, y) == kBackground, true)
                << x << "," << y;

    for (auto [screenBits, allow] : {std::pair{8, false}, {16, true}}) {
        canvas.Clear(kBackground);
        device.ScreenBits = screenBits;
        DrawDIB(canvas.DC(), 2, 2, kWidth, kHeight, image.Dib(), 0, 0, kWidth, kHeight, allow, SRCCOPY, true, nullptr);
        EXPECT_EQ(Mismatch(canvas, unchanged), "") << screenBits;
    }
}

TEST(DrawHalftone, TheCopyMapsTheSourceRectangleAtTheDrawnScale) {
    TDibCanvas canvas(30, 30, kBackground);
    TImage image(20, 10, 24);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x) setpixel(image.Dib(), x, y, RGB(51 * (x % 6), 51 * (y % 6), 204));
    TDeviceScope device;
    device.ScreenBits = 8;
    DrawDIB(canvas.DC(), 5, 4, 4, 3, image.Dib(), 2, 1, 4, 3, true, SRCCOPY, true, nullptr);
    EXPECT_EQ(Mismatch(canvas, ShowsUnscaled(image.Dib(), 5, 4, 2, 1, 4, 3)), "") << "same size";

    // Left half red, right half blue; the right half drawn at half size.
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x) setpixel(image.Dib(), x, y, x < 10 ? RGB(255, 0, 0) : RGB(0, 0, 255));
    canvas.Clear(kBackground);
    DrawDIB(canvas.DC(), 3, 3, 5, 5, image.Dib(), 10, 0, 10, 10, true, SRCCOPY, true, nullptr);
    EXPECT_EQ(Mismatch(canvas, [](int x, int y) -> std::optional<COLORREF> {
                  if (x < 3 || y < 3 || x >= 8 || y >= 8) return std::nullopt;
                  return RGB(0, 0, 255);
              }),
              "")
        << "shrunk";
}

TEST(DrawPalette, SelectsTheChosenPaletteWhileDrawingAndRestoresIt) {
    TDibCanvas canvas(20, 20, kBackground);
    TImage source(kWidth, kHeight, 24);
    TDIB halftoned;
    ASSERT_EQ(DIBHalftoneDIB(&halftoned, source.Dib()), 1);
    LOGPALETTE logical{0x300, 1, {{9, 9, 9, 0}}};
    const HPALETTE argument = CreatePalette(&logical);
    const TGdiObject ownedArgument(argument);
    const HGDIOBJ original = GetCurrentObject(canvas.DC(), OBJ_PAL);
    TDeviceScope device;
    device.Printer = true;
    HGDIOBJ during = nullptr;
    device.OnStretch = [&](HDC dc) { during = GetCurrentObject(dc, OBJ_PAL); };
    for (auto [dib, useDIBPalette, expected] : {std::tuple{&halftoned, true, HGDIOBJ(halftoned.Palette)},
                                                {&halftoned, false, HGDIOBJ(argument)},
                                                {&source.Dib(), false, original}}) {  // no palette: left alone
        DrawDIB(canvas.DC(), 0, 0, kWidth, kHeight, *dib, 0, 0, kWidth, kHeight, false, SRCCOPY, useDIBPalette,
                argument);
        EXPECT_EQ(during, expected) << useDIBPalette;
        EXPECT_EQ(GetCurrentObject(canvas.DC(), OBJ_PAL), original);
    }
    deldib(halftoned);
}

TEST(DrawFallback, BitmapFailuresAreReportedWithoutOwnerOrCaption) {
    TDibCanvas canvas(20, 20, kBackground);
    TRecordingInteraction messages;
    TDeviceScope device;
    device.Printer = device.StretchFails = true;
    device.DIBToDevice = false;
    BITMAPINFOHEADER header{sizeof header, 65535, 65535, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    uint8_t row[4] = {};
    TDIB dib;
    std::memset(&dib, 0, sizeof dib);
    dib.Info = &header;
    dib.Bits = row;  // never read: no bitmap that large can be made
    dib.BytesPerLine = 65535 * 3 + 3;
    DrawDIB(canvas.DC(), 0, 0, 5, 5, dib, 0, 0, 5, 5, true, SRCCOPY, true, nullptr);
    header = BITMAPINFOHEADER{sizeof header, 1, 1, 1, 24, BI_RLE8, 0, 0, 0, 0, 0};  // a compression no device takes
    dib.BytesPerLine = 4;
    DrawDIB(canvas.DC(), 0, 0, 5, 5, dib, 0, 0, 1, 1, true, SRCCOPY, true, nullptr);
    ASSERT_EQ(messages.Messages.size(), 2u);
    EXPECT_EQ(messages.Messages[0].Text, "Could not create bitmap.");
    EXPECT_EQ(messages.Messages[1].Text, "The device does not support the Funtkion setdibits!");
    for (const auto& message : messages.Messages) {
        EXPECT_EQ(message.Owner, nullptr);
        EXPECT_EQ(message.Caption, nullptr);
        EXPECT_EQ(message.Flags, 0u);
    }
    EXPECT_EQ(Mismatch(canvas, kNothing), "");
}

TEST(DrawShortTable, OnlyTheEntriesTheImageHasAreRead) {
    // A two-entry colour table ending where readable memory ends: reading
    // 256 entries from it faults.
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    const DWORD page = system.dwPageSize;
    TVirtualMemory memory(VirtualAlloc(nullptr, 2 * page, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    auto* block = static_cast<uint8_t*>(memory.Get());
    DWORD old;
    VirtualProtect(block + page, page, PAGE_NOACCESS, &old);
    auto* info = reinterpret_cast<BITMAPINFO*>(block + page - sizeof(BITMAPINFOHEADER) - 2 * sizeof(RGBQUAD));
    info->bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 4, 2, 1, 8, BI_RGB, 0, 0, 0, 2, 0};
    info->bmiColors[0] = RGBQUAD{0, 0, 255, 0};
    info->bmiColors[1] = RGBQUAD{255, 0, 0, 0};
    uint8_t rows[8] = {0, 1, 0, 1, 1, 1, 0, 0};
    TDIB dib;
    std::memset(&dib, 0, sizeof dib);
    dib.Info = info;
    dib.Bits = rows;
    dib.BytesPerLine = 4;

    for (auto [printer, fails] : {std::pair{false, false}, {true, false}, {true, true}}) {
        TDibCanvas canvas(10, 10, kBackground);
        TDeviceScope device;
        device.Printer = printer;
        device.StretchFails = fails;
        DrawDIB(canvas.DC(), 1, 1, 4, 2, dib, 0, 0, 4, 2, true, SRCCOPY, true, nullptr);
        EXPECT_EQ(Mismatch(canvas, ShowsUnscaled(dib, 1, 1, 0, 0, 4, 2)), "") << printer << fails;
    }
}

TEST(StretchRows, RowsAndColumnsOutsideTheImageDrawZero) {
    TDibCanvas canvas(20, 20, kBackground);
    TImage image(4, 3, 24);
    Paint(image);
    StretchRows24(canvas.DC(), 0, 0, 8, 5, -2, -1, 8, 5, image.Dib());  // columns -2..5, rows -1..3 from the top
    EXPECT_EQ(Mismatch(canvas, [&](int x, int y) -> std::optional<COLORREF> {
                  if (x >= 8 || y >= 5) return std::nullopt;
                  if (x < 2 || x >= 6 || y < 1 || y >= 4) return RGB(0, 0, 0);
                  return SourceColour(image.Dib(), x - 2, 3 - y);
              }),
              "");
}

TEST(Rounding, HalvesGoToEven) {
    EXPECT_EQ(RoundedMulDiv(5, 1, 2), 2);
    EXPECT_EQ(RoundedMulDiv(7, 1, 2), 4);
    EXPECT_EQ(RoundedMulDiv(-5, 1, 2), -2);
    EXPECT_EQ(RoundedMulDiv(10, 2, 3), 7);
    EXPECT_EQ(RoundedMulDiv(-10, 1, 3), -3);
    EXPECT_EQ(RoundedMulDiv(9, 1, -2), -4);
    EXPECT_EQ(RoundedMulDiv(INT_MAX, INT_MAX, 1), INT_MAX);
    EXPECT_EQ(RoundedMulDiv(INT64_MAX, -2, 1), INT_MIN);
}

}  // namespace
