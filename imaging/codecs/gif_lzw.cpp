#include "imaging/codecs/gif_lzw.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

#include "classlib/core/exceptions.h"
#include "imaging/codecs/gif_strings.h"

namespace {

constexpr int kMaxCodeBits = 12;
constexpr uint32_t kTableSize = 1u << kMaxCodeBits;

// Reports the start and, however the coding ends, the end of a run.
class TProgressRun {
public:
    explicit TProgressRun(const TGifProgress& progress) : progress_(progress) {
        if (progress_) progress_(TGifProgressStage::Starting, 0, std::string());
    }
    ~TProgressRun() {
        if (!progress_) return;
        try {
            progress_(TGifProgressStage::Ending, failure_.empty() && !failed_ ? 100 : 0, failure_);
        } catch (...) {
        }
    }
    TProgressRun(const TProgressRun&) = delete;
    TProgressRun& operator=(const TProgressRun&) = delete;

    void Running(int64_t done, int64_t total) {
        if (!progress_ || total <= 0) return;
        const auto percent = static_cast<uint8_t>(std::lround(double(done) / double(total) * 100.0));
        if (percent == last_) return;
        last_ = percent;
        progress_(TGifProgressStage::Running, percent, std::string());
    }
    void Failed(const std::string& message) {
        failed_ = true;
        failure_ = message;
    }

private:
    const TGifProgress& progress_;
    uint8_t last_ = 255;
    bool failed_ = false;
    std::string failure_;
};

// Runs body; an exception is reported to the progress run before it passes on.
template <class F>
void WithProgress(const TGifProgress& progress, F body) {
    TProgressRun run(progress);
    try {
        body(run);
    } catch (const Exception& e) {
        run.Failed(e.Message());
        throw;
    } catch (...) {
        run.Failed(std::string());
        throw;
    }
}

// Codes packed least significant bit first across the sub-blocks, which are
// joined once so that a code never needs the block boundaries.
class TCodeReader {
public:
    TCodeReader(const uint8_t* blocks, size_t size) {
        bytes_.reserve(size + 4);
        size_t at = 0;
        while (at < size) {
            const size_t length = blocks[at++];
            const size_t take = std::min(length, size - at);
            bytes_.insert(bytes_.end(), blocks + at, blocks + at + take);
            at += take;
        }
        total_bits_ = static_cast<uint64_t>(bytes_.size()) * 8;
        bytes_.resize(bytes_.size() + 4, 0);  // a code may look at bytes past the last
    }

    // The next code of `bits` bits, or -1 when the data has too few bits left.
    int32_t Read(int bits) {
        if (position_ + static_cast<uint64_t>(bits) > total_bits_) return -1;
        const size_t at = static_cast<size_t>(position_ >> 3);
        const uint32_t window = uint32_t(bytes_[at]) | uint32_t(bytes_[at + 1]) << 8 | uint32_t(bytes_[at + 2]) << 16;
        const int32_t code = static_cast<int32_t>((window >> (position_ & 7)) & ((1u << bits) - 1));
        position_ += static_cast<uint64_t>(bits);
        return code;
    }
    uint64_t Position() const { return position_; }
    uint64_t TotalBits() const { return total_bits_; }

private:
    std::vector<uint8_t> bytes_;
    uint64_t position_ = 0;
    uint64_t total_bits_ = 0;
};

// Writes pixels in image order into the bottom-up rows.
class TPixelWriter {
public:
    TPixelWriter(const TDibPixels& target, bool interlaced, int colorBits)
        : target_(target), interlaced_(interlaced), mask_(static_cast<uint8_t>((1u << colorBits) - 1)) {
        line_ = target_.height > 0 ? target_.Row(0) : nullptr;
    }
    bool Done() const { return row_ >= target_.height || target_.width <= 0; }

    // False once the last row is complete.
    bool Put(uint32_t value) {
        const uint8_t v = static_cast<uint8_t>(value) & mask_;
        switch (target_.bitCount) {
            case 8:
                line_[x_] = v;
                break;
            case 4:
                if (x_ & 1) line_[x_ >> 1] |= v & 0x0F;
                else line_[x_ >> 1] = static_cast<uint8_t>(v << 4);
                break;
            default:
                if (x_ & 7) line_[x_ >> 3] |= static_cast<uint8_t>((v & 1) << (7 - (x_ & 7)));
                else line_[x_ >> 3] = static_cast<uint8_t>((v & 1) << 7);
                break;
        }
        if (++x_ < target_.width) return true;
        x_ = 0;
        row_ = interlaced_ ? NextInterlaceRow(row_, target_.height, pass_) : row_ + 1;
        if (row_ >= target_.height) return false;
        line_ = target_.Row(row_);
        return true;
    }

private:
    const TDibPixels& target_;
    bool interlaced_;
    uint8_t mask_;
    uint8_t* line_;
    int32_t x_ = 0, row_ = 0;
    int pass_ = 0;
};

struct TDecodeTables {
    uint16_t prefix[kTableSize];
    uint16_t suffix[kTableSize];
    uint16_t stack[kTableSize + 2];  // a whole chain, the repeated first pixel and the root
};

}  // namespace

int32_t NextInterlaceRow(int32_t row, int32_t height, int& pass) {
    const int32_t step = pass <= 1 ? 8 : pass == 2 ? 4 : 2;
    row += step;
    if (row < height) return row;
    switch (pass) {
        case 0:
            pass = 1;
            if (height > 4) return 4;
            [[fallthrough]];
        case 1:
            pass = 2;
            if (height > 2) return 2;
            [[fallthrough]];
        case 2:
            pass = 3;
            return 1;
        default:
            return row;
    }
}

bool DecodeLZW(const uint8_t* encoded, size_t size, const TDibPixels& target, bool interlaced, int colorBits,
               bool tolerant, const TGifProgress& progress) {
    bool corrupted = false;
    WithProgress(progress, [&](TProgressRun& run) {
        // Damage: either noted (the pixels so far stay) or raised.
        auto damaged = [&](bool outOfData) {
            if (!tolerant) {
                if (outOfData) RaiseGifReadError();
                RaiseGifError(SGIFDecodeError);
            }
            corrupted = true;
        };
        if (size == 0) {
            damaged(true);
            return;
        }
        int m = encoded[0];
        if (m < 2 || m > 9) {
            if (!tolerant) RaiseGifError(SGIFCodeSize);
            corrupted = true;
            m = std::clamp(m, 2, 9);
        }
        TPixelWriter out(target, interlaced, std::clamp(colorBits, 1, 8));
        if (out.Done()) return;
        auto tables = std::make_unique<TDecodeTables>();
        TCodeReader reader(encoded + 1, size - 1);

        const uint32_t clear = 1u << m, end = clear + 1, firstFree = clear + 2;
        uint32_t next = firstFree, limit = 1u << (m + 1);
        int bits = m + 1;
        bool full = false;
        int32_t old = -1;  // none: the next code must be a pixel
        uint16_t first = 0;
        uint32_t counter = 0;
        for (;;) {
            const int32_t code = reader.Read(bits);
            if (code < 0) {
                damaged(true);  // out of data before the last row
                return;
            }
            if (static_cast<uint32_t>(code) == end) return;
            if (static_cast<uint32_t>(code) == clear) {
                bits = m + 1;
                limit = 1u << bits;
                next = firstFree;
                full = false;
                old = -1;
                continue;
            }
            if (old < 0) {
                if (static_cast<uint32_t>(code) >= clear) {
                    damaged(false);
                    return;
                }
                first = static_cast<uint16_t>(code);
                old = code;
                if (!out.Put(first)) return;
                continue;
            }
            uint32_t cur = static_cast<uint32_t>(code);
            size_t sp = 0;
            if (cur > next || (cur == next && full)) {
                damaged(false);
                return;
            }
            if (cur == next) {  // not yet in the table: the previous string plus its first pixel
                tables->stack[sp++] = first;
                cur = static_cast<uint32_t>(old);
            }
            while (cur >= clear) {
                if (cur < firstFree || sp >= kTableSize) {
                    damaged(false);
                    return;
                }
                tables->stack[sp++] = tables->suffix[cur];
                cur = tables->prefix[cur];
            }
            first = static_cast<uint16_t>(cur);
            tables->stack[sp++] = first;
            while (sp)
                if (!out.Put(tables->stack[--sp])) return;
            if (!full) {
                tables->prefix[next] = static_cast<uint16_t>(old);
                tables->suffix[next] = first;
                if (++next >= limit) {
                    if (bits < kMaxCodeBits) {
                        ++bits;
                        limit <<= 1;
                    } else {
                        full = true;
                    }
                }
            }
            old = code;
            if ((++counter & 0xFFF) == 0) run.Running(static_cast<int64_t>(reader.Position()),
                                                      static_cast<int64_t>(reader.TotalBits()));
        }
    });
    return corrupted;
}

namespace {

constexpr uint32_t kHashSlots = 17777;
constexpr uint16_t kEmptySlot = 0xFFFF;

// Codes of growing width packed least significant bit first into 255-byte
// sub-blocks.
class TCodeWriter {
public:
    explicit TCodeWriter(std::vector<uint8_t>& out) : out_(out) {}
    void Emit(uint32_t code, int bits) {
        accumulator_ |= static_cast<uint64_t>(code) << count_;
        count_ += bits;
        while (count_ >= 8) {
            block_[filled_++] = static_cast<uint8_t>(accumulator_);
            accumulator_ >>= 8;
            count_ -= 8;
            if (filled_ == 255) WriteBlock();
        }
    }
    void Flush() {
        if (count_ > 0) {
            block_[filled_++] = static_cast<uint8_t>(accumulator_);
            accumulator_ = 0;
            count_ = 0;
        }
        if (filled_) WriteBlock();
        out_.push_back(0);
    }

private:
    void WriteBlock() {
        out_.push_back(static_cast<uint8_t>(filled_));
        out_.insert(out_.end(), block_, block_ + filled_);
        filled_ = 0;
    }
    std::vector<uint8_t>& out_;
    uint64_t accumulator_ = 0;
    int count_ = 0;
    uint8_t block_[255];
    size_t filled_ = 0;
};

struct TEncodeTables {
    uint16_t slot[kHashSlots];
    uint16_t prefix[kTableSize];
    uint8_t pixel[kTableSize];
};

}  // namespace

void EncodeLZW(std::vector<uint8_t>& out, const TDibPixels& source, bool interlaced, const TGifProgress& progress) {
    if (source.bitCount != 1 && source.bitCount != 4 && source.bitCount != 8) RaiseGifError(SGIFEncodeError);
    WithProgress(progress, [&](TProgressRun& run) {
        const int s = source.bitCount == 1 ? 3 : source.bitCount + 1;
        out.push_back(static_cast<uint8_t>(s - 1));
        const uint32_t clear = 1u << (s - 1), end = clear + 1;
        uint32_t lastCode = end, limit = 1u << s;
        int bits = s;
        auto tables = std::make_unique<TEncodeTables>();
        std::fill(std::begin(tables->slot), std::end(tables->slot), kEmptySlot);
        TCodeWriter writer(out);
        writer.Emit(clear, bits);

        uint32_t length = 0, prefix = 0, hash = 0;
        int32_t row = 0;
        int pass = 0;
        while (row < source.height && source.width > 0) {
            const uint8_t* line = source.Row(row);
            for (int32_t x = 0; x < source.width; ++x) {
                uint32_t k;
                if (source.bitCount == 8) k = line[x];
                else if (source.bitCount == 4) k = (x & 1) ? line[x >> 1] & 0x0F : line[x >> 1] >> 4;
                else k = (line[x >> 3] >> (7 - (x & 7))) & 1;
                if (++length == 1) {
                    prefix = k;
                    hash = k * 301 + 903;
                    continue;
                }
                hash = static_cast<uint32_t>((uint64_t(k + length + 4) * hash) % kHashSlots);
                uint32_t slot = hash;
                bool hit = false;
                while (tables->slot[slot] != kEmptySlot) {
                    const uint16_t entry = tables->slot[slot];
                    if (tables->prefix[entry] == prefix && tables->pixel[entry] == k) {
                        prefix = entry;
                        hit = true;
                        break;
                    }
                    if (++slot == kHashSlots) slot = 0;
                }
                if (hit) continue;
                writer.Emit(prefix, bits);
                ++lastCode;
                tables->slot[slot] = static_cast<uint16_t>(lastCode);
                tables->prefix[lastCode] = static_cast<uint16_t>(prefix);
                tables->pixel[lastCode] = static_cast<uint8_t>(k);
                prefix = k;
                hash = k * 301 + 903;
                length = 1;
                if (lastCode >= limit) {
                    limit <<= 1;
                    ++bits;
                } else if (lastCode >= kTableSize - 2) {
                    writer.Emit(prefix, bits);
                    writer.Emit(clear, bits);
                    length = 0;
                    lastCode = end;
                    bits = s;
                    limit = 1u << s;
                    std::fill(std::begin(tables->slot), std::end(tables->slot), kEmptySlot);
                }
            }
            row = interlaced ? NextInterlaceRow(row, source.height, pass) : row + 1;
            run.Running(row, source.height);
        }
        // A string is pending unless the image was empty or its last pixel
        // was written with a table reset.
        if (length > 0) writer.Emit(prefix, bits);
        writer.Emit(end, bits);
        writer.Flush();
    });
}
