// The wide string lists' error texts.
#pragma once

inline constexpr const wchar_t* kUcListIndexError = L"Der Index der Liste \x00FC" L"berschreitet das Maximum (%d)";
inline constexpr const wchar_t* kUcSortedListError = L"Operation bei sortierten Stringlisten nicht erlaubt";
inline constexpr const wchar_t* kUcDuplicateString = L"In der Stringliste sind Duplikate nicht erlaubt";
