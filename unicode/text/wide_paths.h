// Wide file-name helpers: backslashes and colons delimit, positions are
// 1-based as in the class library's path routines.
#pragma once
#include <string>

// index within 1..Length(s) and s[index] is a backslash.
bool WideIsPathDelimiter(const std::wstring& s, int index);
// s with a backslash appended unless it ends in one ("" gives "\").
std::wstring WideIncludeTrailingBackslash(const std::wstring& s);
// The 1-based position of the last unit of s that is a non-zero member of
// delimiters; 0 when none.
int WideLastDelimiter(const std::wstring& delimiters, const std::wstring& s);
// Up to and including the last backslash or colon.
std::wstring WideExtractFilePath(const std::wstring& s);
// After the last backslash or colon (all of s when there is none).
std::wstring WideExtractFileName(const std::wstring& s);
// "X:" for a drive path; "\\server\share" for a UNC name; else "".
std::wstring WideExtractFileDrive(const std::wstring& s);
