#include "imaging/codecs/gif_reader.h"

#include <algorithm>
#include <cstring>

#include "classlib/core/byte_fields.h"
#include "classlib/core/exceptions.h"
#include "classlib/core/resstrings.h"
#include "classlib/core/strutils.h"
#include "imaging/codecs/gif_strings.h"

bool TolerateCorruptFrames = true;

namespace {

constexpr uint8_t kExtensionIntroducer = 0x21;  // '!'
constexpr uint8_t kImageIntroducer = 0x2C;      // ','
constexpr uint8_t kTrailer = 0x3B;              // ';'
constexpr uint16_t kMaxLoopCount = 30000;
// The largest pixel block a frame may decode to.
constexpr uint64_t kMaxFrameBytes = 256u * 1024 * 1024;

// The GIF bytes being read; reading past their end raises the read error.
class TGifBytes {
public:
    TGifBytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool AtEnd() const { return at_ >= size_; }
    size_t Left() const { return size_ - at_; }
    const uint8_t* Take(size_t count) {
        if (count > Left()) throw EReadError(LoadStr(SReadError));
        const uint8_t* p = data_ + at_;
        at_ += count;
        return p;
    }
    uint8_t Byte() { return *Take(1); }
    uint16_t Word() {
        const uint8_t* p = Take(2);
        return GetLittleEndian<uint16_t>(p);
    }
    void SkipToEnd() { at_ = size_; }
    // The next byte that is not 0; 0 at the end.
    uint8_t NextIntroducer() {
        while (at_ < size_)
            if (uint8_t b = data_[at_++]) return b;
        return 0;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

bool SameText(const uint8_t* bytes, const char* text) {
    for (size_t i = 0; text[i]; ++i)
        if (std::tolower(bytes[i]) != std::tolower(static_cast<unsigned char>(text[i]))) return false;
    return true;
}

void ReadColorTable(TGifBytes& in, ColorTableRec& table, int bits) {
    table.Count = 1 << bits;
    std::memcpy(table.Entries, in.Take(3 * static_cast<size_t>(table.Count)), 3 * static_cast<size_t>(table.Count));
}

// Sub-blocks into lines, one per non-empty block; ends at a zero length or
// at the end of the data.
TOwned<TStringList> ReadBlocks(TGifBytes& in) {
    auto lines = MakeOwned<TStringList>();
    while (!in.AtEnd()) {
        const uint8_t length = in.Byte();
        if (!length) break;
        const uint8_t* p = in.Take(length);
        lines->Add(std::string(reinterpret_cast<const char*>(p), length));
    }
    return lines;
}

bool IsLoopIdentifier(const TExtension& e) {
    const size_t n = e.FixedBytes[0];
    if (n > 11) return false;
    const uint8_t* id = e.FixedBytes.data() + 1;
    return std::memcmp(id, "NETSCAPE2.0", n) == 0 || std::memcmp(id, "ANIMEXTS1.0", n) == 0;
}

using TPending = std::vector<TOwned<TExtension>>;

class TGifReader {
public:
    TGifReader(const uint8_t* data, size_t size, TGifPictureRecord& picture, std::vector<TGifFrameRecord>& frames)
        : in_(data, size), picture_(picture), frames_(frames) {}

    void Read() {
        const uint8_t* header = in_.Take(6);
        if (!SameText(header, "GIF")) RaiseGifError(SGIFVersion);
        if (SameText(header + 3, "87a")) picture_.FormatVersion = gv87a;
        else if (SameText(header + 3, "89a")) picture_.FormatVersion = gv89a;
        else RaiseGifError(SGIFVersion);

        TGIFData& data = *picture_.Data;
        picture_.ScreenWidth = in_.Word();
        picture_.ScreenHeight = in_.Word();
        const uint8_t packed = in_.Byte();
        const uint8_t background = in_.Byte();
        data.PixelAspect = in_.Byte();
        data.ColorBits = static_cast<uint8_t>((packed & 7) + 1);
        data.ColorResolution = static_cast<uint8_t>(((packed >> 4) & 7) + 1);
        if (packed & 0x80) {
            ReadColorTable(in_, data.GlobalColorTable, data.ColorBits);
            if (background < data.GlobalColorTable.Count)
                picture_.BackgroundColor = TripleToColor(data.GlobalColorTable.Entries[background]);
        }

        uint8_t ch = in_.NextIntroducer();
        while (ch != 0 && ch != kTrailer && !in_.AtEnd()) {
            TPending pending = ReadExtensionGroup(ch);
            if (ch == kImageIntroducer) {
                TGifFrameRecord frame;
                if (data.GlobalColorTable.Count > 0)
                    frame.Item->ColorBits = static_cast<uint8_t>(ColorCountToBits(data.GlobalColorTable.Count));
                frame.ExtensionList = std::move(pending);
                ReadFrame(frame);
                frames_.push_back(std::move(frame));
                if (!in_.AtEnd()) {
                    ch = in_.NextIntroducer();
                    if (ch != kExtensionIntroducer && ch != kImageIntroducer && ch != kTrailer) ch = 0;
                } else {
                    ch = kTrailer;
                }
                continue;
            }
            TStringList& comment = *data.ImageComment;
            if (comment.Count() > 0 || pending.empty()) {
                if (ch != 0 && ch != kTrailer) RaiseGifReadError();
                continue;
            }
            for (auto& extension : pending) {
                if (extension->Kind != ekComment || !extension->Blocks) continue;
                if (comment.Count() > 0) comment.Add("\r\n\r\n");
                comment.AddStrings(extension->Blocks.get());
            }
        }
    }

private:
    // Extensions while ch is '!'; graphic control and comment ones are kept.
    TPending ReadExtensionGroup(uint8_t& ch) {
        TPending pending;
        while (ch == kExtensionIntroducer) {
            const uint8_t label = in_.Byte();
            const uint8_t* kind = std::find(std::begin(kGifExtensionLabels), std::end(kGifExtensionLabels), label);
            if (kind == std::end(kGifExtensionLabels))
                throw EInvalidGraphicOperation(Format(GifStr(SGIFUnknownBlock), {static_cast<int>(label)}));
            auto extension = MakeOwned<TExtension>();
            extension->Kind = static_cast<uint8_t>(kind - std::begin(kGifExtensionLabels));
            const size_t fixed = kGifExtensionFixedSize[extension->Kind];
            const uint8_t* bytes = in_.Take(fixed);
            extension->FixedBytes.assign(bytes, bytes + fixed);
            if (extension->Kind != ekGraphicControl) extension->Blocks = ReadBlocks(in_);

            if (extension->Kind == ekPlainText) pending.clear();
            if (extension->Kind == ekApplication) {
                const TStringList& blocks = *extension->Blocks;
                if (IsLoopIdentifier(*extension) && blocks.Count() > 0) {
                    const std::string first = blocks.Strings(0);
                    if (first.size() >= 3 && first[0] == 1) {
                        picture_.LoopEnabled = true;
                        const uint16_t count = GetLittleEndian<uint16_t>(first.data() + 1);
                        picture_.LoopCount = std::min(count, kMaxLoopCount);
                    }
                }
            }
            if (extension->Kind == ekGraphicControl || extension->Kind == ekComment)
                pending.push_back(std::move(extension));
            if (in_.AtEnd()) {
                ch = kTrailer;
                break;
            }
            ch = in_.NextIntroducer();
        }
        return pending;
    }

    void ReadFrame(TGifFrameRecord& frame) {
        TGIFItem& item = *frame.Item;
        const uint16_t left = in_.Word(), top = in_.Word();
        uint16_t width = in_.Word(), height = in_.Word();
        const uint8_t packed = in_.Byte();
        frame.IsInterlaced = (packed & 0x40) != 0;
        if (packed & 0x80) {
            item.ColorBits = static_cast<uint8_t>((packed & 7) + 1);
            frame.HasLocalColors = true;
            ReadColorTable(in_, item.ColorTable, item.ColorBits);
        } else {
            frame.HasLocalColors = false;
            item.ColorTable = ColorTableRec();
        }
        item.EncodedData.push_back(in_.Byte());
        // Sub-blocks as they stand; a chain cut short still gets its
        // terminator, so that it is written back whole.
        for (;;) {
            const uint8_t length = in_.AtEnd() ? 0 : in_.Byte();
            if (length > in_.Left()) {
                frame.IsDamaged = true;
                in_.SkipToEnd();
                item.EncodedData.push_back(0);
                break;
            }
            item.EncodedData.push_back(length);
            const uint8_t* p = in_.Take(length);
            item.EncodedData.insert(item.EncodedData.end(), p, p + length);
            if (length == 0) break;
            if (in_.AtEnd()) {
                item.EncodedData.push_back(0);
                break;
            }
        }
        if (frame.IsDamaged && !TolerateCorruptFrames) RaiseGifReadError();

        if (height == 0) height = picture_.ScreenHeight;
        if (width == 0) width = picture_.ScreenWidth;
        frame.Origin = {left, top};
        item.Width = width;
        item.Height = height;
        item.DescriptorFlags = packed;
        if (!frame.HasLocalColors) item.ColorTable = picture_.Data->GlobalColorTable;

        frame.DelayTime = 0;
        for (const auto& extension : frame.ExtensionList) {
            if (extension->Kind != ekGraphicControl) continue;
            const uint8_t* g = extension->FixedBytes.data();
            const uint8_t flags = g[1];
            const uint32_t delay = uint32_t{GetLittleEndian<uint16_t>(g + 2)} * 10;
            const uint8_t index = g[4];
            if (flags & 1) {
                if (index < item.ColorTable.Count) frame.TransparentColor = TripleToColor(item.ColorTable.Entries[index]);
            } else {
                frame.TransparentColor = clNone;
            }
            // Delays above the 16-bit range keep the largest one it holds in
            // whole hundredths, so that writing the frame again keeps it.
            frame.DelayTime = static_cast<uint16_t>(std::min<uint32_t>(std::max<uint32_t>(delay, frame.DelayTime), 65530));
            frame.DisposalMethod = (flags >> 2) & 7;
        }
    }

    TGifBytes in_;
    TGifPictureRecord& picture_;
    std::vector<TGifFrameRecord>& frames_;
};

}  // namespace

void ReadGifData(const uint8_t* data, size_t size, TGifPictureRecord& picture, std::vector<TGifFrameRecord>& frames) {
    picture.ResetRecord();
    if (size == 0) return;
    TGifReader(data, size, picture, frames).Read();
}

int FrameBitCount(int colorBits) {
    if (colorBits == 1) return 1;
    if (colorBits >= 2 && colorBits <= 4) return 4;
    if (colorBits >= 5 && colorBits <= 8) return 8;
    RaiseGifError(SWrongColorCount);
}

bool DecodeFrameToBmp(const TGIFItem& item, bool interlaced, std::vector<uint8_t>& bmp, const TGifProgress& progress) {
    const int b = FrameBitCount(item.ColorBits);
    if (item.Width <= 0 || item.Height <= 0) RaiseGifError(SGIFDecodeError);
    const size_t stride = TDibPixels::StrideOf(item.Width, b);
    const uint64_t imageSize = static_cast<uint64_t>(stride) * static_cast<uint64_t>(item.Height);
    if (imageSize > kMaxFrameBytes) throw EOutOfMemory(LoadStr(SOutOfMemory));
    const size_t colors = size_t(1) << b;
    const size_t offset = 54 + 4 * colors;
    bmp.assign(offset + static_cast<size_t>(imageSize), 0);
    bmp[0] = 'B';
    bmp[1] = 'M';
    PutLittleEndian<uint32_t>(&bmp[2], static_cast<uint32_t>(offset + imageSize));
    PutLittleEndian<uint32_t>(&bmp[10], static_cast<uint32_t>(offset));
    PutLittleEndian<uint32_t>(&bmp[14], 40);
    PutLittleEndian<uint32_t>(&bmp[18], static_cast<uint32_t>(item.Width));
    PutLittleEndian<uint32_t>(&bmp[22], static_cast<uint32_t>(item.Height));
    PutLittleEndian<uint16_t>(&bmp[26], 1);
    PutLittleEndian<uint16_t>(&bmp[28], static_cast<uint16_t>(b));
    PutLittleEndian<uint32_t>(&bmp[34], static_cast<uint32_t>(imageSize));
    for (size_t i = 0; i < colors; ++i) {
        uint8_t* entry = &bmp[54 + 4 * i];
        if (i < static_cast<size_t>(item.ColorTable.Count)) {
            const uint8_t* rgb = item.ColorTable.Entries[i];
            entry[0] = rgb[2];
            entry[1] = rgb[1];
            entry[2] = rgb[0];
            entry[3] = 0;
        } else {
            std::memset(entry, 128, 4);
        }
    }
    TDibPixels pixels;
    pixels.bits = bmp.data() + offset;
    pixels.width = item.Width;
    pixels.height = item.Height;
    pixels.bitCount = b;
    pixels.stride = stride;
    return DecodeLZW(item.EncodedData.data(), item.EncodedData.size(), pixels, interlaced, item.ColorBits,
                     TolerateCorruptFrames, progress);
}
