#include "imaging/codecs/ani_chunks.h"

#include <gtest/gtest.h>

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
