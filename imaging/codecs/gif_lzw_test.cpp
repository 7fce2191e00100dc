#include "imaging/codecs/gif_lzw.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "classlib/core/exceptions.h"
#include "imaging/codecs/gif_samples.h"

namespace {

// Decodes into fresh rows and gives the pixels back as indexes, top row first.
struct TDecoded {
    std::vector<uint8_t> indexes;
    bool corrupted = false;
};

TDecoded Decode(const std::vector<uint8_t>& encoded, int32_t width, int32_t height, int bitCount, int colorBits,
                bool interlaced = false, bool tolerant = true) {
    const size_t stride = TDibPixels::StrideOf(width, bitCount);
    std::vector<uint8_t> bits(stride * size_t(height), 0);
    TDibPixels target{bits.data(), width, height, bitCount, stride};
    TDecoded result;
    result.corrupted = DecodeLZW(encoded.data(), encoded.size(), target, interlaced, colorBits, tolerant);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            const uint8_t* row = target.Row(y);
            uint8_t v = bitCount == 8 ? row[x] : bitCount == 4 ? ((x & 1) ? row[x / 2] & 15 : row[x / 2] >> 4)
                                                               : (row[x / 8] >> (7 - (x & 7))) & 1;
            result.indexes.push_back(v);
        }
    return result;
}

// An encoder of the textbook kind that never clears its table: once 4096
// codes exist it goes on with 12-bit codes (the deferred clear).
std::vector<uint8_t> EncodeWithoutClear(const std::vector<uint8_t>& indexes, int m) {
    std::map<std::pair<int, int>, int> table;
    const int clear = 1 << m, end = clear + 1;
    int next = clear + 2, bits = m + 1;
    std::vector<uint8_t> payload;
    uint64_t acc = 0;
    int count = 0;
    auto emit = [&](int code) {
        acc |= uint64_t(code) << count;
        count += bits;
        while (count >= 8) {
            payload.push_back(uint8_t(acc));
            acc >>= 8;
            count -= 8;
        }
    };
    emit(clear);
    int prefix = indexes[0];
    bool first = true;
    for (size_t i = 1; i < indexes.size(); ++i) {
        auto it = table.find({prefix, indexes[i]});
        if (it != table.end()) {
            prefix = it->second;
            continue;
        }
        emit(prefix);
        // The decoder adds its entry one code later; it widens when its next
        // free code reaches the limit.
        if (!first && next < 4096) {
            ++next;
            if (next == (1 << bits) && bits < 12) ++bits;
        }
        first = false;
        if (next < 4096) table[{prefix, indexes[i]}] = next;
        prefix = indexes[i];
    }
    emit(prefix);
    if (next < 4096) {
        ++next;
        if (next == (1 << bits) && bits < 12) ++bits;
    }
    emit(end);
    if (count) payload.push_back(uint8_t(acc));
    std::vector<uint8_t> out{uint8_t(m)};
    for (size_t at = 0; at < payload.size(); at += 255) {
        const size_t n = std::min<size_t>(255, payload.size() - at);
        out.push_back(uint8_t(n));
        out.insert(out.end(), payload.begin() + long(at), payload.begin() + long(at + n));
    }
    out.push_back(0);
    return out;
}

}  // namespace

TEST(GifInterlace, EveryRowOnceInTheFourPasses) {
    for (int32_t height = 1; height <= 40; ++height) {
        std::multiset<int32_t> seen;
        int pass = 0;
        for (int32_t row = 0; row < height; row = NextInterlaceRow(row, height, pass)) seen.insert(row);
        ASSERT_EQ(seen.size(), size_t(height)) << height;
        for (int32_t row = 0; row < height; ++row) EXPECT_EQ(seen.count(row), 1u) << height << " row " << row;
    }
    std::vector<int32_t> order;
    int pass = 0;
    for (int32_t row = 0; row < 11; row = NextInterlaceRow(row, 11, pass)) order.push_back(row);
    EXPECT_EQ(order, (std::vector<int32_t>{0, 8, 4, 2, 6, 10, 1, 3, 5, 7, 9}));
}

TEST(GifLzwEncoder, WritesTheCodesAsWorkedOutByHand) {
    // 2 x 2 at 1 bit: 0 1 / 1 0. Codes clear(4) 0 1 1 at 3 bits, then 0 and
    // end(5) at 4 bits (entry 8 reached the limit 8).
    const std::vector<uint8_t> encoded = EncodeIndexes({0, 1, 1, 0}, 2, 2, 1, false);
    EXPECT_EQ(encoded, (std::vector<uint8_t>{0x02, 0x03, 0x44, 0x02, 0x05, 0x00}));
    // Minimum code sizes 2, 4, 8 for 1, 4 and 8 bits per pixel.
    EXPECT_EQ(EncodeIndexes({1}, 1, 1, 4, false)[0], 4);
    EXPECT_EQ(EncodeIndexes({1}, 1, 1, 8, false)[0], 8);
}

TEST(GifLzwEncoder, LongDataGoesIntoFullSubBlocks) {
    const std::vector<uint8_t> encoded = EncodeIndexes(SampleIndexes(300, 200, 8, 3), 300, 200, 8, false);
    size_t at = 1, blocks = 0;
    while (encoded.at(at) != 0) {
        const size_t n = encoded[at];
        at += n + 1;
        if (encoded.at(at) != 0) {
            EXPECT_EQ(n, 255u) << "only the last sub-block may be short";
        }
        ++blocks;
    }
    EXPECT_GT(blocks, 2u);
    EXPECT_EQ(at + 1, encoded.size()) << "the terminator ends the data";
}

TEST(GifLzw, RoundTripsEveryDepthInterlacedOrNot) {
    struct Case {
        int32_t width, height;
        int bitCount;
        bool interlaced;
    };
    for (const Case c : {Case{1, 1, 1, false}, Case{13, 7, 1, true}, Case{33, 17, 4, false}, Case{5, 3, 4, true},
                         Case{256, 300, 8, false}, Case{97, 61, 8, true}}) {
        const auto indexes = SampleIndexes(c.width, c.height, c.bitCount, uint32_t(c.width));
        const auto encoded = EncodeIndexes(indexes, c.width, c.height, c.bitCount, c.interlaced);
        const TDecoded decoded = Decode(encoded, c.width, c.height, c.bitCount, c.bitCount, c.interlaced, false);
        EXPECT_FALSE(decoded.corrupted);
        EXPECT_EQ(decoded.indexes, indexes) << c.width << "x" << c.height << " at " << c.bitCount;
    }
}

TEST(GifLzw, NoiseFillsTheTableAndStartsAgain) {
    // Every pixel random: the table fills many times over.
    std::vector<uint8_t> indexes(400 * 300);
    uint32_t state = 7;
    for (auto& v : indexes) v = uint8_t((state = state * 1664525u + 1013904223u) >> 24);
    const auto encoded = EncodeIndexes(indexes, 400, 300, 8, false);
    EXPECT_EQ(Decode(encoded, 400, 300, 8, 8).indexes, indexes);
}

TEST(GifLzwDecoder, TakesDataOfOtherEncoders) {
    // A minimum code size below the colour depth: codes 6 and up are table
    // entries, not pixels (clear 4, 0, 1, 6, 6 at 4 bits, end 5).
    const TDecoded small = Decode({0x02, 0x03, 0x44, 0x6C, 0x05, 0x00}, 6, 1, 8, 8);
    EXPECT_FALSE(small.corrupted);
    EXPECT_EQ(small.indexes, (std::vector<uint8_t>{0, 1, 0, 1, 0, 1}));

    // A full table kept at 12 bits until the end, no clear code (deferred clear).
    std::vector<uint8_t> noise(200 * 200);
    uint32_t state = 11;
    for (auto& v : noise) v = uint8_t((state = state * 1664525u + 1013904223u) >> 26);  // 64 colours
    const auto deferred = EncodeWithoutClear(noise, 6);
    const TDecoded decoded = Decode(deferred, 200, 200, 8, 6);
    EXPECT_FALSE(decoded.corrupted);
    EXPECT_EQ(decoded.indexes, noise);

    // The string not yet in the table (KwKwK): 0 0 0 is 0, then code 6.
    EXPECT_EQ(Decode(EncodeIndexes({0, 0, 0, 0, 0, 0}, 6, 1, 1, false), 6, 1, 1, 1).indexes,
              (std::vector<uint8_t>(6, 0)));
}

TEST(GifLzwDecoder, DamagedDataGivesTheRightPixelsOrTheError) {
    // A clear code directly followed by the end code writes nothing.
    // Bits: clear 4, end 5 at 3 bits = 0x2C.
    TDecoded cleared = Decode({0x02, 0x01, 0x2C, 0x00}, 2, 1, 8, 2);
    EXPECT_EQ(cleared.indexes, (std::vector<uint8_t>{0, 0}));
    EXPECT_FALSE(cleared.corrupted) << "an end code ends the image";

    // Data without a clear code first: the first code is a pixel.
    // Codes 1, 2, end(5) at 3 bits: 001 010 101 -> 0x51 0x01.
    TDecoded noClear = Decode({0x02, 0x02, 0x51, 0x01, 0x00}, 2, 1, 8, 2);
    EXPECT_FALSE(noClear.corrupted);
    EXPECT_EQ(noClear.indexes, (std::vector<uint8_t>{1, 2}));

    // A code above the next free one: clear, 1, 7 (next free is 6).
    // Bits: 100 001 111 -> 0xCC 0x01.
    const std::vector<uint8_t> ahead{0x02, 0x02, 0xCC, 0x01, 0x00};
    TDecoded skipped = Decode(ahead, 4, 1, 8, 2);
    EXPECT_TRUE(skipped.corrupted);
    EXPECT_EQ(skipped.indexes, (std::vector<uint8_t>{1, 0, 0, 0}));
    EXPECT_THROW(Decode(ahead, 4, 1, 8, 2, false, false), EInvalidGraphicOperation);

    // Out of data before the last row: the pixels so far stay, the rest 0.
    const auto pixels = SampleIndexes(40, 40, 8, 1);
    const auto whole = EncodeIndexes(pixels, 40, 40, 8, false);
    size_t damaged = 0;
    for (size_t cut = 0; cut < whole.size(); ++cut) {
        std::vector<uint8_t> part(whole.begin(), whole.begin() + long(cut));
        TDecoded d = Decode(part, 40, 40, 8, 8);
        if (!d.corrupted) {
            EXPECT_EQ(d.indexes, pixels) << "cut at " << cut << " decoded as whole";
            continue;
        }
        ++damaged;
        size_t same = 0;
        while (same < pixels.size() && d.indexes[same] == pixels[same]) ++same;
        for (size_t i = same; i < pixels.size(); ++i) ASSERT_EQ(d.indexes[i], 0) << "cut at " << cut;
        EXPECT_THROW(Decode(part, 40, 40, 8, 8, false, false), EInvalidGraphicOperation) << cut;
    }
    EXPECT_GT(damaged, whole.size() - 8);

    // Code size out of 2..9: clamped and marked, or refused.
    std::vector<uint8_t> big = EncodeIndexes({1, 2, 3}, 3, 1, 8, false);
    big[0] = 12;
    EXPECT_TRUE(Decode(big, 3, 1, 8, 8).corrupted);
    EXPECT_THROW(Decode(big, 3, 1, 8, 8, false, false), EInvalidGraphicOperation);
}

TEST(GifLzwDecoder, DataWithoutEndCodeEndsWithTheLastRow) {
    // Codes clear, 1, 0, 1 at 3 bits and 1 at 4 bits, then zero bits.
    const std::vector<uint8_t> encoded{0x02, 0x03, 0x0C, 0x12, 0x00, 0x00};
    EXPECT_EQ(Decode(encoded, 4, 1, 1, 1, false, false).indexes, (std::vector<uint8_t>{1, 0, 1, 1}));
}

TEST(GifLzwDecoder, ProgressRunsFromStartToEnd) {
    const auto encoded = EncodeIndexes(SampleIndexes(200, 200, 8, 2), 200, 200, 8, false);
    std::vector<uint8_t> bits(200 * 200);
    std::vector<std::pair<TGifProgressStage, int>> stages;
    DecodeLZW(encoded.data(), encoded.size(), TDibPixels{bits.data(), 200, 200, 8, 200}, false, 8, true,
              [&](TGifProgressStage stage, uint8_t percent, const std::string&) { stages.push_back({stage, percent}); });
    ASSERT_GE(stages.size(), 2u);
    EXPECT_EQ(stages.front(), std::make_pair(TGifProgressStage::Starting, 0));
    EXPECT_EQ(stages.back(), std::make_pair(TGifProgressStage::Ending, 100));
}
