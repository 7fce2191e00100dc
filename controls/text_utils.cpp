#include "controls/text_utils.h"

#include <cstring>

#include "classlib/core/scope_exit.h"
#include "classlib/gui/canvas.h"

std::string ShortenTextToWidth(const std::string& text, TCanvas& canvas, int maxWidth) {
    std::string result = text;
    const int length = static_cast<int>(text.size());
    for (int i = 1; i <= length && canvas.TextWidth(result) > maxWidth;) {
        ++i;
        int keep = length - i > 0 ? length - i : 0;
        result = text.substr(0, static_cast<size_t>(keep)) + "...";
    }
    return result;
}

char* NewZeroTerminatedCopy(const std::string& text) {
    char* copy = new char[text.size() + 1];
    std::memcpy(copy, text.c_str(), text.size() + 1);
    return copy;
}

void DisposeZeroTerminatedCopy(char* text) { delete[] text; }

const char* NextCommandLineToken(const char* p, std::string& token) {
    token.clear();
    auto isBlank = [](char c) { return c >= 1 && static_cast<unsigned char>(c) <= 32; };
    for (;;) {
        while (isBlank(*p)) ++p;
        if (p[0] == '"' && p[1] == '"') {
            p += 2;
            continue;
        }
        break;
    }
    while (static_cast<unsigned char>(*p) > 32) {
        if (*p == '"') {
            ++p;
            while (*p && *p != '"') token += *p++;
            if (*p) ++p;
        } else {
            token += *p++;
        }
    }
    return p;
}

int CountCommandLineParams(const char* commandLine) {
    int count = 0;
    std::string token;
    for (const char* p = NextCommandLineToken(commandLine, token); !token.empty(); p = NextCommandLineToken(p, token))
        ++count;
    return count;
}

std::string CommandLineParam(const char* commandLine, int index) {
    std::string token;
    const char* p = commandLine;
    for (int i = 0; i <= index; ++i) {
        p = NextCommandLineToken(p, token);
        if (token.empty()) break;
    }
    return index >= 0 ? token : std::string();
}

void SplitProgramAndParams(const std::string& commandLine, std::string& program, std::string& params) {
    program.clear();
    params.clear();
    char* line = NewZeroTerminatedCopy(commandLine);
    TScopeExit dispose([line] { DisposeZeroTerminatedCopy(line); });
    const int count = CountCommandLineParams(line);
    if (count < 1) return;
    program = CommandLineParam(line, 0);
    for (int i = 1; i < count; ++i) {
        std::string token = CommandLineParam(line, i);
        if (token.find(' ') != std::string::npos) token = '"' + token + '"';
        params += token;
        if (i < count - 1) params += ' ';
    }
}

std::string ExtractDelimitedToken(const std::string& text, int& position, const std::string& delimiters) {
    const int length = static_cast<int>(text.size());
    if (position < 1) position = 1;
    int i = position;
    auto isDelimiter = [&](int at) { return delimiters.find(text[static_cast<size_t>(at - 1)]) != std::string::npos; };
    while (i <= length && !isDelimiter(i)) ++i;
    std::string result;
    if (i > position) result = text.substr(static_cast<size_t>(position - 1), static_cast<size_t>(i - position));
    if (i <= length) ++i;
    position = i;
    return result;
}
