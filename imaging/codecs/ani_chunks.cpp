#include "imaging/codecs/ani_chunks.h"

#include <algorithm>
#include <cstring>

#include "classlib/core/exceptions.h"
#include "classlib/core/resstrings.h"

namespace {

[[noreturn]] void ReadFailure() {
    throw EReadError(LoadStr(SReadError));
}

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t Le32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }

bool IsId(const uint8_t* p, const char (&id)[5]) { return memcmp(p, id, 4) == 0; }

uint64_t Padded(uint32_t size) { return uint64_t(size) + (size & 1); }

// The data read front to back. Skipping beyond the end is allowed, as a
// stream's seek is; reading there fails.
class TChunkCursor {
public:
    TChunkCursor(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    size_t Left() const { return size_ - pos_; }
    const uint8_t* Here() const { return data_ + pos_; }
    bool Read(void* out, size_t count) {
        if (count > Left()) return false;
        if (count) memcpy(out, data_ + pos_, count);
        pos_ += count;
        return true;
    }
    void Skip(uint64_t count) { pos_ += static_cast<size_t>(std::min<uint64_t>(count, Left())); }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

struct TChunkHeader {
    uint8_t bytes[8];
    const uint8_t* Id() const { return bytes; }
    uint32_t Size() const { return Le32(bytes + 4); }
};

class TAniReader {
public:
    TAniReader(const uint8_t* data, size_t size, const TAniIconDecoder& decodeIcon)
        : in_(data, size), decode_icon_(decodeIcon) {}

    TAniContent Read() {
        if (!HasAniSignature(in_.Here(), in_.Left())) ReadFailure();
        in_.Skip(kAniSignatureSize);
        TChunkHeader chunk;
        while (in_.Read(chunk.bytes, sizeof chunk.bytes)) {
            bool goOn = true;
            if (IsId(chunk.Id(), "anih")) goOn = ReadHeader(chunk.Size());
            else if (IsId(chunk.Id(), "rate")) goOn = ReadFrameValue(chunk.Size(), next_rate_, &TAniFrame::Rate);
            else if (IsId(chunk.Id(), "seq ")) goOn = ReadFrameValue(chunk.Size(), next_sequence_, &TAniFrame::IconNumber);
            else if (IsId(chunk.Id(), "LIST")) goOn = ReadList(chunk.Size());
            else in_.Skip(Padded(chunk.Size()));
            if (!goOn) break;
        }
        std::erase_if(content_.Frames, [](const TAniFrame& f) { return f.Icon < 0; });
        content_.Header.StepCount = static_cast<uint32_t>(content_.Frames.size());
        if (content_.Frames.empty()) ReadFailure();
        return std::move(content_);
    }

private:
    bool ReadHeader(uint32_t size) {
        const size_t take = std::min<size_t>(size, kAniHeaderSize);
        if (!in_.Read(header_bytes_, take)) return false;
        in_.Skip(Padded(size) - take);
        TAniHeader& h = content_.Header;
        uint32_t* fields[] = {&h.HeaderSize, &h.FrameCount, &h.StepCount, &h.Width, &h.Height,
                              &h.BitCount, &h.Planes, &h.DefaultRate, &h.Flags};
        for (size_t f = 0; f < std::size(fields); ++f) *fields[f] = Le32(header_bytes_ + 4 * f);
        if (!(h.Flags & kAniIconFlag) || h.StepCount == 0) ReadFailure();

        // A frame keeps only what an icon chunk gives it, and every chunk
        // still to come takes at least 8 bytes: frames that neither a later
        // icon number nor a later sequence value can reach would be dropped
        // at the end, so they are not made (a header may claim 4 billion).
        const uint64_t chunksLeft = in_.Left() / 8 + 1;
        const uint64_t base = content_.Frames.size();
        const uint64_t bySequence = next_sequence_ > base ? next_sequence_ - base : 0;
        const uint64_t reachable = std::max<uint64_t>(next_icon_, bySequence) + chunksLeft;
        const uint64_t count = std::min<uint64_t>(h.FrameCount, reachable);
        content_.Frames.reserve(static_cast<size_t>(base + count));
        for (uint64_t k = 0; k < count; ++k)
            content_.Frames.push_back({static_cast<int32_t>(h.DefaultRate), static_cast<int32_t>(k), -1});
        return true;
    }

    // "rate" and "seq ": each chunk gives one value, for the next frame.
    bool ReadFrameValue(uint32_t size, uint64_t& next, int32_t TAniFrame::*field) {
        uint8_t value[4] = {};
        const size_t take = std::min<size_t>(size, sizeof value);
        if (!in_.Read(value, take)) return false;
        in_.Skip(Padded(size) - take);
        if (next < content_.Frames.size()) content_.Frames[static_cast<size_t>(next)].*field = static_cast<int32_t>(Le32(value));
        ++next;
        return true;
    }

    bool ReadList(uint32_t size) {
        uint8_t type[4];
        if (!in_.Read(type, sizeof type)) return false;
        // A list too small for its own type ends with the type.
        int64_t remaining = std::max<int64_t>(static_cast<int64_t>(Padded(size)) - 4, 0);
        if (IsId(type, "fram")) ReadFrames(remaining);
        else if (IsId(type, "INFO")) ReadInfo(remaining);
        else in_.Skip(static_cast<uint64_t>(remaining));
        return true;
    }

    void ReadFrames(int64_t remaining) {
        TChunkHeader sub;
        while (remaining > 7) {
            if (!in_.Read(sub.bytes, sizeof sub.bytes)) return;
            remaining -= 8;
            if (IsId(sub.Id(), "icon")) {
                if (!LoadIcon(sub)) return;
                const int32_t iconIndex = static_cast<int32_t>(content_.Icons.size()) - 1;
                bool shown = false;
                for (TAniFrame& frame : content_.Frames)
                    if (frame.IconNumber == next_icon_) {
                        frame.Icon = iconIndex;
                        shown = true;
                    }
                if (!shown)
                    content_.Frames.push_back({static_cast<int32_t>(content_.Header.DefaultRate), -1, iconIndex});
                ++next_icon_;
            } else {
                in_.Skip(Padded(sub.Size()));
            }
            remaining -= static_cast<int64_t>(Padded(sub.Size()));
        }
    }

    void ReadInfo(int64_t remaining) {
        TChunkHeader sub;
        while (remaining > 7) {
            if (!in_.Read(sub.bytes, sizeof sub.bytes)) return;
            remaining -= 8;
            std::string* text = IsId(sub.Id(), "INAM")   ? &content_.Title
                                : IsId(sub.Id(), "IART") ? &content_.Creator
                                                         : nullptr;
            if (text) {
                if (sub.Size() > remaining) return;
                char buffer[kAniMaxText + 1] = {};
                const size_t take = std::min<size_t>(sub.Size(), kAniMaxText);
                if (!in_.Read(buffer, take)) return;
                in_.Skip(Padded(sub.Size()) - take);
                *text = buffer;  // as the zero-filled buffer reads: up to its first zero
            } else {
                in_.Skip(Padded(sub.Size()));
            }
            remaining -= static_cast<int64_t>(Padded(sub.Size()));
        }
    }

    // One "icon" chunk: an icon or cursor file. False when it gives no icon.
    bool LoadIcon(const TChunkHeader& chunk) {
        const uint32_t size = chunk.Size();
        if (size > in_.Left()) {
            in_.Skip(in_.Left());
            return false;
        }
        std::vector<uint8_t> file(in_.Here(), in_.Here() + size);
        in_.Skip(Padded(size));

        TAniIcon icon;
        memcpy(icon.ChunkHeader.data(), chunk.bytes, sizeof chunk.bytes);
        constexpr size_t kDirectory = 6, kEntry = 16;
        if (file.size() < kDirectory) return false;
        const uint16_t type = Le16(file.data() + 2);
        icon.FromIconResource = type == 1;
        if (type == 2) file[2] = 1;  // the platform's icon class reads cursors as icons
        else if (type != 1) return false;

        const uint16_t count = Le16(file.data() + 4);
        for (uint16_t e = 0; e < count; ++e) {
            const size_t at = kDirectory + kEntry * e;
            if (at + kEntry > file.size()) return false;
            const uint8_t* entry = file.data() + at;
            const uint32_t imageSize = Le32(entry + 8), offset = Le32(entry + 12);
            if (offset > file.size() || imageSize > file.size() - offset) return false;
            const int32_t colors = imageSize >= 16 ? AniColorsOfBitCount(Le16(file.data() + offset + 14)) : 0;
            content_.MaxIconColors = std::max(content_.MaxIconColors, colors);
            icon.HotSpotX = Le16(entry + 4);
            icon.HotSpotY = Le16(entry + 6);
        }
        std::optional<TAniIconSize> decoded = decode_icon_(file.data(), file.size());
        if (!decoded) return false;
        if (icon.FromIconResource) {
            icon.HotSpotX = decoded->Width / 2;
            icon.HotSpotY = decoded->Height / 2;
        }
        content_.Icons.push_back(icon);
        return true;
    }

    TChunkCursor in_;
    const TAniIconDecoder& decode_icon_;
    TAniContent content_;
    uint8_t header_bytes_[kAniHeaderSize] = {};
    uint64_t next_rate_ = 0, next_sequence_ = 0;
    int32_t next_icon_ = 0;
};

}  // namespace

bool HasAniSignature(const uint8_t* data, size_t size) {
    return size >= kAniSignatureSize && IsId(data, "RIFF") && IsId(data + 8, "ACON");
}

int32_t AniColorsOfBitCount(uint32_t bitCount) {
    switch (bitCount) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
    }
}

TAniContent ReadAniChunks(const uint8_t* data, size_t size, const TAniIconDecoder& decodeIcon) {
    return TAniReader(data, size, decodeIcon).Read();
}
