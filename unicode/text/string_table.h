// Reading one entry of a string-table resource block: 16 entries, each a
// 16-bit length followed by that many UTF-16 code units.
#pragma once
#include <cstddef>
#include <cstdint>

// The block that holds string id (numbered from 1) and the entry within it.
// An id whose high 16 bits are all ones is negated first.
uint32_t StringTableBlock(uint32_t id);
uint32_t StringTableEntry(uint32_t id);

// With no buffer or size <= 0 the entry's length; else min(size - 1,
// length) units are copied, a zero stored after them, and their number
// returned. Reads never pass the block's blockBytes; a truncated block
// gives what it holds.
int ReadStringTableEntry(const void* block, size_t blockBytes, uint32_t entry, wchar_t* buffer, int size);
