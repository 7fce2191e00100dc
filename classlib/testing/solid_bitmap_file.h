// Writes a 24-bit BMP file of one colour, for tests that need a picture on
// disk.
#pragma once
#include <cstdint>
#include <fstream>
#include <string>

#include "classlib/core/byte_fields.h"

inline void WriteSolidBmp(const std::string& name, int width, int height, uint8_t r, uint8_t g, uint8_t b) {
    const int row = (width * 3 + 3) / 4 * 4;
    std::string pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) pixels += {char(b), char(g), char(r)};
        pixels.append(static_cast<size_t>(row - width * 3), '\0');
    }
    std::string file = "BM";
    AppendLittleEndian(file, static_cast<uint32_t>(54 + pixels.size()));
    AppendLittleEndian(file, uint32_t{0});
    AppendLittleEndian(file, uint32_t{54});
    AppendLittleEndian(file, uint32_t{40});
    AppendLittleEndian(file, static_cast<int32_t>(width));
    AppendLittleEndian(file, static_cast<int32_t>(height));
    AppendLittleEndian(file, uint16_t{1});
    AppendLittleEndian(file, uint16_t{24});
    file.append(24, '\0');
    std::ofstream(name, std::ios::binary) << file << pixels;
}
