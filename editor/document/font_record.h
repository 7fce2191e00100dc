// The document's font record: charset, colour, name (length byte), pitch,
// pixels per inch, size in points, style bits. The value keeps the bytes
// as stored; what a font makes of them is the holder's business.
#pragma once
#include <cstdint>
#include <string>

#include "classlib/core/color.h"

class TByteReader;
class TByteWriter;

struct TFontRecord {
    uint8_t Charset = 0;  // ANSI_CHARSET
    TColor Color = clWindowText;
    std::string Name;     // up to 255 bytes are stored
    uint8_t Pitch = 0;    // 0 default, 1 variable, 2 fixed
    int32_t PixelsPerInch = 96;
    int32_t Size = 0;     // in points
    uint8_t Style = 0;    // bit 0 bold, 1 italic, 2 underline, 3 strikeout

    bool operator==(const TFontRecord&) const = default;
};

// Writes the record; a longer name is cut to its first 255 bytes.
void WriteFont(TByteWriter& out, const TFontRecord& font);
// Reads a record; every field is a tested read (EInOutError at the end).
void ReadFont(TByteReader& in, TFontRecord& font);
