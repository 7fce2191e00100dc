// The bytes of an icon list in layouts: a 32-bit count of places, then per
// place a 32-bit size and that many bytes of an icon file; a size of 0 (or
// less) is an empty place. Integers are little-endian.
#pragma once
#include <cstdint>
#include <vector>

class TStream;

// Both raise EReadError "Stream-Read-Fehler" when the stream ends early. A
// size is checked against what the stream holds before anything is
// allocated for it.
int32_t ReadIconListCount(TStream& stream);
// The next place's icon file; empty for an empty place.
std::vector<uint8_t> ReadIconListPlace(TStream& stream);

void WriteIconListCount(TStream& stream, int32_t count);
// An empty file writes an empty place.
void WriteIconListPlace(TStream& stream, const std::vector<uint8_t>& iconFile);
