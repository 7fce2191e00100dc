// Wide texts the Unicode layer's tests use: neither has an ANSI form in a
// Western code page, where each becomes "??".
#pragma once
#include <string>

inline const std::wstring kChinese = L"\u4E2D\u6587";
inline const std::wstring kJapanese = L"\u65E5\u672C";
