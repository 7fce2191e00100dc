// Zero-terminated wide buffers: UTF-16 code units ended by a zero unit.
#pragma once
#include <string>

wchar_t* WideStrEnd(const wchar_t* p);
int WideStrLen(const wchar_t* p);
// Copies until maxLen units are copied or the source's zero is reached,
// then stores a zero: dest holds maxLen + 1 units.
wchar_t* WideStrLCopy(wchar_t* dest, const wchar_t* source, int maxLen);
// The first place holding c, the terminator included; nullptr when absent.
wchar_t* WideStrScan(const wchar_t* p, wchar_t c);
// Copies count units; the ranges may overlap.
wchar_t* WideStrMove(wchar_t* dest, const wchar_t* source, int count);
// A block of units code units headed by its 32-bit byte count (4 + 2 per
// unit); the address returned is that of the first code unit.
wchar_t* WideStrAlloc(int units);
// A new block holding a copy of p with its zero; nullptr for nullptr.
wchar_t* WideStrNew(const wchar_t* p);
// Releases a block made by WideStrAlloc or WideStrNew (nullptr: nothing).
void WideStrDispose(wchar_t* p);
// The byte count of the block (4 + 2 per unit).
int WideStrBufSize(const wchar_t* p);

// A wide string of the zero-terminated text, or of its first count units
// when count is not -1.
std::wstring WideStringFromBuffer(const wchar_t* text, int count);
// Copies n code units, no terminator.
void CopyWideChars(wchar_t* dest, const wchar_t* source, int n);
