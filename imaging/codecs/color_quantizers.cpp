#include "imaging/codecs/color_quantizers.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

TReductionMethod DefaultReductionMethod = rmHistogram;

const uint8_t kLevels4[4] = {0, 85, 170, 255};
const uint8_t kLevels6[6] = {0, 51, 102, 153, 204, 255};
const uint8_t kLevels7[7] = {0, 43, 85, 128, 170, 213, 255};
const uint8_t kLevels8[8] = {0, 36, 73, 109, 146, 182, 219, 255};

int NearestLevelIndex(const uint8_t* levels, int count, int value) {
    int best = 0;
    for (int i = 1; i < count; ++i)
        if (std::abs(levels[i] - value) < std::abs(levels[best] - value)) best = i;
    return best;
}

namespace {

using TTable = std::array<uint8_t, 256>;

TTable BuildTable(const uint8_t* levels, int count) {
    TTable table{};
    for (int v = 0; v < 256; ++v) table[static_cast<size_t>(v)] = static_cast<uint8_t>(NearestLevelIndex(levels, count, v));
    return table;
}

// Calls visit(in, out) for every pixel in stored row order, in is the blue,
// green, red triple and out the 8-bit index place.
template <class F>
void ForEachPixel(const TPixels24& p, F visit) {
    const size_t inStride = AlignedRowBytes(size_t(p.width) * 24), outStride = AlignedRowBytes(size_t(p.width) * 8);
    for (int32_t y = 0; y < p.height; ++y) {
        const uint8_t* in = p.bits + inStride * size_t(y);
        uint8_t* out = p.bits + outStride * size_t(y);
        for (int32_t x = 0; x < p.width; ++x) visit(in + 3 * size_t(x), out + x, x, y);
        std::memset(out + p.width, 0, outStride - size_t(p.width));
    }
}

void FillPalette(uint8_t palette[1024], uint8_t value) {
    std::memset(palette, value, 1024);
}

void SetEntry(uint8_t palette[1024], int index, uint8_t r, uint8_t g, uint8_t b) {
    uint8_t* e = palette + 4 * index;
    e[0] = b;
    e[1] = g;
    e[2] = r;
    e[3] = 0;
}

// --- histogram ---------------------------------------------------------------

constexpr int kMaxHistogramEntries = 2049;
constexpr int kHistogramSlots = 5191;
constexpr uint16_t kNoEntry = 0xFFFF;

struct THistogramEntry {
    uint8_t b, g, r;
    uint32_t count;
    uint8_t index;
};

class THistogram {
public:
    uint8_t red = 0xFF, green = 0xFF, blue = 0xFF;

    void Reset() {
        count_ = 0;
        std::fill(std::begin(slots_), std::end(slots_), kNoEntry);
    }
    // The slot of the masked colour (empty or holding it).
    int Find(uint8_t r, uint8_t g, uint8_t b) const {
        int slot = static_cast<int>((uint32_t(r + g) * uint32_t(b + g) * uint32_t(r + b)) % kHistogramSlots);
        while (slots_[slot] != kNoEntry) {
            const THistogramEntry& e = entries_[slots_[slot]];
            if (e.r == r && e.g == g && e.b == b) break;
            if (++slot == kHistogramSlots) slot = 0;
        }
        return slot;
    }
    // False when a new colour does not fit.
    bool Add(const uint8_t* bgr) {
        const uint8_t r = bgr[2] & red, g = bgr[1] & green, b = bgr[0] & blue;
        const int slot = Find(r, g, b);
        if (slots_[slot] != kNoEntry) {
            ++entries_[slots_[slot]].count;
            return true;
        }
        if (count_ >= kMaxHistogramEntries) return false;
        entries_[count_] = {b, g, r, 1, 0};
        slots_[slot] = static_cast<uint16_t>(count_++);
        return true;
    }
    uint8_t IndexOf(const uint8_t* bgr) const {
        const int slot = Find(bgr[2] & red, bgr[1] & green, bgr[0] & blue);
        return slots_[slot] == kNoEntry ? 0 : entries_[slots_[slot]].index;
    }
    int Count() const { return count_; }
    THistogramEntry& Entry(int i) { return entries_[i]; }

private:
    THistogramEntry entries_[kMaxHistogramEntries];
    uint16_t slots_[kHistogramSlots];
    int count_ = 0;
};

bool Fill(THistogram& h, const TPixels24& p) {
    h.Reset();
    const size_t stride = AlignedRowBytes(size_t(p.width) * 24);
    for (int32_t y = 0; y < p.height; ++y) {
        const uint8_t* in = p.bits + stride * size_t(y);
        for (int32_t x = 0; x < p.width; ++x)
            if (!h.Add(in + 3 * size_t(x))) return false;
    }
    return true;
}

// --- median cut --------------------------------------------------------------

constexpr int kCells = 4096;
constexpr uint16_t kNoCell = 0xFFFF;

struct TCell {
    uint8_t value[3];  // red, green, blue at 4 bits
    uint8_t box;
    uint32_t count;
    uint16_t next;
};

struct TBox {
    uint8_t min[3] = {0, 0, 0};
    uint8_t extent[3] = {255, 255, 255};
    int32_t cells = 0;
    uint32_t pixels = 0;
    uint16_t first = kNoCell;
};

void SortCellsByAxis(uint16_t* refs, int count, const TCell* cells, int axis) {
    auto value = [&](uint16_t ref) { return cells[ref].value[axis]; };
    for (;;) {
        if (count < 8) {
            for (int i = 1; i < count; ++i) {
                const uint16_t item = refs[i];
                int j = i;
                while (j > 0 && value(refs[j - 1]) >= value(item)) {
                    refs[j] = refs[j - 1];
                    --j;
                }
                refs[j] = item;
            }
            return;
        }
        const uint8_t pivot = value(refs[count / 2]);
        int i = -1, j = count;
        for (;;) {
            do ++i;
            while (value(refs[i]) < pivot);
            do --j;
            while (value(refs[j]) > pivot);
            if (j <= i) break;
            std::swap(refs[i], refs[j]);
        }
        if (i <= 0 || i >= count) {  // no split: finish by insertion
            SortCellsByAxis(refs, std::min(count, 7), cells, axis);
            for (int k = 7; k < count; ++k) {
                const uint16_t item = refs[k];
                int m = k;
                while (m > 0 && value(refs[m - 1]) >= value(item)) {
                    refs[m] = refs[m - 1];
                    --m;
                }
                refs[m] = item;
            }
            return;
        }
        // The smaller side first, the larger one in this loop.
        if (i <= count - i) {
            SortCellsByAxis(refs, i, cells, axis);
            refs += i;
            count -= i;
        } else {
            SortCellsByAxis(refs + i, count - i, cells, axis);
            count = i;
        }
    }
}

}  // namespace

const uint8_t* TruncationTable(int levels) {
    static const TTable t4 = BuildTable(kLevels4, 4), t6 = BuildTable(kLevels6, 6), t7 = BuildTable(kLevels7, 7),
                        t8 = BuildTable(kLevels8, 8);
    switch (levels) {
        case 4: return t4.data();
        case 6: return t6.data();
        case 7: return t7.data();
        default: return t8.data();
    }
}

void ReduceByHistogram(const TPixels24& pixels, uint8_t palette[1024], int wanted) {
    wanted = std::clamp(wanted, 0, 256);
    auto h = std::make_unique<THistogram>();
    while (!Fill(*h, pixels)) {
        if (h->red < h->green) h->green = static_cast<uint8_t>(h->green << 1);
        else if (h->red > h->blue) h->red = static_cast<uint8_t>(h->red << 1);
        else h->blue = static_cast<uint8_t>(h->blue << 1);
    }
    int chosen = 0;
    for (; chosen < wanted && chosen < h->Count(); ++chosen) {
        int best = 0;
        for (int e = 1; e < h->Count(); ++e)
            if (h->Entry(e).count > h->Entry(best).count) best = e;
        THistogramEntry& entry = h->Entry(best);
        SetEntry(palette, chosen, entry.r, entry.g, entry.b);
        entry.index = static_cast<uint8_t>(chosen);
        entry.count = 0;
    }
    for (int i = chosen; i < 256; ++i) SetEntry(palette, i, 128, 128, 128);
    for (int e = 0; e < h->Count(); ++e) {
        THistogramEntry& entry = h->Entry(e);
        if (entry.count == 0) continue;
        int bound = 0x30000, best = 0;
        for (int i = 0; i < wanted; ++i) {
            const uint8_t* p = palette + 4 * i;
            const int db = p[0] - entry.b, dg = p[1] - entry.g, dr = p[2] - entry.r;
            const int d = dr * dr + dg * dg + db * db;
            if (d < bound) {
                bound = d;
                best = i;
            }
        }
        entry.index = static_cast<uint8_t>(best);
    }
    ForEachPixel(pixels, [&](const uint8_t* in, uint8_t* out, int32_t, int32_t) { *out = h->IndexOf(in); });
}

int ReduceByMedianCut(const TPixels24& p, uint8_t palette[1024], int wanted) {
    wanted = std::clamp(wanted, 1, 256);
    std::vector<TCell> cells(kCells);
    for (int c = 0; c < kCells; ++c) {
        cells[size_t(c)] = {{uint8_t(c >> 8), uint8_t((c >> 4) & 15), uint8_t(c & 15)}, 0, 0, kNoCell};
    }
    const size_t inStride = AlignedRowBytes(size_t(p.width) * 24);
    std::vector<uint16_t> pixelCells;
    pixelCells.reserve(size_t(p.width) * size_t(p.height));
    for (int32_t y = p.height - 1; y >= 0; --y) {
        const uint8_t* in = p.bits + inStride * size_t(y);
        for (int32_t x = 0; x < p.width; ++x) {
            const uint8_t* bgr = in + 3 * size_t(x);
            const uint16_t cell = static_cast<uint16_t>((bgr[2] / 16) * 256 + (bgr[1] & 0xF0) + bgr[0] / 16);
            ++cells[cell].count;
            pixelCells.push_back(cell);
        }
    }
    std::vector<TBox> boxes(256);
    uint16_t* link = &boxes[0].first;
    for (int c = 0; c < kCells; ++c) {
        if (!cells[size_t(c)].count) continue;
        *link = static_cast<uint16_t>(c);
        link = &cells[size_t(c)].next;
        ++boxes[0].cells;
    }
    boxes[0].pixels = static_cast<uint32_t>(size_t(p.width) * size_t(p.height));
    int boxCount = 1;
    std::vector<uint16_t> refs(kCells);
    while (boxCount < wanted) {
        int chosen = -1, axis = 0, largest = -1;
        for (int b = 0; b < boxCount; ++b) {
            if (boxes[size_t(b)].cells <= 1) continue;
            for (int a = 0; a < 3; ++a)
                if (boxes[size_t(b)].extent[a] > largest) {
                    largest = boxes[size_t(b)].extent[a];
                    chosen = b;
                    axis = a;
                }
        }
        if (chosen < 0) break;
        TBox& box = boxes[size_t(chosen)];
        int n = 0;
        for (uint16_t c = box.first; c != kNoCell; c = cells[c].next) refs[size_t(n++)] = c;
        SortCellsByAxis(refs.data(), n, cells.data(), axis);
        for (int i = 0; i < n; ++i) cells[refs[size_t(i)]].next = i + 1 < n ? refs[size_t(i) + 1] : kNoCell;
        box.first = refs[0];

        const uint32_t half = box.pixels / 2;
        uint32_t firstPixels = cells[refs[0]].count;
        int firstCells = 1;
        while (firstCells < n - 1 && firstPixels + cells[refs[size_t(firstCells)]].count <= half)
            firstPixels += cells[refs[size_t(firstCells++)]].count;
        TBox& added = boxes[size_t(boxCount)];
        added = box;
        added.first = refs[size_t(firstCells)];
        added.cells = n - firstCells;
        added.pixels = box.pixels - firstPixels;
        cells[refs[size_t(firstCells) - 1]].next = kNoCell;
        box.cells = firstCells;
        box.pixels = firstPixels;
        const uint8_t lo = static_cast<uint8_t>(16 * cells[refs[size_t(firstCells) - 1]].value[axis]);
        const uint8_t hi = static_cast<uint8_t>(16 * cells[added.first].value[axis]);
        added.extent[axis] = static_cast<uint8_t>(added.min[axis] + added.extent[axis] - hi);
        added.min[axis] = hi;
        box.extent[axis] = static_cast<uint8_t>(lo - box.min[axis]);
        ++boxCount;
    }

    for (int i = boxCount; i < wanted; ++i) std::memset(palette + 4 * i, 0, 4);
    for (int b = 0; b < boxCount; ++b) {
        const TBox& box = boxes[size_t(b)];
        if (!box.cells) continue;
        uint32_t sum[3] = {0, 0, 0};
        for (uint16_t c = box.first; c != kNoCell; c = cells[c].next) {
            cells[c].box = static_cast<uint8_t>(b);
            for (int a = 0; a < 3; ++a) sum[a] += cells[c].value[a];
        }
        uint8_t mean[3];
        for (int a = 0; a < 3; ++a) mean[a] = static_cast<uint8_t>((sum[a] * 16 + 15) / uint32_t(box.cells));
        if (mean[0] <= 16 && mean[1] <= 16 && mean[2] <= 16) std::memset(palette + 4 * b, 0, 4);
        else SetEntry(palette, b, mean[0], mean[1], mean[2]);
    }
    const size_t outStride = AlignedRowBytes(size_t(p.width) * 8);
    std::memset(p.bits, 0, outStride * size_t(p.height));
    for (int32_t y = 0; y < p.height; ++y) {
        uint8_t* out = p.bits + outStride * size_t(y);
        const uint16_t* row = pixelCells.data() + size_t(p.height - 1 - y) * size_t(p.width);
        for (int32_t x = 0; x < p.width; ++x) out[x] = cells[row[x]].box;
    }
    return boxCount;
}

void ReduceByTruncation784(const TPixels24& pixels, uint8_t palette[1024]) {
    const uint8_t *t7 = TruncationTable(7), *t8 = TruncationTable(8), *t4 = TruncationTable(4);
    FillPalette(palette, 128);
    for (int r = 0; r < 7; ++r)
        for (int g = 0; g < 8; ++g)
            for (int b = 0; b < 4; ++b) SetEntry(palette, r * 32 + g * 4 + b, kLevels7[r], kLevels8[g], kLevels4[b]);
    ForEachPixel(pixels, [&](const uint8_t* in, uint8_t* out, int32_t, int32_t) {
        *out = static_cast<uint8_t>(t7[in[2]] * 32 + t8[in[1]] * 4 + t4[in[0]]);
    });
}

void ReduceByTruncation666(const TPixels24& pixels, uint8_t palette[1024]) {
    const uint8_t* t6 = TruncationTable(6);
    FillPalette(palette, 128);
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b) SetEntry(palette, r * 36 + g * 6 + b, kLevels6[r], kLevels6[g], kLevels6[b]);
    ForEachPixel(pixels, [&](const uint8_t* in, uint8_t* out, int32_t, int32_t) {
        *out = static_cast<uint8_t>(t6[in[2]] * 36 + t6[in[1]] * 6 + t6[in[0]]);
    });
}

void ReduceByChannelCycle(const TPixels24& pixels, uint8_t palette[1024]) {
    FillPalette(palette, 0);
    for (int i = 0; i < 64; ++i) {
        SetEntry(palette, i, uint8_t(4 * i), 0, 0);
        SetEntry(palette, 64 + i, 0, uint8_t(4 * i), 0);
        SetEntry(palette, 128 + i, 0, 0, uint8_t(4 * i));
    }
    ForEachPixel(pixels, [&](const uint8_t* in, uint8_t* out, int32_t x, int32_t y) {
        switch ((y + x) % 3) {
            case 0: *out = in[2] / 4; break;
            case 1: *out = static_cast<uint8_t>(in[1] / 4 + 64); break;
            default: *out = static_cast<uint8_t>(in[0] / 4 + 128); break;
        }
    });
}

void ReduceToGrayscale(const TPixels24& pixels, uint8_t palette[1024]) {
    for (int i = 0; i < 256; ++i) SetEntry(palette, i, uint8_t(i), uint8_t(i), uint8_t(i));
    ForEachPixel(pixels, [&](const uint8_t* in, uint8_t* out, int32_t, int32_t) {
        *out = static_cast<uint8_t>((in[2] * 77 + in[1] * 150 + in[0] * 29) / 256);
    });
}
