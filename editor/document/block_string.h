// Length-prefixed strings of the menu document: an int32 byte count, then
// the bytes, no terminator.
#pragma once
#include <string>

class TUntypedFile;

// Writes the count and the bytes; a failed write raises EInOutError.
void WriteBlockString(TUntypedFile& file, const std::string& s);
// Reads a count and that many bytes. A failed read, a negative count or one
// beyond the end of the file raises EInOutError; s is left unchanged then.
void ReadBlockString(TUntypedFile& file, std::string& s);
