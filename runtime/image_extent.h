// Where a program file's own image ends: the end of its headers or of the
// last section's data, whichever lies further (32-bit and 64-bit images).
// A document appended to the program starts there or later.
#pragma once
#include <cstdint>
#include <string>

// -1 when the file cannot be read or is no PE image.
int64_t ProgramImageEnd(const std::string& fileName);
