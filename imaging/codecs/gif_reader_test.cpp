#include "imaging/codecs/gif_reader.h"

#include <gtest/gtest.h>

#include "classlib/core/exceptions.h"
#include "imaging/codecs/gif_samples.h"

namespace {

struct TRead {
    TGifPictureRecord picture;
    std::vector<TGifFrameRecord> frames;
};

TRead Read(const std::vector<uint8_t>& bytes) {
    TRead r;
    ReadGifData(bytes.data(), bytes.size(), r.picture, r.frames);
    return r;
}

std::string ErrorOf(const std::vector<uint8_t>& bytes) {
    try {
        Read(bytes);
    } catch (const Exception& e) {
        return e.Message();
    }
    return "";
}

const std::vector<uint8_t> kFour{0, 1, 2, 3};

// Keeps TolerateCorruptFrames as it was.
struct TTolerance {
    explicit TTolerance(bool value) : saved(TolerateCorruptFrames) { TolerateCorruptFrames = value; }
    ~TTolerance() { TolerateCorruptFrames = saved; }
    bool saved;
};

}  // namespace

TEST(GifReader, ReadsTheScreenTablesAndFrames) {
    auto bytes = TGifBuilder(10, 8, 2).Image(1, 2, 2, 2, kFour, 4).Image(0, 0, 3, 1, {1, 0, 1}, 1, true, 1).Finish();
    bytes[11] = 3;  // background index
    TRead r = Read(bytes);
    EXPECT_EQ(r.picture.FormatVersion, gv89a);
    EXPECT_EQ(r.picture.ScreenWidth, 10);
    EXPECT_EQ(r.picture.ScreenHeight, 8);
    EXPECT_EQ(r.picture.Data->ColorBits, 2);
    EXPECT_EQ(r.picture.Data->ColorResolution, 2);
    EXPECT_EQ(r.picture.Data->GlobalColorTable.Count, 4);
    EXPECT_EQ(r.picture.BackgroundColor, TColor(3 | 252 << 8 | 21 << 16));
    ASSERT_EQ(r.frames.size(), 2u);
    EXPECT_EQ(r.frames[0].Origin.Left, 1);
    EXPECT_EQ(r.frames[0].Origin.Top, 2);
    EXPECT_FALSE(r.frames[0].HasLocalColors);
    EXPECT_EQ(r.frames[0].Item->ColorBits, 2);
    EXPECT_EQ(r.frames[0].Item->ColorTable.Count, 4) << "a copy of the global table";
    EXPECT_TRUE(r.frames[1].HasLocalColors);
    EXPECT_TRUE(r.frames[1].IsInterlaced);
    EXPECT_EQ(r.frames[1].Item->ColorBits, 1);
    EXPECT_EQ(r.frames[1].Item->DescriptorFlags, 0xC0);
    EXPECT_EQ(r.frames[1].Item->EncodedData, EncodeIndexes({1, 0, 1}, 3, 1, 1, true)) << "kept as it stood";

    std::vector<uint8_t> bmp;
    EXPECT_FALSE(DecodeFrameToBmp(*r.frames[0].Item, false, bmp));
    // 4-bit rows: 2 pixels in one byte, rows padded to 4; palette of 16
    // entries, the 12 past the table filled with 128.
    ASSERT_EQ(bmp.size(), 54u + 64 + 8);
    EXPECT_EQ(bmp[28], 4);
    EXPECT_EQ(bmp[54 + 4 * 3 + 2], 3) << "red of entry 3";
    EXPECT_EQ(bmp[54 + 4 * 4], 128);
    EXPECT_EQ(bmp[54 + 64], 0x23) << "bottom row: 2 3";
    EXPECT_EQ(bmp[54 + 64 + 4], 0x01) << "top row: 0 1";
}

TEST(GifReader, SignatureAndVersionInAnyCase) {
    auto bytes = TGifBuilder(1, 1, 1, "87A").Image(0, 0, 1, 1, {1}, 1).Finish();
    bytes[0] = 'g';
    EXPECT_EQ(Read(bytes).picture.FormatVersion, gv87a);
    bytes[5] = 'b';
    EXPECT_EQ(ErrorOf(bytes), "Unknown GIF version");
    bytes[5] = 'a';
    bytes[1] = 'X';
    EXPECT_EQ(ErrorOf(bytes), "Unknown GIF version");
}

TEST(GifReader, ZeroSizeTakesTheScreenSize) {
    TRead r = Read(TGifBuilder(5, 4, 1).Raw({0x2C, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0}).Finish());
    ASSERT_EQ(r.frames.size(), 1u);
    EXPECT_EQ(r.frames[0].Item->Width, 5);
    EXPECT_EQ(r.frames[0].Item->Height, 4);
    // With a screen of 0 too there is nothing to decode: a clear error.
    TRead empty = Read(TGifBuilder(0, 0, 1).Raw({0x2C, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0}).Finish());
    std::vector<uint8_t> bmp;
    EXPECT_THROW(DecodeFrameToBmp(*empty.frames[0].Item, false, bmp), EInvalidGraphicOperation);
}

TEST(GifReader, FramesTooLargeToHoldAreRefused) {
    // 65535 x 65535 at 8 bits overflows 32 bits; refused before allocating.
    TRead r = Read(TGifBuilder(1, 1, 8).Raw({0x2C, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 8, 0}).Finish());
    ASSERT_EQ(r.frames.size(), 1u);
    std::vector<uint8_t> bmp;
    EXPECT_THROW(DecodeFrameToBmp(*r.frames[0].Item, false, bmp), EOutOfMemory);
    EXPECT_TRUE(bmp.empty());
}

TEST(GifReader, GraphicControlBlocksDecideTransparencyDelayAndDisposal) {
    TRead r = Read(TGifBuilder(2, 2, 2)
                       .GraphicControl(0x01, 50, 1)
                       .GraphicControl(0x09, 20, 2)
                       .Image(0, 0, 2, 2, kFour, 4)
                       .GraphicControl(0x01, 0, 7)  // index beyond the table
                       .Image(0, 0, 2, 2, kFour, 4)
                       .GraphicControl(0x01, 7000, 0)  // 70 s: beyond 16 bits of milliseconds
                       .Image(0, 0, 2, 2, kFour, 4)
                       .Finish());
    ASSERT_EQ(r.frames.size(), 3u);
    EXPECT_EQ(r.frames[0].TransparentColor, TColor(2 | 253 << 8 | 14 << 16));
    EXPECT_EQ(r.frames[0].DelayTime, 500);
    EXPECT_EQ(r.frames[0].DisposalMethod, 2);
    EXPECT_EQ(r.frames[0].ExtensionList.size(), 2u);
    EXPECT_EQ(r.frames[1].TransparentColor, clNone);
    EXPECT_EQ(r.frames[2].DelayTime, 65530) << "the largest delay that fits in hundredths";
}

TEST(GifReader, LoopBlocks) {
    auto loop = [](std::vector<uint8_t> block) {
        TRead r = Read(TGifBuilder(1, 1, 1).Raw(block).Image(0, 0, 1, 1, {0}, 1).Finish());
        return std::make_pair(r.picture.LoopEnabled, int(r.picture.LoopCount));
    };
    const std::vector<uint8_t> netscape{0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
    auto with = [&](std::vector<uint8_t> tail) {
        std::vector<uint8_t> b = netscape;
        b.insert(b.end(), tail.begin(), tail.end());
        return b;
    };
    EXPECT_EQ(loop(with({3, 1, 0xE8, 0x03, 0})), std::make_pair(true, 1000));
    EXPECT_EQ(loop(with({3, 1, 0x60, 0xEA, 0})), std::make_pair(true, 30000));
    EXPECT_EQ(loop(with({3, 2, 0xE8, 0x03, 0})), std::make_pair(false, 1));
    EXPECT_EQ(loop(with({2, 1, 0xE8, 0})), std::make_pair(false, 1));
    std::vector<uint8_t> anim{0x21, 0xFF, 11, 'A', 'N', 'I', 'M', 'E', 'X', 'T', 'S', '1', '.', '0', 3, 1, 5, 0, 0};
    EXPECT_EQ(loop(anim), std::make_pair(true, 5));
    anim[5] = 'X';
    EXPECT_EQ(loop(anim), std::make_pair(false, 1));
}

TEST(GifReader, CommentsGoToTheirFrameOrToThePicture) {
    TRead r = Read(TGifBuilder(1, 1, 1)
                       .Comment("first")
                       .Image(0, 0, 1, 1, {0}, 1)
                       .Comment("after")
                       .Comment(std::string(300, 'x'))
                       .Finish());
    ASSERT_EQ(r.frames.size(), 1u);
    ASSERT_EQ(r.frames[0].ExtensionList.size(), 1u);
    EXPECT_EQ(r.frames[0].ExtensionList[0]->Blocks->Text(), "first\r\n");
    const TStringList& comment = *r.picture.Data->ImageComment;
    ASSERT_EQ(comment.Count(), 4);
    EXPECT_EQ(comment.Strings(0), "after");
    EXPECT_EQ(comment.Strings(1), "\r\n\r\n");
    EXPECT_EQ(comment.Strings(2).size(), 255u);
    EXPECT_EQ(comment.Strings(3).size(), 45u);

    // A plain-text block drops the blocks read before it in its group.
    TRead plain = Read(TGifBuilder(1, 1, 1)
                           .GraphicControl(1, 10, 0)
                           .Comment("gone")
                           .Raw({0x21, 0x01, 12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 'x', 0})
                           .Comment("kept")
                           .Image(0, 0, 1, 1, {0}, 1)
                           .Finish());
    ASSERT_EQ(plain.frames[0].ExtensionList.size(), 1u);
    EXPECT_EQ(plain.frames[0].ExtensionList[0]->Blocks->Strings(0), "kept");
    EXPECT_EQ(plain.frames[0].TransparentColor, clNone);

    EXPECT_EQ(ErrorOf(TGifBuilder(1, 1, 1).Raw({0x21, 0x55, 0}).Finish()), "Unrecognized extension block: 55");
}

TEST(GifReader, StrayBytes) {
    // After an image: reading ends quietly with what was read.
    TRead r = Read(TGifBuilder(1, 1, 1).Image(0, 0, 1, 1, {1}, 1).Raw({'x'}).Image(0, 0, 1, 1, {1}, 1).Finish());
    EXPECT_EQ(r.frames.size(), 1u);
    // After the table or after trailing extensions: the read error.
    EXPECT_EQ(ErrorOf(TGifBuilder(1, 1, 1).Raw({'x'}).Finish()), "Stream-Read-Fehler");
    EXPECT_EQ(ErrorOf(TGifBuilder(1, 1, 1).Image(0, 0, 1, 1, {1}, 1).Comment("c").Raw({'x'}).Finish()),
              "Stream-Read-Fehler");
    // Zero bytes between blocks are skipped.
    EXPECT_EQ(Read(TGifBuilder(1, 1, 1).Raw({0, 0}).Image(0, 0, 1, 1, {1}, 1).Finish()).frames.size(), 1u);
}

TEST(GifReader, FrameCutShortIsKeptDamagedWithItsChainEnded) {
    const auto whole = TGifBuilder(30, 30, 8).Image(0, 0, 30, 30, SampleIndexes(30, 30, 8, 4), 8).Finish();
    // Cut inside the last sub-block.
    const std::vector<uint8_t> cut(whole.begin(), whole.end() - 6);
    {
        TTolerance tolerant(true);
        TRead r = Read(cut);
        ASSERT_EQ(r.frames.size(), 1u);
        EXPECT_TRUE(r.frames[0].IsDamaged);
        EXPECT_EQ(r.frames[0].Item->EncodedData.back(), 0) << "the chain ends with its terminator";
        std::vector<uint8_t> bmp;
        EXPECT_TRUE(DecodeFrameToBmp(*r.frames[0].Item, false, bmp));
    }
    {
        TTolerance strict(false);
        EXPECT_EQ(ErrorOf(cut), "Stream-Read-Fehler");
    }
}

TEST(GifReader, EveryTruncationGivesAnErrorOrAPartialPicture) {
    const auto whole = TGifBuilder(12, 9, 4)
                           .Loop(3)
                           .Comment("frame")
                           .GraphicControl(0x05, 10, 3)
                           .Image(0, 0, 12, 9, SampleIndexes(12, 9, 4, 1), 4)
                           .Image(2, 2, 5, 5, SampleIndexes(5, 5, 8, 2), 8, true, 8)
                           .Comment("end")
                           .Finish();
    for (size_t size = 0; size < whole.size(); ++size) {
        TRead r;
        try {
            ReadGifData(whole.data(), size, r.picture, r.frames);
        } catch (const EInvalidGraphicOperation&) {
        } catch (const EReadError&) {
        }
        for (TGifFrameRecord& frame : r.frames) {
            std::vector<uint8_t> bmp;
            try {
                DecodeFrameToBmp(*frame.Item, frame.IsInterlaced, bmp);
            } catch (const EInvalidGraphicOperation&) {
            }
        }
    }
    EXPECT_EQ(Read(whole).frames.size(), 2u);
}

TEST(GifReader, CodeSizeBeyondNineIsClampedAndMarked) {
    auto bytes = TGifBuilder(2, 2, 2).Image(0, 0, 2, 2, kFour, 4).Finish();
    TRead r = Read(bytes);
    r.frames[0].Item->EncodedData[0] = 12;
    std::vector<uint8_t> bmp;
    EXPECT_TRUE(DecodeFrameToBmp(*r.frames[0].Item, false, bmp));
    TTolerance strict(false);
    EXPECT_THROW(DecodeFrameToBmp(*r.frames[0].Item, false, bmp), EInvalidGraphicOperation);
}

TEST(GifReader, ColorCounts) {
    EXPECT_EQ(ColorCountToBits(2), 1);
    EXPECT_EQ(ColorCountToBits(256), 8);
    EXPECT_THROW(ColorCountToBits(3), EInvalidGraphicOperation);
    EXPECT_THROW(ColorCountToBits(512), EInvalidGraphicOperation);
    EXPECT_EQ(FrameBitCount(1), 1);
    EXPECT_EQ(FrameBitCount(3), 4);
    EXPECT_EQ(FrameBitCount(5), 8);
    EXPECT_THROW(FrameBitCount(0), EInvalidGraphicOperation);
}
