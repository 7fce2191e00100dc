#include "imaging/codecs/gif_writer.h"

#include <algorithm>

#include "classlib/core/byte_fields.h"
#include "imaging/codecs/gif_strings.h"

namespace {

void PutTable(std::vector<uint8_t>& out, const ColorTableRec& table, int32_t entries) {
    for (int32_t i = 0; i < entries; ++i) {
        if (i < table.Count && i < 256) out.insert(out.end(), table.Entries[i], table.Entries[i] + 3);
        else out.insert(out.end(), 3, 0);
    }
}

void PutFixed(std::vector<uint8_t>& out, const TExtension& extension) {
    const size_t size = kGifExtensionFixedSize[extension.Kind & 3];
    for (size_t i = 0; i < size; ++i) out.push_back(i < extension.FixedBytes.size() ? extension.FixedBytes[i] : 0);
}

// The transparent index a graphic control extension should carry: the one
// it has while that entry still shows the colour (two entries may share
// it), else the first entry of the colour; -1 for none.
int TransparentIndex(const TExtension& control, const TGifFrameRecord& frame) {
    if (frame.TransparentColor == clNone) return -1;
    const ColorTableRec& table = frame.Item->ColorTable;
    const uint8_t index = control.FixedBytes[4];
    if ((control.FixedBytes[1] & 1) && index < table.Count &&
        TripleToColor(table.Entries[index]) == ColorToRGB(frame.TransparentColor))
        return index;
    return FindColorIndex(table, frame.TransparentColor);
}

}  // namespace

void WriteGifBlocks(const TStrings* lines, std::vector<uint8_t>& out) {
    for (int i = 0; lines && i < lines->Count(); ++i) {
        const std::string line = lines->Strings(i);
        for (size_t at = 0; at < line.size(); at += 255) {
            const size_t length = std::min<size_t>(255, line.size() - at);
            out.push_back(static_cast<uint8_t>(length));
            out.insert(out.end(), line.begin() + static_cast<ptrdiff_t>(at),
                       line.begin() + static_cast<ptrdiff_t>(at + length));
        }
    }
    out.push_back(0);
}

void AlignFrameExtensions(TGifFrameRecord& frame, uint8_t& formatVersion) {
    TExtension* control = frame.GraphicControl();
    if (!control && (frame.DelayTime != 0 || frame.TransparentColor != clNone || frame.DisposalMethod != 0)) {
        auto made = MakeOwned<TExtension>();
        made->Kind = ekGraphicControl;
        made->FixedBytes = {4, 0, 0, 0, 0, 0};
        control = made.get();
        frame.ExtensionList.push_back(std::move(made));
    }
    if (control) {
        control->FixedBytes.resize(kGifExtensionFixedSize[ekGraphicControl], 0);
        uint8_t* g = control->FixedBytes.data();
        const uint16_t delay = static_cast<uint16_t>(frame.DelayTime / 10);
        g[2] = static_cast<uint8_t>(delay);
        g[3] = static_cast<uint8_t>(delay >> 8);
        const int index = TransparentIndex(*control, frame);
        if (index < 0) {
            g[1] &= static_cast<uint8_t>(~1);
        } else {
            g[4] = static_cast<uint8_t>(index);
            g[1] |= 1;
        }
        g[1] = static_cast<uint8_t>((g[1] & 0xE3) | ((frame.DisposalMethod & 7) << 2));
    }
    auto& list = frame.ExtensionList;
    for (size_t i = list.size(); i-- > 0;)
        if (list[i] && list[i]->Kind == ekComment && (!list[i]->Blocks || list[i]->Blocks->Count() == 0))
            list.erase(list.begin() + static_cast<ptrdiff_t>(i));
    if (!list.empty()) formatVersion = gv89a;
}

void WriteGifData(TGifPictureRecord& picture, const std::vector<const TGifFrameRecord*>& frames,
                  std::vector<uint8_t>& out) {
    const TGIFData& data = *picture.Data;
    const bool hasComment = data.ImageComment && data.ImageComment->Count() > 0;
    if (hasComment) picture.FormatVersion = gv89a;
    out.insert(out.end(), {'G', 'I', 'F'});
    // A picture without a version yet is written as the older one: a header
    // without version would make the file unreadable.
    const char* version = picture.FormatVersion == gv89a ? "89a" : "87a";
    out.insert(out.end(), version, version + 3);

    const ColorTableRec& global = data.GlobalColorTable;
    AppendLittleEndian<uint16_t>(out, picture.ScreenWidth);
    AppendLittleEndian<uint16_t>(out, picture.ScreenHeight);
    if (global.Count == 0) {
        out.push_back(0);
    } else {
        const int bits = ColorCountToBits(global.Count);
        out.push_back(static_cast<uint8_t>(0x80 + (bits - 1) * 16 + ((data.ColorBits - 1) & 7)));
    }
    int background = picture.BackgroundColor == clNone ? -1 : FindColorIndex(global, picture.BackgroundColor);
    out.push_back(static_cast<uint8_t>(std::max(background, 0)));
    out.push_back(data.PixelAspect);
    if (global.Count > 0) PutTable(out, global, global.Count);

    if (picture.LoopEnabled && frames.size() > 1) {
        out.insert(out.end(), {0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1});
        AppendLittleEndian<uint16_t>(out, picture.LoopCount);
        out.push_back(0);
    }

    for (const TGifFrameRecord* frame : frames) {
        for (const auto& extension : frame->ExtensionList) {
            if (!extension) continue;
            out.push_back(0x21);
            out.push_back(kGifExtensionLabels[extension->Kind & 3]);
            PutFixed(out, *extension);
            if (extension->Kind != ekGraphicControl) WriteGifBlocks(extension->Blocks.get(), out);
        }
        TGIFItem& item = *frame->Item;
        out.push_back(0x2C);
        AppendLittleEndian<uint16_t>(out, static_cast<uint32_t>(frame->Origin.Left));
        AppendLittleEndian<uint16_t>(out, static_cast<uint32_t>(frame->Origin.Top));
        AppendLittleEndian<uint16_t>(out, static_cast<uint32_t>(item.Width));
        AppendLittleEndian<uint16_t>(out, static_cast<uint32_t>(item.Height));
        uint8_t packed = 0;
        const bool local = frame->HasLocalColors && item.ColorTable.Count > 0;
        if (local) {
            int n = 1;
            while ((1 << n) < item.ColorTable.Count && n < 8) ++n;
            item.ColorBits = static_cast<uint8_t>(n);
            packed = static_cast<uint8_t>(0x80 + n - 1);
        }
        if (frame->IsInterlaced) packed |= 0x40;
        out.push_back(packed);
        if (local) PutTable(out, item.ColorTable, 1 << item.ColorBits);
        out.insert(out.end(), item.EncodedData.begin(), item.EncodedData.end());
    }

    if (hasComment) {
        out.push_back(0x21);
        out.push_back(0xFE);
        WriteGifBlocks(data.ImageComment.get(), out);
    }
    out.push_back(0x3B);
}
