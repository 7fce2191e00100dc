#include "classlib/stdctrls/text_lines.h"

std::vector<TLineSpan> LineSpans(const std::string& text) {
    std::vector<TLineSpan> spans;
    const size_t n = text.size();
    size_t p = 0;
    while (p < n) {
        size_t start = p;
        while (p < n && text[p] != '\r' && text[p] != '\n') ++p;
        size_t end = p;
        if (p < n && text[p] == '\r') ++p;
        if (p < n && text[p] == '\n') ++p;
        spans.push_back({start, end, p});
    }
    return spans;
}

std::string AdjustLineBreaks(const std::string& text) {
    std::string result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r') {
            result += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (c == '\n') {
            result += "\r\n";
        } else {
            result += c;
        }
    }
    return result;
}

std::string ReplaceLine(const std::string& text, int index, const std::string& line) {
    TLineSpan span = LineSpans(text).at(static_cast<size_t>(index));
    std::string result = text;
    result.replace(span.Start, span.End - span.Start, line);
    return result;
}

std::string InsertLine(const std::string& text, int index, const std::string& line) {
    std::vector<TLineSpan> spans = LineSpans(text);
    std::string result = text;
    if (static_cast<size_t>(index) < spans.size()) {
        result.insert(spans[static_cast<size_t>(index)].Start, line + "\r\n");
    } else if (spans.empty() || spans.back().Next > spans.back().End) {
        // After a final line break the new line gets one of its own.
        result += line + "\r\n";
    } else {
        // The last line had no break: it gets one, the new line none.
        result += "\r\n" + line;
    }
    return result;
}

std::string DeleteLine(const std::string& text, int index) {
    TLineSpan span = LineSpans(text).at(static_cast<size_t>(index));
    std::string result = text;
    result.erase(span.Start, span.Next - span.Start);
    return result;
}
