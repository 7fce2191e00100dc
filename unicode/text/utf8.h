// UTF-8 between wide strings (UTF-16 code units) and 8-bit strings. The
// encoder takes each code unit on its own (surrogates become three bytes
// each); the decoder accepts overlong forms (C0 80 is U+0000) and turns
// four-byte sequences into surrogate pairs.
#pragma once
#include <string>

// No source: 0. No dest: the bytes needed plus 1. Else the encoded bytes
// and a terminating zero, never splitting a character at the end of dest,
// and the count written including the zero (0 when destSize < 1).
int EncodeUtf8Buffer(char* dest, int destSize, const wchar_t* source, int sourceCount);
// No source: 0; malformed input: -1; else the code units written (or
// counted, with no dest) plus 1, dest zero-terminated. A surrogate pair
// that would not fit before the terminator is not written.
int DecodeUtf8Buffer(wchar_t* dest, int destSize, const char* source, int sourceCount);

std::string WideToUtf8(const std::wstring& text);
// Malformed input gives the empty string, no error.
std::wstring Utf8ToWide(const std::string& text);
