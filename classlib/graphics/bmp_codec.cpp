#include "classlib/graphics/bmp_codec.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "classlib/core/byte_fields.h"
#include "classlib/core/exceptions.h"
#include "classlib/graphics/graphics_strings.h"
#include "classlib/core/streams.h"

namespace {

[[noreturn]] void RaiseInvalidBitmap() {
    throw EInvalidGraphic(GraphicsStr(SInvalidBitmap));
}

// Where the bytes come from: a stream or a memory block. Running short is
// always a corrupt picture, never a partial one.
class TByteSource {
public:
    virtual ~TByteSource() = default;
    virtual void Read(void* buffer, size_t count) = 0;
    // Bytes left, or -1 when the source cannot tell.
    virtual int64_t Remaining() = 0;

    void Skip(uint64_t count) {
        CheckAvailable(count);
        uint8_t scratch[4096];
        while (count) {
            size_t n = static_cast<size_t>(std::min<uint64_t>(count, sizeof scratch));
            Read(scratch, n);
            count -= n;
        }
    }
    // Fails early, before a large allocation, when the source is too short.
    void CheckAvailable(uint64_t count) {
        int64_t left = Remaining();
        if (left >= 0 && count > static_cast<uint64_t>(left)) RaiseInvalidBitmap();
    }
    uint16_t U16() {
        uint8_t b[2];
        Read(b, 2);
        return GetLittleEndian<uint16_t>(b);
    }
    uint32_t U32() {
        uint8_t b[4];
        Read(b, 4);
        return GetLittleEndian<uint32_t>(b);
    }
};

class TStreamSource : public TByteSource {
public:
    explicit TStreamSource(TStream& stream) : stream_(stream) {}
    void Read(void* buffer, size_t count) override {
        while (count) {
            int32_t chunk = static_cast<int32_t>(std::min<size_t>(count, 1 << 20));
            int32_t got = stream_.Read(buffer, chunk);
            if (got <= 0) RaiseInvalidBitmap();
            buffer = static_cast<uint8_t*>(buffer) + got;
            count -= static_cast<size_t>(got);
        }
    }
    int64_t Remaining() override {
        int64_t size = stream_.Size(), pos = stream_.Position();
        return size >= pos && pos >= 0 ? size - pos : -1;
    }

private:
    TStream& stream_;
};

class TMemorySource : public TByteSource {
public:
    TMemorySource(const uint8_t* data, size_t size) : data_(data), left_(size) {}
    void Read(void* buffer, size_t count) override {
        if (count > left_) RaiseInvalidBitmap();
        memcpy(buffer, data_, count);
        data_ += count;
        left_ -= count;
    }
    int64_t Remaining() override { return static_cast<int64_t>(left_); }

private:
    const uint8_t* data_;
    size_t left_;
};

constexpr uint32_t kCoreHeaderSize = 12;

bool ContiguousMask(uint32_t mask) {
    if (!mask) return false;
    while (!(mask & 1)) mask >>= 1;
    return (mask & (mask + 1)) == 0;
}

void CheckMasks(const TDibImage& image) {
    uint32_t r = image.masks[0], g = image.masks[1], b = image.masks[2];
    uint64_t limit = (uint64_t(1) << image.bitCount) - 1;
    for (uint32_t m : {r, g, b})
        if (!ContiguousMask(m) || m > limit) RaiseInvalidBitmap();
    if ((r & g) || (r & b) || (g & b)) RaiseInvalidBitmap();
}

// 16 bits 5-5-5 and 32 bits 8-8-8 are the plain BI_RGB layouts.
void NormaliseMasks(TDibImage& image) {
    const uint32_t* m = image.masks;
    bool plain16 = image.bitCount == 16 && m[0] == 0x7C00 && m[1] == 0x03E0 && m[2] == 0x001F;
    bool plain32 = image.bitCount == 32 && m[0] == 0xFF0000 && m[1] == 0xFF00 && m[2] == 0xFF;
    if (plain16 || plain32) {
        image.compression = kBiRgb;
        image.masks[0] = image.masks[1] = image.masks[2] = 0;
    }
}

void PutPixel(TDibImage& image, int32_t x, int32_t y, uint8_t index) {
    if (x < 0 || y < 0 || x >= image.width || y >= image.height) return;  // runs past the edge are clipped
    uint8_t* row = image.bits.data() + static_cast<size_t>(y) * image.Stride();
    if (image.bitCount == 8) {
        row[x] = index;
    } else {
        uint8_t& byte = row[x / 2];
        byte = (x & 1) ? static_cast<uint8_t>((byte & 0xF0) | (index & 0x0F))
                       : static_cast<uint8_t>((byte & 0x0F) | (index << 4));
    }
}

// RLE8 / RLE4 as the platform defines them; rows count from the bottom.
void DecodeRle(TDibImage& image, const std::vector<uint8_t>& data) {
    const bool rle8 = image.bitCount == 8;
    size_t pos = 0;
    auto next = [&]() -> uint8_t {
        if (pos >= data.size()) RaiseInvalidBitmap();
        return data[pos++];
    };
    int32_t x = 0, y = 0;
    for (;;) {
        uint8_t count = next(), value = next();
        if (count) {
            for (int i = 0; i < count; ++i)
                PutPixel(image, x++, y, rle8 ? value : (i & 1) ? value & 0x0F : value >> 4);
            continue;
        }
        switch (value) {
        case 0: x = 0; ++y; break;      // end of line
        case 1: return;                 // end of bitmap
        case 2: x += next(); y += next(); break;  // delta
        default: {                      // absolute run, padded to a word
            size_t bytes = rle8 ? value : (value + 1u) / 2;
            if (pos + bytes > data.size()) RaiseInvalidBitmap();
            for (int i = 0; i < value; ++i) {
                uint8_t b = data[pos + (rle8 ? i : i / 2)];
                PutPixel(image, x++, y, rle8 ? b : (i & 1) ? b & 0x0F : b >> 4);
            }
            pos += bytes + (bytes & 1);
        }
        }
        if (y >= image.height) return;
    }
}

// Reads from the info header on. consumed: bytes of the file before the
// info header; bitsOffset: where the pixels start in the file (0 for a
// packed DIB, where they follow the colour table).
TDibImage ReadDib(TByteSource& in, uint64_t consumed, uint64_t bitsOffset) {
    TDibImage image;
    const uint32_t headerSize = in.U32();
    bool core = headerSize == kCoreHeaderSize;
    if (!core && headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 108 &&
        headerSize != 124)
        RaiseInvalidBitmap();
    int64_t height;
    uint32_t sizeImage = 0, colorsUsed = 0;
    if (core) {
        image.width = in.U16();
        height = in.U16();
        in.U16();  // planes
        image.bitCount = in.U16();
    } else {
        image.width = static_cast<int32_t>(in.U32());
        height = static_cast<int32_t>(in.U32());
        in.U16();  // planes
        image.bitCount = in.U16();
        image.compression = in.U32();
        sizeImage = in.U32();
        image.xPelsPerMeter = static_cast<int32_t>(in.U32());
        image.yPelsPerMeter = static_cast<int32_t>(in.U32());
        colorsUsed = in.U32();
        in.U32();  // important colours
        uint32_t extra = headerSize - 40;
        if (extra >= 12) {
            for (uint32_t& m : image.masks) m = in.U32();
            extra -= 12;
        }
        in.Skip(extra);
    }
    consumed += headerSize;

    const bool topDown = height < 0;
    if (image.width <= 0 || height == 0 || height < -INT32_MAX) RaiseInvalidBitmap();
    image.height = static_cast<int32_t>(topDown ? -height : height);
    const uint16_t bpp = image.bitCount;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) RaiseInvalidBitmap();
    const uint32_t comp = image.compression;
    const bool rle = comp == kBiRle8 || comp == kBiRle4;
    if (!(comp == kBiRgb || (comp == kBiRle8 && bpp == 8) || (comp == kBiRle4 && bpp == 4) ||
          (comp == kBiBitfields && (bpp == 16 || bpp == 32))))
        RaiseInvalidBitmap();
    if (rle && topDown) RaiseInvalidBitmap();

    if (comp == kBiBitfields && headerSize == 40) {
        for (uint32_t& m : image.masks) m = in.U32();
        consumed += 12;
    }
    if (comp == kBiBitfields) {
        CheckMasks(image);
        NormaliseMasks(image);
    } else {
        image.masks[0] = image.masks[1] = image.masks[2] = 0;
    }

    // Colour table: needed up to 8 bits, an optional hint beyond.
    const uint64_t entrySize = core ? 3 : 4;
    uint64_t entries = bpp <= 8 ? (colorsUsed ? colorsUsed : 1u << bpp) : colorsUsed;
    if (bpp <= 8 && entries > (1u << bpp)) RaiseInvalidBitmap();
    if (bitsOffset) {
        if (bitsOffset < consumed) RaiseInvalidBitmap();
        // A table cut short by the pixel offset holds only what fits.
        entries = std::min<uint64_t>(entries, (bitsOffset - consumed) / entrySize);
    }
    in.CheckAvailable(entries * entrySize);
    if (bpp <= 8) {
        image.colors.resize(static_cast<size_t>(entries));
        for (uint32_t& c : image.colors) {
            uint8_t q[4] = {0, 0, 0, 0};
            in.Read(q, static_cast<size_t>(entrySize));
            c = q[0] | q[1] << 8 | q[2] << 16;
        }
    } else {
        in.Skip(entries * entrySize);
    }
    consumed += entries * entrySize;
    if (bitsOffset) in.Skip(bitsOffset - consumed);

    const uint64_t stride = ((uint64_t(image.width) * bpp + 31) / 32) * 4;
    const uint64_t total = stride * static_cast<uint64_t>(image.height);
    if (total > kMaxDibBytes) RaiseInvalidBitmap();
    if (rle) {
        uint64_t packed = sizeImage ? sizeImage : in.Remaining() >= 0 ? static_cast<uint64_t>(in.Remaining()) : 0;
        if (!packed || packed > kMaxDibBytes) RaiseInvalidBitmap();
        in.CheckAvailable(packed);
        std::vector<uint8_t> data(static_cast<size_t>(packed));
        in.Read(data.data(), data.size());
        image.bits.assign(static_cast<size_t>(total), 0);
        DecodeRle(image, data);
        image.compression = kBiRgb;
    } else {
        in.CheckAvailable(total);
        image.bits.resize(static_cast<size_t>(total));
        in.Read(image.bits.data(), image.bits.size());
        if (topDown) {
            std::vector<uint8_t> row(static_cast<size_t>(stride));
            for (size_t top = 0, bottom = image.height - 1u; top < bottom; ++top, --bottom) {
                uint8_t* a = image.bits.data() + top * stride;
                uint8_t* b = image.bits.data() + bottom * stride;
                memcpy(row.data(), a, row.size());
                memcpy(a, b, row.size());
                memcpy(b, row.data(), row.size());
            }
        }
    }
    return image;
}

}  // namespace

TDibImage ReadBmpFile(TStream& stream) {
    TStreamSource in(stream);
    if (in.U16() != 0x4D42) RaiseInvalidBitmap();  // "BM"
    in.U32();                           // file size: unreliable in the wild
    in.U32();                           // reserved
    uint32_t bitsOffset = in.U32();
    if (!bitsOffset) RaiseInvalidBitmap();
    return ReadDib(in, 14, bitsOffset);
}

TDibImage ReadPackedDib(const uint8_t* data, size_t size) {
    TMemorySource in(data, size);
    return ReadDib(in, 0, 0);
}

void WriteBmpFile(TStream& stream, const TDibImage& image) {
    const bool paletted = image.bitCount <= 8;
    const size_t fullTable = paletted ? size_t(1) << image.bitCount : 0;
    size_t entries = paletted ? (image.colors.empty() ? fullTable : std::min(image.colors.size(), fullTable)) : 0;
    const uint32_t maskBytes = image.compression == kBiBitfields ? 12 : 0;
    const uint32_t bitsOffset = static_cast<uint32_t>(14 + 40 + maskBytes + entries * 4);
    const size_t bitsSize = image.Stride() * static_cast<size_t>(image.height);
    if (image.bits.size() < bitsSize) RaiseInvalidBitmap();

    std::vector<uint8_t> head;
    head.reserve(bitsOffset);
    AppendLittleEndian<uint16_t>(head, 0x4D42);
    AppendLittleEndian<uint32_t>(head, static_cast<uint32_t>(bitsOffset + bitsSize));
    AppendLittleEndian<uint32_t>(head, 0);
    AppendLittleEndian<uint32_t>(head, bitsOffset);
    AppendLittleEndian<uint32_t>(head, 40);
    AppendLittleEndian<uint32_t>(head, static_cast<uint32_t>(image.width));
    AppendLittleEndian<uint32_t>(head, static_cast<uint32_t>(image.height));
    AppendLittleEndian<uint16_t>(head, 1);
    AppendLittleEndian<uint16_t>(head, image.bitCount);
    AppendLittleEndian<uint32_t>(head, image.compression);
    AppendLittleEndian<uint32_t>(head, static_cast<uint32_t>(bitsSize));
    AppendLittleEndian<uint32_t>(head, static_cast<uint32_t>(image.xPelsPerMeter));
    AppendLittleEndian<uint32_t>(head, static_cast<uint32_t>(image.yPelsPerMeter));
    AppendLittleEndian<uint32_t>(head, entries == fullTable ? 0 : static_cast<uint32_t>(entries));
    AppendLittleEndian<uint32_t>(head, 0);
    if (maskBytes)
        for (uint32_t m : image.masks) AppendLittleEndian<uint32_t>(head, m);
    for (size_t i = 0; i < entries; ++i)
        AppendLittleEndian<uint32_t>(head, i < image.colors.size() ? image.colors[i] & 0xFFFFFF : 0);
    stream.WriteBuffer(head.data(), static_cast<int32_t>(head.size()));
    stream.WriteBuffer(image.bits.data(), static_cast<int32_t>(bitsSize));
}
