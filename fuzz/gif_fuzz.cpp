// GIF reading: whatever the bytes, only the class library's exceptions come
// out; what was read is written again and reads back as the same frames;
// frames of a sensible size decode.
#include <cstdint>
#include <vector>

#include "classlib/core/exceptions.h"
#include "fuzz/fuzz_support.h"
#include "imaging/codecs/gif_reader.h"
#include "imaging/codecs/gif_writer.h"

namespace {

struct TPictureRead {
    TGifPictureRecord picture;
    std::vector<TGifFrameRecord> frames;
};

// Reads what it can: a failure keeps the frames completed before it.
void ReadAll(const uint8_t* data, size_t size, TPictureRead& read) {
    try {
        ReadGifData(data, size, read.picture, read.frames);
    } catch (const Exception&) {
    }
}

bool SameTable(const ColorTableRec& a, const ColorTableRec& b) {
    if (a.Count != b.Count) return false;
    for (int i = 0; i < a.Count && i < 256; ++i)
        for (int c = 0; c < 3; ++c)
            if (a.Entries[i][c] != b.Entries[i][c]) return false;
    return true;
}

bool SameExtensions(const TGifFrameRecord& a, const TGifFrameRecord& b) {
    if (a.ExtensionList.size() != b.ExtensionList.size()) return false;
    for (size_t i = 0; i < a.ExtensionList.size(); ++i) {
        const TExtension &x = *a.ExtensionList[i], &y = *b.ExtensionList[i];
        if (x.Kind != y.Kind || x.FixedBytes != y.FixedBytes) return false;
        const int lines = x.Blocks ? x.Blocks->Count() : 0;
        if (lines != (y.Blocks ? y.Blocks->Count() : 0)) return false;
        for (int l = 0; l < lines; ++l)
            if (x.Blocks->Strings(l) != y.Blocks->Strings(l)) return false;
    }
    return true;
}

void CheckSameFrame(const TGifFrameRecord& a, const TGifFrameRecord& b) {
    const TGIFItem &x = *a.Item, &y = *b.Item;
    fuzz::Check(x.EncodedData == y.EncodedData, "encoded data changed");
    fuzz::Check(x.Width == y.Width && x.Height == y.Height, "frame size changed");
    fuzz::Check(a.Origin.Left == b.Origin.Left && a.Origin.Top == b.Origin.Top, "origin changed");
    fuzz::Check(x.ColorBits == y.ColorBits, "colour bits changed");
    fuzz::Check(SameTable(x.ColorTable, y.ColorTable), "colour table changed");
    fuzz::Check(a.HasLocalColors == b.HasLocalColors, "local table flag changed");
    fuzz::Check(a.IsInterlaced == b.IsInterlaced, "interlace flag changed");
    fuzz::Check(a.TransparentColor == b.TransparentColor, "transparent colour changed");
    fuzz::Check(a.DelayTime == b.DelayTime, "delay changed");
    fuzz::Check(a.DisposalMethod == b.DisposalMethod, "disposal changed");
    fuzz::Check(SameExtensions(a, b), "extensions changed");
}

void Decode(const TGifFrameRecord& frame) {
    if (int64_t(frame.Item->Width) * frame.Item->Height > 1 << 20) return;  // time, not safety
    std::vector<uint8_t> bmp;
    try {
        DecodeFrameToBmp(*frame.Item, frame.IsInterlaced, bmp);
    } catch (const Exception&) {
        return;
    }
    fuzz::Check(bmp.size() >= 54 && bmp[0] == 'B' && bmp[1] == 'M', "decoded frame is no bitmap file");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TPictureRead first;
    ReadAll(data, size, first);
    for (const TGifFrameRecord& frame : first.frames) Decode(frame);
    if (first.frames.empty()) return 0;

    std::vector<const TGifFrameRecord*> list;
    for (TGifFrameRecord& frame : first.frames) {
        AlignFrameExtensions(frame, first.picture.FormatVersion);
        list.push_back(&frame);
    }
    std::vector<uint8_t> written;
    try {
        WriteGifData(first.picture, list, written);
    } catch (const EInvalidGraphicOperation&) {
        return 0;  // a global table of no power of two is refused, not written
    }
    TPictureRead second;
    ReadGifData(written.data(), written.size(), second.picture, second.frames);  // must not fail
    fuzz::Check(second.frames.size() == first.frames.size(), "frame count changed");
    for (size_t i = 0; i < first.frames.size(); ++i) CheckSameFrame(first.frames[i], second.frames[i]);
    fuzz::Check(SameTable(first.picture.Data->GlobalColorTable, second.picture.Data->GlobalColorTable),
                "global table changed");
    fuzz::Check(first.picture.Data->ImageComment->Text() == second.picture.Data->ImageComment->Text(),
                "picture comment changed");
    if (first.frames.size() > 1)
        fuzz::Check(first.picture.LoopEnabled == second.picture.LoopEnabled &&
                        (!first.picture.LoopEnabled || first.picture.LoopCount == second.picture.LoopCount),
                    "looping changed");
    return 0;
}
