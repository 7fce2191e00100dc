#include "imaging/codecs/ani_chunks.h"

#include <gtest/gtest.h>

#include <random>

#include "classlib/core/exceptions.h"
#include "imaging/codecs/ani_test_files.h"

using namespace ani_test;

namespace {

void ExpectReadError(const std::string& file) {
    try {
        Read(file);
        ADD_FAILURE() << "no error";
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), "Stream-Read-Fehler");
    }
}

std::vector<int32_t> Rates(const TAniContent& c) {
    std::vector<int32_t> rates;
    for (const TAniFrame& f : c.Frames) rates.push_back(f.Rate);
    return rates;
}

std::vector<int32_t> FrameIcons(const TAniContent& c) {
    std::vector<int32_t> icons;
    for (const TAniFrame& f : c.Frames) icons.push_back(f.Icon);
    return icons;
}

}  // namespace

TEST(AniChunks, ThreeIconsForThreeFramesAtTheDefaultRate) {
    TAniContent c = Read(Animation({0xFF0000, 0x00FF00, 0x0000FF}, 7));
    ASSERT_EQ(c.Frames.size(), 3u);
    EXPECT_EQ(c.Header.FrameCount, 3u);
    EXPECT_EQ(c.Header.StepCount, 3u);
    EXPECT_EQ(c.Header.DefaultRate, 7u);
    EXPECT_EQ(Rates(c), (std::vector<int32_t>{7, 7, 7}));
    EXPECT_EQ(FrameIcons(c), (std::vector<int32_t>{0, 1, 2}));
    ASSERT_EQ(c.Icons.size(), 3u);
    for (const TAniIcon& icon : c.Icons) {
        EXPECT_TRUE(icon.FromIconResource);
        EXPECT_EQ(icon.HotSpotX, 16);  // an icon's hot spot is its centre
        EXPECT_EQ(icon.HotSpotY, 16);
        const std::string header(reinterpret_cast<const char*>(icon.ChunkHeader.data()), 8);
        EXPECT_EQ(header, Chunk("icon", IconFile(32, 32, 24, 0)).substr(0, 8));
    }
    EXPECT_EQ(c.MaxIconColors, 0);  // 24-bit images count no colours
}

TEST(AniChunks, ACursorIsDecodedAsAnIconAndKeepsItsDirectoryHotSpot) {
    std::vector<std::string> decoded;
    auto decoder = [&](const uint8_t* file, size_t size) {
        decoded.emplace_back(reinterpret_cast<const char*>(file), size);
        return ProbeIcon(file, size);
    };
    const std::string cursor = IconFile(32, 32, 4, 0xFFFFFF, 2, 3, 29);
    TAniContent c = Read(Riff(Anih(1, 1, 5) + List("fram", Chunk("icon", cursor))), decoder);
    ASSERT_EQ(decoded.size(), 1u);
    std::string asIcon = cursor;
    asIcon[2] = 1;
    EXPECT_EQ(decoded[0], asIcon);
    ASSERT_EQ(c.Icons.size(), 1u);
    EXPECT_FALSE(c.Icons[0].FromIconResource);
    EXPECT_EQ(c.Icons[0].HotSpotX, 3);
    EXPECT_EQ(c.Icons[0].HotSpotY, 29);
    EXPECT_EQ(c.MaxIconColors, 16);
}

TEST(AniChunks, TitleAndCreatorKeepTheirFirst255CharactersUpToAZero) {
    const std::string title(300, 'T');
    TAniContent c = Read(Riff(Anih(1, 1, 5) + List("INFO", Chunk("INAM", title) + Chunk("IART", std::string("Me\0xy", 5))) +
                              FrameList({0})));
    EXPECT_EQ(c.Title, std::string(255, 'T'));
    EXPECT_EQ(c.Creator, "Me");

    // A text longer than what is left of its list ends the list.
    std::string info = List("INFO", Chunk("IART", "ok") + Chunk("INAM", "xyz"));
    info[4] = 4 + 10 + 10;  // two bytes of "INAM" inside the list
    c = Read(Riff(Anih(1, 1, 5) + FrameList({0}) + info));
    EXPECT_EQ(c.Creator, "ok");
    EXPECT_EQ(c.Title, "");
}

TEST(AniChunks, EachRateOrSequenceChunkGivesOneValueToTheNextFrame) {
    TAniContent c = Read(Riff(Anih(4, 4, 9) + Value("rate", 3) + Value("rate", 12) + FrameList({1, 2, 3, 4})));
    EXPECT_EQ(Rates(c), (std::vector<int32_t>{3, 12, 9, 9}));

    // Frames 0 and 1 show icon 1, frame 2 icon 0; frame 3 would show icon
    // 3, which does not exist, and is dropped.
    c = Read(Riff(Anih(4, 4, 9) + Value("seq ", 1) + Value("seq ", 1) + Value("seq ", 0) + FrameList({1, 2})));
    EXPECT_EQ(FrameIcons(c), (std::vector<int32_t>{1, 1, 0}));
    EXPECT_EQ(c.Header.StepCount, 3u);

    // More values than frames are counted and dropped.
    c = Read(Riff(Anih(1, 1, 9) + Value("rate", 3) + Value("rate", 4) + FrameList({1})));
    EXPECT_EQ(Rates(c), (std::vector<int32_t>{3}));
}

TEST(AniChunks, IconsBeyondTheFrameCountBecomeExtraFrames) {
    TAniContent c = Read(Riff(Anih(1, 1, 6) + FrameList({1, 2, 3})));
    ASSERT_EQ(c.Frames.size(), 3u);
    EXPECT_EQ(c.Frames[0].IconNumber, 0);
    EXPECT_EQ(c.Frames[1].IconNumber, -1);
    EXPECT_EQ(c.Frames[2].IconNumber, -1);
    EXPECT_EQ(Rates(c), (std::vector<int32_t>{6, 6, 6}));
    EXPECT_EQ(FrameIcons(c), (std::vector<int32_t>{0, 1, 2}));
}

TEST(AniChunks, AnIconThatDoesNotDecodeEndsItsList) {
    const std::string icons = Chunk("icon", IconFile(32, 32, 8, 1)) + Chunk("icon", "not an icon") +
                              Chunk("icon", IconFile(32, 32, 8, 2));
    TAniContent c = Read(Riff(Anih(3, 3, 6) + List("fram", icons)));
    EXPECT_EQ(c.Icons.size(), 1u);
    EXPECT_EQ(FrameIcons(c), (std::vector<int32_t>{0}));
    EXPECT_EQ(c.MaxIconColors, 256);
}

TEST(AniChunks, WhatIsNoAnimatedCursorRaisesTheReadError) {
    const std::string good = Animation({1});
    ExpectReadError("");
    ExpectReadError("RIFX" + good.substr(4));
    ExpectReadError(good.substr(0, 8) + "acon" + good.substr(12));
    ExpectReadError(Riff(Anih(1, 1, 6, 0) + FrameList({1})));  // not made of icons
    ExpectReadError(Riff(Anih(1, 0, 6) + FrameList({1})));     // no steps
    ExpectReadError(Riff(Anih(1, 1, 6)));                      // no icon
    ExpectReadError(Riff(Anih(1, 1, 6) + List("fram", Chunk("icon", std::string(5, 'x')))));
    EXPECT_TRUE(HasAniSignature(reinterpret_cast<const uint8_t*>(good.data()), good.size()));
}

TEST(AniChunks, AFrameCountOfFourBillionMakesOnlyTheFramesThatCanBeShown) {
    TAniContent c = Read(Riff(Anih(0xFFFFFFFFu, 1, 6) + FrameList({1, 2})));
    EXPECT_EQ(FrameIcons(c), (std::vector<int32_t>{0, 1}));
    EXPECT_EQ(c.Header.FrameCount, 0xFFFFFFFFu);
    EXPECT_EQ(c.Header.StepCount, 2u);
    // Sequence values counted before the header reach frames further down.
    c = Read(Riff(Value("seq ", 7) + Value("seq ", 7) + Value("seq ", 7) + Anih(0xFFFFFFFFu, 1, 6) +
                  Value("seq ", 0) + FrameList({1, 2})));
    EXPECT_EQ(FrameIcons(c), (std::vector<int32_t>{0, 1, 0}));
}

TEST(AniChunks, ChunkSizesBeyondTheDataEndTheReadingQuietly) {
    const std::string good = Riff(Anih(2, 2, 6) + FrameList({1}));
    // An "icon" that claims more than is left gives no icon.
    std::string file = good + List("fram", Chunk("icon", IconFile(32, 32, 8, 2)));
    file[file.rfind("icon") + 7] = 0x7F;
    EXPECT_EQ(Read(file).Frames.size(), 1u);
    // Sizes of 4 GB on every other kind of chunk.
    for (const char* id : {"anih", "rate", "seq ", "LIST", "junk"}) {
        std::string chunk(id, 4);
        Put32(chunk, 0xFFFFFFFFu);
        EXPECT_EQ(Read(good + chunk + "fram").Frames.size(), 1u) << id;
    }
}

TEST(AniChunks, EveryCutOfAFileIsAShorterAnimationOrTheReadError) {
    const std::string file = Riff(Anih(3, 3, 6) + Value("rate", 2) + Value("seq ", 1) +
                                  List("INFO", Chunk("INAM", "Title") + Chunk("IART", "Who")) +
                                  FrameList({1, 2, 3}, 4));
    size_t complete = 0;
    for (size_t cut = 0; cut <= file.size(); ++cut) {
        // Each cut is a copy of its own, so that a read beyond it is seen.
        const std::vector<uint8_t> bytes(file.begin(), file.begin() + cut);
        try {
            TAniContent c = ReadAniChunks(bytes.data(), bytes.size(), ProbeIcon);
            EXPECT_GE(c.Frames.size(), 1u);
            // Frame 0 shows icon 1, so icon 0 gets a frame of its own.
            EXPECT_LE(c.Frames.size(), 4u);
            if (c.Frames.size() == 4) ++complete;
        } catch (const EReadError&) {
        }
    }
    EXPECT_GE(complete, 1u);
}

TEST(AniChunks, HundredsOfHeadersOfFourBillionFramesEach) {
    // Every header gives its first frame the one icon.
    const TAniContent c = Read(ManyHeaders());
    ASSERT_EQ(c.Frames.size(), 500u);
    for (const TAniFrame& f : c.Frames) {
        EXPECT_EQ(f.Icon, 0);
        EXPECT_EQ(f.IconNumber, 0);
        EXPECT_EQ(f.Rate, 6);
    }
    EXPECT_EQ(c.Header.StepCount, 500u);
}

TEST(AniChunks, HeadersThatAskForTheSameIconsAgainMakeNoMoreFramesThanTheFileHasChunks) {
    // Each of 40 headers would give every one of 80 icons a frame: 3200
    // frames from a file with room for fewer chunks than that.
    std::string chunks;
    for (int i = 0; i < 40; ++i) chunks += Anih(0xFFFFFFFFu, 1, 6);
    std::string icons;
    for (int i = 0; i < 80; ++i) icons += Chunk("icon", IconFile(1, 1, 1, 0xFFFFFF));
    const std::string file = Riff(chunks + List("fram", icons));
    ASSERT_LT(file.size() / 8, 3200u);
    ExpectReadError(file);
    // Two headers, as many frames as they claim.
    TAniContent c = Read(Riff(Anih(2, 2, 6) + Anih(3, 3, 7) + FrameList({1, 2, 3})));
    EXPECT_EQ(FrameIcons(c), (std::vector<int32_t>{0, 1, 0, 1, 2}));
    EXPECT_EQ(Rates(c), (std::vector<int32_t>{6, 6, 7, 7, 7}));
}

TEST(AniChunks, RateValuesFindTheirFrameByItsPlaceHoweverManyFramesAHeaderClaims) {
    // Frames 2 and up belong to the first header and show nothing, so the
    // rates counted up to there go to frames that are dropped.
    const std::string icons = List("fram", Chunk("icon", IconFile(1, 1, 1, 1)) + Chunk("icon", IconFile(1, 1, 1, 2)));
    for (int counted = 2; counted < 100; ++counted) {
        std::string rates;
        for (int i = 0; i < counted; ++i) rates += Value("rate", 1);
        const TAniContent c =
            Read(Riff(rates + Anih(0xFFFFFFFFu, 1, 6) + Anih(2, 2, 7) + Value("rate", 99) + icons));
        EXPECT_EQ(FrameIcons(c), (std::vector<int32_t>{0, 1, 0, 1})) << counted;
        EXPECT_EQ(Rates(c), (std::vector<int32_t>{6, 6, 7, 7})) << counted;
    }
}

namespace {

// The chunks of a test animation, read the plain way: every frame a header
// claims is made, every icon looks at every frame.
struct TModelFile {
    std::string bytes;
    std::vector<TAniFrame> frames;
    int32_t icons = 0;
    uint64_t rates = 0, sequences = 0;
    uint32_t defaultRate = 0;

    void Header(uint32_t count, uint32_t rate) {
        bytes += Anih(count, 1, rate);
        defaultRate = rate;
        for (uint32_t k = 0; k < count; ++k) frames.push_back({int32_t(rate), int32_t(k), -1});
    }
    void FrameValue(const char* id, uint32_t value) {
        bytes += Value(id, value);
        const bool isRate = id[0] == 'r';
        uint64_t& next = isRate ? rates : sequences;
        if (next < frames.size()) (isRate ? frames[next].Rate : frames[next].IconNumber) = int32_t(value);
        ++next;
    }
    void Icons(int count) {
        std::string list;
        for (int i = 0; i < count; ++i) {
            list += Chunk("icon", IconFile(1, 1, 1, 0xFFFFFF));
            bool shown = false;
            for (TAniFrame& f : frames)
                if (f.IconNumber == icons) {
                    f.Icon = icons;
                    shown = true;
                }
            if (!shown) frames.push_back({int32_t(defaultRate), -1, icons});
            ++icons;
        }
        bytes += List("fram", list);
    }
    std::vector<TAniFrame> Shown() const {
        std::vector<TAniFrame> shown;
        for (const TAniFrame& f : frames)
            if (f.Icon >= 0) shown.push_back(f);
        return shown;
    }
};

}  // namespace

TEST(AniChunks, FramesOfHeadersRatesSequencesAndIconsInAnyOrder) {
    std::mt19937 random(5);
    auto pick = [&](int n) { return int(random() % uint32_t(n)); };
    for (int round = 0; round < 3000; ++round) {
        TModelFile model;
        const int chunks = 1 + pick(14);
        for (int i = 0; i < chunks; ++i) {
            switch (pick(4)) {
            case 0: model.Header(uint32_t(pick(6)), uint32_t(10 + pick(5))); break;
            case 1: model.FrameValue("rate", uint32_t(100 + pick(50))); break;
            case 2: model.FrameValue("seq ", pick(8) == 0 ? 0xFFFFFFFFu : uint32_t(pick(7))); break;
            default: model.Icons(1 + pick(3)); break;
            }
        }
        const std::vector<TAniFrame> expected = model.Shown();
        const std::string file = Riff(model.bytes);
        if (expected.empty()) {
            ExpectReadError(file);
            continue;
        }
        const TAniContent c = Read(file);
        ASSERT_EQ(c.Frames.size(), expected.size()) << "round " << round;
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(c.Frames[i].Rate, expected[i].Rate) << "round " << round << " frame " << i;
            EXPECT_EQ(c.Frames[i].IconNumber, expected[i].IconNumber) << "round " << round << " frame " << i;
            EXPECT_EQ(c.Frames[i].Icon, expected[i].Icon) << "round " << round << " frame " << i;
        }
    }
}
