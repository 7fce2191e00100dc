// Text helpers of the controls: shortening a text to a width, zero-terminated
// copies, splitting command lines and reading delimited tokens.
#pragma once
#include <string>

class TCanvas;

// The text, or its longest head followed by "..." that fits the width on
// the canvas; "..." at the shortest.
std::string ShortenTextToWidth(const std::string& text, TCanvas& canvas, int maxWidth);

// A new zero-terminated copy (length + 1 characters); free it with
// DisposeZeroTerminatedCopy.
char* NewZeroTerminatedCopy(const std::string& text);
void DisposeZeroTerminatedCopy(char* text);
inline std::string AssignStringValue(const std::string& text) { return text; }

// The next blank-separated token of a command line from `position`:
// double quotes group blanks into a token and are never copied; an empty
// quoted pair is skipped. Tokens have no length limit (long paths are kept
// whole). Returns where reading stopped; the token is empty at the end.
const char* NextCommandLineToken(const char* position, std::string& token);
int CountCommandLineParams(const char* commandLine);
// The token at the 0-based index, empty when there are fewer.
std::string CommandLineParam(const char* commandLine, int index);
// Token 0 is the program; the others are joined by one blank, those with
// a blank quoted again.
void SplitProgramAndParams(const std::string& commandLine, std::string& program, std::string& params);

// The text from the 1-based `position` up to the next delimiter; the
// position moves past that one delimiter (to length + 1 at the end).
std::string ExtractDelimitedToken(const std::string& text, int& position, const std::string& delimiters);
