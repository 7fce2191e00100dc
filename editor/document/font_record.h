// The document's font record: charset, colour, name (length byte), pitch,
// pixels per inch, size in points, style bits.
#pragma once

class TFont;
class TUntypedFile;

// Every field is a tested write (EInOutError on failure).
void WriteFont(TUntypedFile& file, const TFont& font);
// Reads into font; the stored pixels per inch is set before the size, so
// the height follows from both. Every field is a tested read.
void ReadFont(TUntypedFile& file, TFont& font);
