#include "classlib/testing/caption_ink.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <sstream>
#include <vector>

#include "classlib/core/color.h"
#include "classlib/gui/control.h"
#include "classlib/gui/graphics_objects.h"
#include "classlib/gui/scoped_win32.h"

namespace {

// The text's ink as drawn black on white: darkness 0 (none) to 255 per
// pixel of its box, with room to the right for ink past the measured box.
struct TInkMask {
    int Width = 0, Height = 0, MeasuredWidth = 0;
    std::vector<int> Darkness;
    int At(int x, int y) const { return Darkness[static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x)]; }
};

// Ink strong enough to count as the glyph's own, also when antialiased.
constexpr int Strong = 128;

TInkMask DrawMask(HFONT font, const std::string& text, UINT format, int wrapWidth = 4000) {
    TInkMask mask;
    TWindowDC screen(nullptr);
    TMemoryDC dc(screen.Get());
    TSelectedObject selectedFont(dc.Get(), font);
    RECT measured{0, 0, wrapWidth, 0};
    DrawTextA(dc.Get(), text.c_str(), static_cast<int>(text.size()), &measured, format | DT_CALCRECT);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc.Get(), &metrics);
    mask.MeasuredWidth = measured.right;
    mask.Width = measured.right + metrics.tmMaxCharWidth + metrics.tmHeight;
    mask.Height = measured.bottom;
    if (mask.Width <= 0 || mask.Height <= 0) return mask;
    uint32_t* pixels = nullptr;
    TGdiObject bitmap = MakeDibSection32(dc.Get(), mask.Width, mask.Height, pixels);
    if (!pixels) return TInkMask{};
    TSelectedObject selected(dc.Get(), bitmap.Get());
    PatBlt(dc.Get(), 0, 0, mask.Width, mask.Height, WHITENESS);
    SetTextColor(dc.Get(), RGB(0, 0, 0));
    SetBkMode(dc.Get(), TRANSPARENT);
    RECT box{0, 0, measured.right, measured.bottom};
    DrawTextA(dc.Get(), text.c_str(), static_cast<int>(text.size()), &box, format | DT_NOCLIP);
    GdiFlush();
    mask.Darkness.resize(static_cast<size_t>(mask.Width) * static_cast<size_t>(mask.Height));
    for (size_t i = 0; i < mask.Darkness.size(); ++i) {
        const uint32_t p = pixels[i];
        mask.Darkness[i] = 255 - std::min({int(p & 0xFF), int((p >> 8) & 0xFF), int((p >> 16) & 0xFF)});
    }
    return mask;
}

int Distance(COLORREF a, COLORREF b) {
    return std::abs(int(GetRValue(a)) - int(GetRValue(b))) + std::abs(int(GetGValue(a)) - int(GetGValue(b))) +
           std::abs(int(GetBValue(a)) - int(GetBValue(b)));
}

// The colour most of the area shows.
COLORREF Background(const TWindowPixels& picture, const TRect& area) {
    std::map<COLORREF, int> counts;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) ++counts[picture.At(x, y)];
    COLORREF best = CLR_INVALID;
    int most = 0;
    for (const auto& [color, count] : counts)
        if (color != CLR_INVALID && count > most) best = color, most = count;
    return best;
}

}  // namespace

int TextInkWidth(HFONT font, const std::string& text, UINT format, int wrapWidth) {
    const TInkMask mask = DrawMask(font, text, format, wrapWidth);
    for (int x = mask.Width - 1; x >= 0; --x)
        for (int y = 0; y < mask.Height; ++y)
            if (mask.At(x, y) > 0) return x + 1;
    return 0;
}

int TextInkStart(HFONT font, const std::string& text, UINT format) {
    const TInkMask mask = DrawMask(font, text, format);
    for (int x = 0; x < mask.Width; ++x)
        for (int y = 0; y < mask.Height; ++y)
            if (mask.At(x, y) > 0) return x;
    return 0;
}

TTextInPicture FindText(const TWindowPixels& picture, const TRect& area, HFONT font, COLORREF color,
                        const std::string& text, UINT format) {
    TTextInPicture found;
    const TInkMask mask = DrawMask(font, text, format);
    if (mask.Width <= 0 || mask.Height <= 0) return found;
    int last = -1, strongPixels = 0;
    for (int y = 0; y < mask.Height; ++y)
        for (int x = 0; x < mask.Width; ++x)
            if (mask.At(x, y) >= Strong) {
                last = std::max(last, x);
                ++strongPixels;
            }
    if (last < 0) return found;
    const COLORREF background = Background(picture, area);
    // Text ink in the picture: nearer the text's colour than the background
    // (a shadow or a picture next to the text is not taken for it).
    std::vector<char> inked(static_cast<size_t>(picture.Width()) * static_cast<size_t>(picture.Height()), 0);
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x) {
            const COLORREF p = picture.At(x, y);
            inked[static_cast<size_t>(y) * static_cast<size_t>(picture.Width()) + static_cast<size_t>(x)] =
                Distance(p, color) < Distance(p, background);
        }
    auto inkAt = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= picture.Width() || y >= picture.Height()) return false;
        return inked[static_cast<size_t>(y) * static_cast<size_t>(picture.Width()) + static_cast<size_t>(x)] != 0;
    };
    // The place where the text's ink and the picture agree best.
    int bestScore = -1, bestMatched = 0;
    for (int oy = area.top - 2; oy <= area.bottom - mask.Height + 2; ++oy)
        for (int ox = area.left - 2; ox < area.right; ++ox) {
            int score = 0, matched = 0;
            for (int y = 0; y < mask.Height; ++y)
                for (int x = 0; x <= last; ++x) {
                    const int d = mask.At(x, y);
                    if (d >= Strong) {
                        if (inkAt(ox + x, oy + y)) ++score, ++matched;
                        else --score;
                    } else if (d == 0 && inkAt(ox + x, oy + y)) {
                        --score;
                    }
                }
            if (score > bestScore) {
                bestScore = score;
                bestMatched = matched;
                found.Origin = Point(ox, oy);
            }
        }
    found.Found = bestMatched * 10 >= strongPixels * 6;
    found.LastInkColumn = found.Origin.x + last;
    for (int y = 0; y < mask.Height; ++y)
        if (mask.At(last, y) >= Strong) {
            ++found.LastColumnInk;
            found.LastColumnShown += inkAt(found.LastInkColumn, found.Origin.y + y);
        }
    return found;
}

testing::AssertionResult ShowsWholeText(const TWindowPixels& picture, const TRect& area, HFONT font,
                                        COLORREF color, const std::string& text, UINT format) {
    const TTextInPicture found = FindText(picture, area, font, color, text, format);
    std::ostringstream where;
    where << "\"" << text << "\" in (" << area.left << ", " << area.top << ", " << area.right << ", "
          << area.bottom << "): ";
    if (!found.Found) return testing::AssertionFailure() << where.str() << "its ink does not show";
    where << "found at (" << found.Origin.x << ", " << found.Origin.y << "), last ink column "
          << found.LastInkColumn;
    if (found.LastInkColumn >= area.right)
        return testing::AssertionFailure() << where.str() << ", outside the control";
    if (found.LastColumnShown * 2 < found.LastColumnInk)
        return testing::AssertionFailure() << where.str() << " shows " << found.LastColumnShown << " of "
                                           << found.LastColumnInk << " ink pixels: the text is cut";
    return testing::AssertionSuccess();
}

TRect AreaInPicture(HWND window, TControl* control, bool wholeWindow) {
    POINT origin{0, 0};
    if (wholeWindow) {
        RECT r;
        GetWindowRect(window, &r);
        origin = POINT{r.left, r.top};
    } else {
        ClientToScreen(window, &origin);
    }
    const TPoint at = control->ClientToScreen(Point(0, 0));
    return Bounds(at.x - origin.x, at.y - origin.y, control->ClientWidth(), control->ClientHeight());
}

testing::AssertionResult ShowsWholeCaption(const TWindowPixels& picture, HWND window, TControl* control,
                                           const std::string& caption, bool wholeWindow) {
    // Disabled captions are embossed: their ink is the shadow colour.
    const TColor color = control->Enabled() ? control->Font()->Color() : clBtnShadow;
    return ShowsWholeText(picture, AreaInPicture(window, control, wholeWindow), FontHandle(*control->Font()),
                          static_cast<COLORREF>(ColorToRGB(color)) & 0xFFFFFF, caption);
}
