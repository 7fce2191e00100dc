#include "unicode/text/wide_buffers.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

wchar_t* WideStrEnd(const wchar_t* p) {
    while (*p) ++p;
    return const_cast<wchar_t*>(p);
}

int WideStrLen(const wchar_t* p) {
    return static_cast<int>(WideStrEnd(p) - p);
}

wchar_t* WideStrLCopy(wchar_t* dest, const wchar_t* source, int maxLen) {
    int i = 0;
    for (; i < maxLen && source[i]; ++i) dest[i] = source[i];
    dest[i] = 0;
    return dest;
}

wchar_t* WideStrScan(const wchar_t* p, wchar_t c) {
    for (;; ++p) {
        if (*p == c) return const_cast<wchar_t*>(p);
        if (!*p) return nullptr;
    }
}

wchar_t* WideStrMove(wchar_t* dest, const wchar_t* source, int count) {
    if (count > 0) std::memmove(dest, source, static_cast<size_t>(count) * sizeof(wchar_t));
    return dest;
}

// The header keeps the byte count the block was described with (4 + 2 per
// unit, whatever the width of wchar_t here); it sits in front of the units,
// padded so they stay aligned.
namespace {
constexpr size_t kHeader = sizeof(wchar_t) > 4 ? sizeof(wchar_t) : 4;
}

wchar_t* WideStrAlloc(int units) {
    if (units < 0) units = 0;
    auto* raw = static_cast<unsigned char*>(std::malloc(kHeader + static_cast<size_t>(units) * sizeof(wchar_t)));
    if (!raw) throw std::bad_alloc();
    int32_t bytes = 4 + 2 * units;
    std::memcpy(raw, &bytes, 4);
    return reinterpret_cast<wchar_t*>(raw + kHeader);
}

wchar_t* WideStrNew(const wchar_t* p) {
    if (!p) return nullptr;
    int n = WideStrLen(p) + 1;
    wchar_t* block = WideStrAlloc(n);
    std::memcpy(block, p, static_cast<size_t>(n) * sizeof(wchar_t));
    return block;
}

void WideStrDispose(wchar_t* p) {
    if (p) std::free(reinterpret_cast<unsigned char*>(p) - kHeader);
}

int WideStrBufSize(const wchar_t* p) {
    int32_t bytes;
    std::memcpy(&bytes, reinterpret_cast<const unsigned char*>(p) - kHeader, 4);
    return bytes;
}

std::wstring WideStringFromBuffer(const wchar_t* text, int count) {
    if (!text) return std::wstring();
    if (count == -1) return std::wstring(text);
    return std::wstring(text, static_cast<size_t>(count < 0 ? 0 : count));
}

void CopyWideChars(wchar_t* dest, const wchar_t* source, int n) {
    if (n > 0) std::memcpy(dest, source, static_cast<size_t>(n) * sizeof(wchar_t));
}
