// Length-prefixed strings of the menu document: an int32 byte count, then
// the bytes, no terminator.
#pragma once
#include <string>

class TByteReader;
class TByteWriter;

void WriteBlockString(TByteWriter& out, const std::string& s);
// Reads a count and that many bytes. A negative count or one beyond the
// end raises EInOutError (end of file); s is left unchanged then.
void ReadBlockString(TByteReader& in, std::string& s);
