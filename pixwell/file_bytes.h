// Reading a whole picture file into memory.
#pragma once
#include <cstdint>
#include <vector>

// Largest picture file the library reads.
constexpr long kMaxFileBytes = 512L << 20;

// False when the file cannot be opened or read, or is empty or too large.
bool ReadFileBytes(const char* fileName, std::vector<uint8_t>& bytes);
