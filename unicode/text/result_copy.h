// How the wide wrappers on the ANSI platform hand a converted result to a
// caller's buffer of size code units.
#pragma once
#include <string>

enum TResultCopyConvention : unsigned {
    rcPlain = 0,       // a too small buffer receives nothing
    rcExactFit = 1,    // size = length: size - 1 units and a zero
    rcClearFirst = 2,  // a too small buffer gets a zero first unit
    rcTruncating = 4,  // a too small buffer is filled, no terminator
    rcPathPart = 8,    // a too small buffer gets the leading path part
};

// Fits: the text and a zero, result its length. Else by convention; the
// result is the size needed including the terminator, except for the
// truncating convention (size) and an exact fit (length + 1).
int CopyAnsiResultToWide(int size, wchar_t* buffer, const std::wstring& result, unsigned convention);
