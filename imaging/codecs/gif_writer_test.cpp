#include "imaging/codecs/gif_writer.h"

#include <gtest/gtest.h>

#include "classlib/core/exceptions.h"
#include "imaging/codecs/gif_reader.h"
#include "imaging/codecs/gif_samples.h"

namespace {

struct TPictureData {
    TGifPictureRecord picture;
    std::vector<TGifFrameRecord> frames;

    std::vector<uint8_t> Write() {
        std::vector<const TGifFrameRecord*> list;
        for (auto& frame : frames) {
            AlignFrameExtensions(frame, picture.FormatVersion);
            list.push_back(&frame);
        }
        std::vector<uint8_t> out;
        WriteGifData(picture, list, out);
        return out;
    }
};

TPictureData ReadBytes(const std::vector<uint8_t>& bytes) {
    TPictureData d;
    ReadGifData(bytes.data(), bytes.size(), d.picture, d.frames);
    return d;
}

// A frame as a bitmap becomes one: its pixels encoded, its table given.
TGifFrameRecord FrameOf(const std::vector<uint8_t>& indexes, int32_t width, int32_t height, int bitCount,
                        int32_t colors) {
    TGifFrameRecord frame;
    frame.Item->EncodedData = EncodeIndexes(indexes, width, height, bitCount, false);
    frame.Item->Width = width;
    frame.Item->Height = height;
    frame.Item->ColorTable.Count = colors;
    for (int i = 0; i < colors; ++i) {
        frame.Item->ColorTable.Entries[i][0] = uint8_t(i * 255 / (colors - 1));
        frame.Item->ColorTable.Entries[i][1] = uint8_t(i * 255 / (colors - 1));
        frame.Item->ColorTable.Entries[i][2] = uint8_t(i * 255 / (colors - 1));
    }
    return frame;
}

void UseAsGlobal(TPictureData& d, const TGifFrameRecord& frame, int bits) {
    d.picture.Data->GlobalColorTable = frame.Item->ColorTable;
    d.picture.Data->ColorBits = uint8_t(bits);
    d.picture.FormatVersion = gv87a;
}

}  // namespace

TEST(GifWriter, SmallPicturesByteForByte) {
    // 2 x 2 at 1 bit, black and white, no extensions.
    TPictureData mono;
    mono.frames.push_back(FrameOf({0, 1, 1, 0}, 2, 2, 1, 2));
    UseAsGlobal(mono, mono.frames[0], 1);
    mono.picture.ScreenWidth = mono.picture.ScreenHeight = 2;
    EXPECT_EQ(mono.Write(), (std::vector<uint8_t>{
                                 'G', 'I', 'F', '8', '7', 'a', 2, 0, 2, 0, 0x80, 0, 0,  // screen
                                 0, 0, 0, 255, 255, 255,                                 // table
                                 0x2C, 0, 0, 0, 0, 2, 0, 2, 0, 0x00,                     // descriptor
                                 0x02, 0x03, 0x44, 0x02, 0x05, 0x00,                     // codes
                                 0x3B}));

    // 16 colours: the screen's packed byte B3; transparency and a delay
    // give a graphic control block and "89a"; loop only with two frames.
    TPictureData grey;
    grey.frames.push_back(FrameOf({0, 15}, 2, 1, 4, 16));
    UseAsGlobal(grey, grey.frames[0], 4);
    grey.frames[0].TransparentColor = 0xFFFFFF;
    grey.frames[0].DelayTime = 250;
    grey.frames[0].DisposalMethod = 2;
    grey.picture.LoopEnabled = true;
    grey.picture.LoopCount = 0x0102;
    grey.picture.ScreenWidth = 2;
    grey.picture.ScreenHeight = 1;
    std::vector<uint8_t> out = grey.Write();
    EXPECT_EQ(std::string(out.begin(), out.begin() + 6), "GIF89a");
    EXPECT_EQ(out[10], 0xB3);
    const std::vector<uint8_t> control{0x21, 0xF9, 4, 0x09, 25, 0, 15, 0};
    EXPECT_TRUE(std::search(out.begin(), out.end(), control.begin(), control.end()) != out.end());
    EXPECT_EQ(std::count(out.begin(), out.end(), 0xFF), 3 * 1) << "no loop block for one frame";

    grey.frames.push_back(FrameOf({15, 0}, 2, 1, 4, 16));
    out = grey.Write();
    const std::vector<uint8_t> loop{0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 2, 1, 0};
    const auto at = std::search(out.begin(), out.end(), loop.begin(), loop.end());
    ASSERT_TRUE(at != out.end());
    EXPECT_EQ(at - out.begin(), 13 + 48) << "right behind the global table";

    // 256 colours, interlaced, with a local table: F7 on the screen, the
    // local table's size in the descriptor.
    TPictureData full;
    full.frames.push_back(FrameOf(SampleIndexes(4, 4, 8, 1), 4, 4, 8, 256));
    UseAsGlobal(full, full.frames[0], 8);
    full.frames.push_back(FrameOf({1, 2, 3}, 3, 1, 8, 4));
    full.frames[1].HasLocalColors = true;
    full.frames[1].IsInterlaced = true;
    out = full.Write();
    EXPECT_EQ(out[10], 0xF7);
    const size_t second = 13 + 768 + 10 + full.frames[0].Item->EncodedData.size();
    ASSERT_EQ(out[second], 0x2C);
    EXPECT_EQ(out[second + 9], 0x80 | 0x40 | 1);
    EXPECT_EQ(full.frames[1].Item->ColorBits, 2);
}

TEST(GifWriter, ReadPicturesAreWrittenBackAsTheyWere) {
    const auto bytes = TGifBuilder(20, 10, 8)
                           .Loop(7)
                           .Comment("frame comment")
                           .GraphicControl(0x05, 12, 9)
                           .Image(0, 0, 20, 10, SampleIndexes(20, 10, 8, 5), 8)
                           .GraphicControl(0x04, 3, 0)
                           .Image(4, 2, 16, 8, SampleIndexes(16, 8, 4, 6), 4, true, 4)
                           .Finish();
    TPictureData d = ReadBytes(bytes);
    EXPECT_EQ(d.Write(), bytes);
}

TEST(GifWriter, DelaysBeyondSixteenBitsOfMillisecondsReadBackTheSame) {
    const auto bytes = TGifBuilder(1, 1, 1).GraphicControl(0x00, 6554, 0).Image(0, 0, 1, 1, {0}, 1).Finish();
    TPictureData first = ReadBytes(bytes);
    const uint16_t delay = first.frames[0].DelayTime;
    TPictureData second = ReadBytes(first.Write());
    EXPECT_EQ(second.frames[0].DelayTime, delay);
}

TEST(GifWriter, CommentsOfAnyLength) {
    TPictureData d;
    d.frames.push_back(FrameOf({0, 1}, 2, 1, 1, 2));
    UseAsGlobal(d, d.frames[0], 1);
    d.picture.Data->ImageComment->Add(std::string(300, 'c'));
    d.picture.Data->ImageComment->Add("");
    const auto out = d.Write();
    EXPECT_EQ(std::string(out.begin(), out.begin() + 6), "GIF89a") << "a comment needs 89a";
    // 21 FE, a block of 255, one of 45, the terminator, the trailer.
    const size_t tail = 2 + 256 + 46 + 1 + 1;
    ASSERT_GT(out.size(), tail);
    const size_t at = out.size() - tail;
    EXPECT_EQ(out[at], 0x21);
    EXPECT_EQ(out[at + 1], 0xFE);
    EXPECT_EQ(out[at + 2], 255);
    EXPECT_EQ(out[at + 2 + 256], 45);
    EXPECT_EQ(out[at + 2 + 256 + 46], 0);
    TPictureData again = ReadBytes(out);
    EXPECT_EQ(again.picture.Data->ImageComment->Text(), std::string(255, 'c') + "\r\n" + std::string(45, 'c') + "\r\n");
}

TEST(GifWriter, TransparentIndex) {
    // Entries 1 and 3 share a colour: the index read stays.
    auto bytes = TGifBuilder(2, 2, 2).GraphicControl(0x01, 0, 3).Image(0, 0, 2, 2, {0, 1, 2, 3}, 4).Finish();
    const size_t table = 13;
    for (int c = 0; c < 3; ++c) bytes[table + 9 + c] = bytes[table + 3 + c];
    TPictureData d = ReadBytes(bytes);
    EXPECT_EQ(d.Write(), bytes);

    // A colour that is not in the table clears the flag.
    d.frames[0].TransparentColor = 0x123456;
    auto out = d.Write();
    const std::vector<uint8_t> cleared{0x21, 0xF9, 4, 0x00};
    EXPECT_TRUE(std::search(out.begin(), out.end(), cleared.begin(), cleared.end()) != out.end());
    // Another colour of the table: its first index.
    d.frames[0].TransparentColor = TripleToColor(d.frames[0].Item->ColorTable.Entries[2]);
    out = d.Write();
    const std::vector<uint8_t> moved{0x21, 0xF9, 4, 0x01, 0, 0, 2, 0};
    EXPECT_TRUE(std::search(out.begin(), out.end(), moved.begin(), moved.end()) != out.end());
}

TEST(GifWriter, EmptyCommentBlocksAreDroppedAndOnlyThey) {
    TPictureData d = ReadBytes(TGifBuilder(1, 1, 1, "87a").Image(0, 0, 1, 1, {1}, 1).Finish());
    d.frames[0].CommentLines(true);
    auto out = d.Write();
    EXPECT_EQ(std::string(out.begin(), out.begin() + 6), "GIF87a");
    EXPECT_TRUE(d.frames[0].ExtensionList.empty());
    d.frames[0].CommentLines(true)->Add("hello");
    out = d.Write();
    EXPECT_EQ(std::string(out.begin(), out.begin() + 6), "GIF89a");
    EXPECT_EQ(ReadBytes(out).frames[0].ExtensionList[0]->Blocks->Strings(0), "hello");
}

TEST(GifWriter, GlobalTableMustBeAPowerOfTwo) {
    TPictureData d;
    d.frames.push_back(FrameOf({0, 1}, 2, 1, 1, 2));
    d.picture.Data->GlobalColorTable.Count = 3;
    EXPECT_THROW(d.Write(), EInvalidGraphicOperation);
}

TEST(GifWriter, BackgroundIndexIsTheFirstEntryOfTheBackgroundColour) {
    // Table: black, red, green, red again.
    TPictureData d;
    d.frames.push_back(FrameOf({0, 1, 2, 3}, 4, 1, 8, 4));
    ColorTableRec& table = d.frames[0].Item->ColorTable;
    const uint8_t entries[4][3] = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {255, 0, 0}};
    for (int i = 0; i < 4; ++i) std::copy(entries[i], entries[i] + 3, table.Entries[i]);
    UseAsGlobal(d, d.frames[0], 2);
    d.picture.ScreenWidth = 4;
    d.picture.ScreenHeight = 1;
    auto background = [&](TColor color) {
        d.picture.BackgroundColor = color;
        return d.Write().at(11);
    };
    EXPECT_EQ(background(0x0000FF), 1) << "red, also at 3";
    EXPECT_EQ(background(0x00FF00), 2);
    EXPECT_EQ(background(0x123456), 0) << "not in the table";
    EXPECT_EQ(background(clNone), 0);
    // A system colour is looked for by its RGB value.
    const TColor face = ColorToRGB(clBtnFace);
    ASSERT_NE(face, 0x0000FF);
    table.Entries[3][0] = uint8_t(face);
    table.Entries[3][1] = uint8_t(face >> 8);
    table.Entries[3][2] = uint8_t(face >> 16);
    UseAsGlobal(d, d.frames[0], 2);
    EXPECT_EQ(background(clBtnFace), face == 0 ? 0 : face == 0x00FF00 ? 2 : 3);
}

TEST(GifLzwEncoder, TableStartsAgainWhenTheLastCodeAssignedReaches4094) {
    // Each code written after a clear code, but the last, adds a table entry:
    // 258 up to 4094 are 3837 codes; then the pending pixel and a clear
    // code. So every full table is 3838 codes between two clear codes, and
    // codes 4094 and 4095 are never assigned.
    std::vector<uint8_t> indexes(100000);
    uint32_t state = 3;
    for (auto& v : indexes) v = uint8_t((state = state * 1664525u + 1013904223u) >> 24);
    const auto encoded = EncodeIndexes(indexes, 1000, 100, 8, false);
    // Walk the codes as a decoder does.
    std::vector<uint8_t> payload;
    for (size_t at = 1; at < encoded.size() && encoded[at];) {
        payload.insert(payload.end(), encoded.begin() + long(at) + 1, encoded.begin() + long(at) + 1 + encoded[at]);
        at += encoded[at] + 1u;
    }
    payload.resize(payload.size() + 4);
    uint64_t bit = 0;
    int bits = 9;
    uint32_t next = 258, sinceClear = 0;
    std::vector<uint32_t> tables;  // codes between two clear codes
    bool afterClear = false;
    for (;;) {
        const size_t byte = size_t(bit / 8);
        const uint32_t window = payload[byte] | payload[byte + 1] << 8 | payload[byte + 2] << 16;
        const uint32_t code = (window >> (bit % 8)) & ((1u << bits) - 1);
        bit += uint64_t(bits);
        if (code == 257) break;
        if (code == 256) {
            if (bit > 9) tables.push_back(sinceClear);
            sinceClear = 0;
            bits = 9;
            next = 258;
            afterClear = true;
            continue;
        }
        ASSERT_LT(code, 4094u);
        ++sinceClear;
        if (!afterClear && ++next == (1u << bits) && bits < 12) ++bits;
        afterClear = false;
    }
    ASSERT_GT(tables.size(), 10u);
    for (size_t t = 0; t < tables.size(); ++t) EXPECT_EQ(tables[t], 3838u) << "table " << t;
    TGIFItem item;
    item.EncodedData = encoded;
    item.Width = 1000;
    item.Height = 100;
    item.ColorBits = 8;
    item.ColorTable.Count = 256;
    std::vector<uint8_t> bmp;
    EXPECT_FALSE(DecodeFrameToBmp(item, false, bmp));
    const uint8_t* rows = bmp.data() + 54 + 1024;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 1000; x += 37)
            ASSERT_EQ(rows[size_t(99 - y) * 1000 + size_t(x)], indexes[size_t(y) * 1000 + size_t(x)]);
}
