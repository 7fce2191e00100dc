#include "imaging/codecs/ani_chunks.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <queue>
#include <unordered_map>

#include "classlib/core/byte_fields.h"
#include "classlib/core/exceptions.h"
#include "classlib/core/resstrings.h"

namespace {

[[noreturn]] void ReadFailure() {
    throw EReadError(LoadStr(SReadError));
}

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
    uint32_t Size() const { return GetLittleEndian<uint32_t>(bytes + 4); }
};

// The frame list as the chunks build it, in stretches, so that a header
// claiming four billion frames or a file of hundreds of headers costs only
// its chunks: a header's stretch holds its frames, frame k asking for icon
// number k at the header's rate; a single frame is one made for an icon that
// no frame asked for. Rate and sequence values are kept by frame index.
struct TStretch {
    uint64_t first;  // index of its first frame
    uint64_t count;
    int32_t rate;
    int32_t icon;    // header: icons loaded before it; single frame: its icon
    bool header;
};

// A "rate" or "seq " value for the frame at index; iconsBefore: the icons
// loaded when it came.
struct TFrameValue {
    uint64_t index;
    int32_t value;
    int32_t iconsBefore;
};

class TAniReader {
public:
    TAniReader(const uint8_t* data, size_t size, const TAniIconDecoder& decodeIcon)
        : in_(data, size), decode_icon_(decodeIcon), max_frames_(size / 8) {}

    TAniContent Read() {
        if (!HasAniSignature(in_.Here(), in_.Left())) ReadFailure();
        in_.Skip(kAniSignatureSize);
        TChunkHeader chunk;
        while (in_.Read(chunk.bytes, sizeof chunk.bytes)) {
            bool goOn = true;
            if (IsId(chunk.Id(), "anih")) goOn = ReadHeader(chunk.Size());
            else if (IsId(chunk.Id(), "rate")) goOn = ReadFrameValue(chunk.Size(), next_rate_, rates_, false);
            else if (IsId(chunk.Id(), "seq ")) goOn = ReadFrameValue(chunk.Size(), next_sequence_, sequences_, true);
            else if (IsId(chunk.Id(), "LIST")) goOn = ReadList(chunk.Size());
            else in_.Skip(Padded(chunk.Size()));
            if (!goOn) break;
        }
        MakeFramesWithIcons();
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
        for (size_t f = 0; f < std::size(fields); ++f) *fields[f] = GetLittleEndian<uint32_t>(header_bytes_ + 4 * f);
        if (!(h.Flags & kAniIconFlag) || h.StepCount == 0) ReadFailure();
        if (h.FrameCount == 0) return true;
        stretches_.push_back({frame_count_, h.FrameCount, static_cast<int32_t>(h.DefaultRate), next_icon_, true});
        frame_count_ += h.FrameCount;
        if (h.FrameCount > static_cast<uint32_t>(next_icon_)) open_headers_.push(h.FrameCount);
        return true;
    }

    // "rate" and "seq ": each chunk gives one value, for the next frame.
    bool ReadFrameValue(uint32_t size, uint64_t& next, std::vector<TFrameValue>& values, bool renumbers) {
        uint8_t bytes[4] = {};
        const size_t take = std::min<size_t>(size, sizeof bytes);
        if (!in_.Read(bytes, take)) return false;
        in_.Skip(Padded(size) - take);
        if (next < frame_count_) {
            const TFrameValue value{next, static_cast<int32_t>(GetLittleEndian<uint32_t>(bytes)), next_icon_};
            if (renumbers) Renumber(value);
            values.push_back(value);
        }
        ++next;
        return true;
    }

    // A frame asks for another icon number from now on.
    void Renumber(const TFrameValue& value) {
        auto after = std::upper_bound(stretches_.begin(), stretches_.end(), value.index,
                                      [](uint64_t index, const TStretch& s) { return index < s.first; });
        const TStretch& stretch = *--after;
        const uint64_t before = value.index - stretch.first;
        if (stretch.header && before >= static_cast<uint64_t>(value.iconsBefore)) --renumbered_[before];
        if (value.value >= value.iconsBefore) ++renumbered_[static_cast<uint64_t>(value.value)];
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
                if (FramesAskingFor(next_icon_) == 0) {
                    stretches_.push_back(
                        {frame_count_, 1, static_cast<int32_t>(content_.Header.DefaultRate), next_icon_, false});
                    ++frame_count_;
                }
                ++next_icon_;
            } else {
                in_.Skip(Padded(sub.Size()));
            }
            remaining -= static_cast<int64_t>(Padded(sub.Size()));
        }
    }

    // Frames whose icon number is now `number`: one of every header with
    // more frames, changed by the sequence values so far.
    int64_t FramesAskingFor(int32_t number) {
        while (!open_headers_.empty() && open_headers_.top() <= static_cast<uint64_t>(number)) open_headers_.pop();
        int64_t frames = static_cast<int64_t>(open_headers_.size());
        if (auto changed = renumbered_.find(static_cast<uint64_t>(number)); changed != renumbered_.end()) {
            frames += changed->second;
            renumbered_.erase(changed);
        }
        return frames;
    }

    // The frames that end with an icon, in list order; the others are
    // dropped. A frame shows the last icon that came while it asked for
    // that icon's number. With one header, every frame owes its icon to an
    // "icon" or "seq " chunk of its own, so no file has more frames than
    // chunks; headers that ask for the same icons again could, and such a
    // file is refused.
    void MakeFramesWithIcons() {
        const int32_t icons = next_icon_;
        size_t rate = 0, sequence = 0;
        auto add = [&](uint64_t index, const TStretch& stretch, int32_t number, int32_t icon) {
            while (rate < rates_.size() && rates_[rate].index < index) ++rate;
            const bool rated = rate < rates_.size() && rates_[rate].index == index;
            if (content_.Frames.size() >= max_frames_) ReadFailure();
            content_.Frames.push_back({rated ? rates_[rate].value : stretch.rate, number, icon});
        };
        // A sequence value's icon when that icon came after it, else the
        // icon the frame had.
        auto iconAfter = [&](const TFrameValue& value, int32_t before) {
            return value.value >= value.iconsBefore && value.value < icons ? value.value : before;
        };
        for (const TStretch& stretch : stretches_) {
            const uint64_t end = stretch.first + stretch.count;
            if (!stretch.header) {
                if (sequence < sequences_.size() && sequences_[sequence].index == stretch.first) {
                    const TFrameValue& value = sequences_[sequence++];
                    add(stretch.first, stretch, value.value, iconAfter(value, stretch.icon));
                } else {
                    add(stretch.first, stretch, -1, stretch.icon);
                }
                continue;
            }
            // Frame k shows icon k when that icon came after the header.
            const uint64_t from = stretch.first + std::min<uint64_t>(static_cast<uint64_t>(stretch.icon), stretch.count);
            const uint64_t to = stretch.first + std::min<uint64_t>(static_cast<uint64_t>(icons), stretch.count);
            uint64_t at = from;
            for (;;) {
                const bool changed = sequence < sequences_.size() && sequences_[sequence].index < end;
                const uint64_t next = changed ? sequences_[sequence].index : end;
                for (; at < to && at < next; ++at) {
                    const auto k = static_cast<int32_t>(at - stretch.first);
                    add(at, stretch, k, k);
                }
                if (!changed) break;
                const TFrameValue& value = sequences_[sequence++];
                const uint64_t k = value.index - stretch.first;
                const bool hadOwn = value.index >= from && value.index < to && k < static_cast<uint64_t>(value.iconsBefore);
                const int32_t icon = iconAfter(value, hadOwn ? static_cast<int32_t>(k) : -1);
                if (icon >= 0) add(value.index, stretch, value.value, icon);
                if (at == value.index) ++at;
            }
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
        const uint16_t type = GetLittleEndian<uint16_t>(file.data() + 2);
        icon.FromIconResource = type == 1;
        if (type == 2) file[2] = 1;  // the platform's icon class reads cursors as icons
        else if (type != 1) return false;

        const uint16_t count = GetLittleEndian<uint16_t>(file.data() + 4);
        for (uint16_t e = 0; e < count; ++e) {
            const size_t at = kDirectory + kEntry * e;
            if (at + kEntry > file.size()) return false;
            const uint8_t* entry = file.data() + at;
            const uint32_t imageSize = GetLittleEndian<uint32_t>(entry + 8), offset = GetLittleEndian<uint32_t>(entry + 12);
            if (offset > file.size() || imageSize > file.size() - offset) return false;
            const int32_t colors = imageSize >= 16 ? AniColorsOfBitCount(GetLittleEndian<uint16_t>(file.data() + offset + 14)) : 0;
            content_.MaxIconColors = std::max(content_.MaxIconColors, colors);
            icon.HotSpotX = GetLittleEndian<uint16_t>(entry + 4);
            icon.HotSpotY = GetLittleEndian<uint16_t>(entry + 6);
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
    int32_t next_icon_ = 0;  // also the number of icons loaded
    const size_t max_frames_;
    std::vector<TStretch> stretches_;
    uint64_t frame_count_ = 0;  // of the stretches, with the frames that get no icon
    std::vector<TFrameValue> rates_, sequences_;
    // Frame counts of the headers with frames that still ask for icons to come.
    std::priority_queue<uint64_t, std::vector<uint64_t>, std::greater<uint64_t>> open_headers_;
    // Icon number to come -> frames that sequence values made ask for it (+) or not (-).
    std::unordered_map<uint64_t, int64_t> renumbered_;
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
