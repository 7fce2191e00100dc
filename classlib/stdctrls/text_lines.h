// Lines of a multi-line text as string lists count them: a line ends at
// CR LF, LF or a lone CR; a last line without a break counts, a final break
// adds no empty line. Edits splice the text so that everything outside the
// changed line keeps its bytes.
#pragma once
#include <string>
#include <vector>

struct TLineSpan {
    size_t Start;  // first character
    size_t End;    // the line break (or the text's end)
    size_t Next;   // the next line's first character
};

std::vector<TLineSpan> LineSpans(const std::string& text);
// Every lone CR and lone LF made a CR LF.
std::string AdjustLineBreaks(const std::string& text);

// The text with line `index` replaced, inserted before line `index`
// (index == count appends) or deleted. Indexes are checked by the caller.
std::string ReplaceLine(const std::string& text, int index, const std::string& line);
std::string InsertLine(const std::string& text, int index, const std::string& line);
std::string DeleteLine(const std::string& text, int index);
