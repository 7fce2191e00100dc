// Recognising the byte-order mark at the start of a text.
#pragma once
#include <cstdint>

class TStream;

enum TTextEncoding : uint8_t { teAnsi = 0, teUtf16LE = 1, teUtf16BE = 2, teUtf8 = 3 };

// Reads the mark at the stream's position: FF FE and FE FF (UTF-16) and
// EF BB BF (UTF-8) are consumed; without a mark the position stays.
TTextEncoding DetectByteOrderMark(TStream& stream);
