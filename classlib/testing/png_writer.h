// A small PNG writer (uncompressed deflate blocks) for screenshots.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Writes 24-bit pixels (0x00RRGGBB, top-down) as a PNG file.
void WritePng(const std::string& fileName, int width, int height, const std::vector<uint32_t>& pixels);
