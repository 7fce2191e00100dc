// Tests' and fuzz seeds' helpers: icon, cursor and animated-cursor files
// built in memory, and a decoder that accepts the icons built here.
#pragma once
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "imaging/codecs/ani_chunks.h"

namespace ani_test {

inline void Put16(std::string& out, uint32_t v) {
    out.push_back(static_cast<char>(v));
    out.push_back(static_cast<char>(v >> 8));
}
inline void Put32(std::string& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

inline std::vector<uint8_t> Bytes(const std::string& s) {
    return std::vector<uint8_t>(s.begin(), s.end());
}

// One image: every pixel `rgb` (0x00RRGGBB), opaque. Up to 8 bits the
// colour is palette entry 1 (entry 0 is black).
inline std::string IconImage(int width, int height, int bitCount, uint32_t rgb) {
    std::string image;
    const size_t stride = (size_t(width) * bitCount + 31) / 32 * 4, maskStride = (size_t(width) + 31) / 32 * 4;
    Put32(image, 40);
    Put32(image, static_cast<uint32_t>(width));
    Put32(image, static_cast<uint32_t>(2 * height));
    Put16(image, 1);
    Put16(image, static_cast<uint32_t>(bitCount));
    Put32(image, 0);
    Put32(image, static_cast<uint32_t>((stride + maskStride) * height));
    for (int i = 0; i < 4; ++i) Put32(image, 0);
    if (bitCount <= 8) {
        Put32(image, 0);
        Put32(image, rgb);
        for (int i = 2; i < (1 << bitCount); ++i) Put32(image, 0);
    }
    std::string row(stride, '\0');
    for (int x = 0; x < width; ++x) {
        switch (bitCount) {
        case 1: row[x / 8] = static_cast<char>(row[x / 8] | 0x80 >> (x % 8)); break;
        case 4: row[x / 2] = static_cast<char>(row[x / 2] | (x % 2 ? 0x01 : 0x10)); break;
        case 8: row[x] = 1; break;
        default:
            row[3 * x] = static_cast<char>(rgb);
            row[3 * x + 1] = static_cast<char>(rgb >> 8);
            row[3 * x + 2] = static_cast<char>(rgb >> 16);
        }
    }
    for (int y = 0; y < height; ++y) image += row;
    image += std::string(maskStride * height, '\0');
    return image;
}

// An icon file (type 1) or cursor file (type 2, with its hot spot) of one
// image.
inline std::string IconFile(int width, int height, int bitCount, uint32_t rgb, int type = 1, uint16_t hotX = 0,
                            uint16_t hotY = 0) {
    const std::string image = IconImage(width, height, bitCount, rgb);
    std::string file;
    Put16(file, 0);
    Put16(file, static_cast<uint32_t>(type));
    Put16(file, 1);
    file.push_back(static_cast<char>(width));
    file.push_back(static_cast<char>(height));
    file.push_back(static_cast<char>(bitCount <= 8 ? (1 << bitCount) & 0xFF : 0));
    file.push_back(0);
    if (type == 2) {
        Put16(file, hotX);
        Put16(file, hotY);
    } else {
        Put16(file, 1);
        Put16(file, static_cast<uint32_t>(bitCount));
    }
    Put32(file, static_cast<uint32_t>(image.size()));
    Put32(file, 22);
    return file + image;
}

// id, size, data and the pad byte of an odd size.
inline std::string Chunk(const char* id, const std::string& data) {
    std::string chunk(id, 4);
    Put32(chunk, static_cast<uint32_t>(data.size()));
    chunk += data;
    if (data.size() % 2) chunk.push_back('\0');
    return chunk;
}

inline std::string List(const char* type, const std::string& chunks) {
    return Chunk("LIST", std::string(type, 4) + chunks);
}

inline std::string Riff(const std::string& chunks) {
    std::string file("RIFF");
    Put32(file, static_cast<uint32_t>(4 + chunks.size()));
    return file + "ACON" + chunks;
}

inline std::string Anih(uint32_t frames, uint32_t steps, uint32_t rate, uint32_t flags = kAniIconFlag) {
    std::string data;
    for (uint32_t v : {uint32_t(kAniHeaderSize), frames, steps, 0u, 0u, 0u, 0u, rate, flags}) Put32(data, v);
    return Chunk("anih", data);
}

inline std::string Value(const char* id, uint32_t value) {
    std::string data;
    Put32(data, value);
    return Chunk(id, data);
}

// 32x32 icons of these colours in a "fram" list.
inline std::string FrameList(const std::vector<uint32_t>& colors, int bitCount = 24) {
    std::string icons;
    for (uint32_t rgb : colors) icons += Chunk("icon", IconFile(32, 32, bitCount, rgb));
    return List("fram", icons);
}

// An animation of one frame per colour at the given rate.
inline std::string Animation(const std::vector<uint32_t>& colors, uint32_t rate = 10) {
    const auto n = static_cast<uint32_t>(colors.size());
    return Riff(Anih(n, n, rate) + FrameList(colors));
}

// 500 headers of four billion frames each, then one icon: 25 KB.
inline std::string ManyHeaders() {
    std::string chunks;
    for (int i = 0; i < 500; ++i) chunks += Anih(0xFFFFFFFFu, 1, 6);
    return Riff(chunks + FrameList({1}));
}

// Accepts what the platform's icon class accepts of the files built here:
// type 1, at least one image, the first a bitmap with a 40-byte header
// inside the file. Returns that image's size.
inline std::optional<TAniIconSize> ProbeIcon(const uint8_t* file, size_t size) {
    auto le16 = [&](size_t at) { return uint32_t(file[at] | file[at + 1] << 8); };
    auto le32 = [&](size_t at) { return le16(at) | le16(at + 2) << 16; };
    if (size < 22 || le16(0) != 0 || le16(2) != 1 || le16(4) == 0) return std::nullopt;
    const uint32_t imageSize = le32(14), offset = le32(18);
    if (offset > size || imageSize > size - offset || imageSize < 40 || le32(offset) != 40) return std::nullopt;
    const auto width = static_cast<int32_t>(le32(offset + 4)), height = static_cast<int32_t>(le32(offset + 8)) / 2;
    if (width <= 0 || height <= 0 || width > 1024 || height > 1024) return std::nullopt;
    return TAniIconSize{width, height};
}

inline TAniContent Read(const std::string& file, const TAniIconDecoder& decode = ProbeIcon) {
    return ReadAniChunks(reinterpret_cast<const uint8_t*>(file.data()), file.size(), decode);
}

}  // namespace ani_test
