// Splitting a wide command line into arguments.
#pragma once
#include <string>

// Longest argument, in code units; a longer one ends at the limit and the
// rest of the line starts the next argument.
constexpr size_t kMaxArgumentLength = 4096;

// Scans one argument from p: blanks, control characters and empty quoted
// pairs ("") are skipped; a quoted part is taken without its quotes,
// blanks included. Gives the position where scanning stopped.
const wchar_t* ScanArgument(const wchar_t* p, std::wstring& argument);
// Argument index (1 = the first after the program) of the zero-terminated
// line; empty when the line has too few.
std::wstring ArgumentOfCommandLine(const wchar_t* line, int index);
