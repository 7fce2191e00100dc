#include "unicode/text/string_table.h"

#include <cstring>

namespace {
uint32_t Normalised(uint32_t id) {
    if ((id >> 16) == 0xFFFF) id = 0u - id;
    return id;
}

uint16_t UnitAt(const unsigned char* bytes, size_t index) {
    uint16_t unit;
    std::memcpy(&unit, bytes + 2 * index, 2);
    return unit;
}
}  // namespace

uint32_t StringTableBlock(uint32_t id) {
    return ((Normalised(id) >> 4) & 0xFFFF) + 1;
}

uint32_t StringTableEntry(uint32_t id) {
    return Normalised(id) & 15;
}

int ReadStringTableEntry(const void* block, size_t blockBytes, uint32_t entry, wchar_t* buffer, int size) {
    const auto* bytes = static_cast<const unsigned char*>(block);
    size_t units = block ? blockBytes / 2 : 0;
    size_t at = 0;
    for (uint32_t i = 0; i < (entry & 15); ++i) {
        if (at >= units) break;
        at += 1 + UnitAt(bytes, at);
    }
    size_t length = at < units ? UnitAt(bytes, at) : 0;
    size_t first = at + 1;
    // A block cut short gives the units it holds.
    if (first + length > units) length = first < units ? units - first : 0;
    if (!buffer || size <= 0) return static_cast<int>(length);
    size_t n = length < static_cast<size_t>(size - 1) ? length : static_cast<size_t>(size - 1);
    for (size_t k = 0; k < n; ++k) buffer[k] = static_cast<wchar_t>(UnitAt(bytes, first + k));
    buffer[n] = 0;
    return static_cast<int>(n);
}
