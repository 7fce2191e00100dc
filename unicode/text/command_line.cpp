#include "unicode/text/command_line.h"

const wchar_t* ScanArgument(const wchar_t* p, std::wstring& argument) {
    argument.clear();
    for (;;) {
        if (*p >= 1 && *p <= 32) ++p;
        else if (p[0] == L'"' && p[1] == L'"') p += 2;
        else break;
    }
    while (*p > 32 && argument.size() < kMaxArgumentLength) {
        if (*p != L'"') {
            argument += *p++;
            continue;
        }
        ++p;
        while (*p && *p != L'"') {
            // A quoted part is capped like the rest: its excess is skipped
            // up to the closing quote.
            if (argument.size() < kMaxArgumentLength) argument += *p;
            ++p;
        }
        if (*p == L'"') ++p;
    }
    return p;
}

std::wstring ArgumentOfCommandLine(const wchar_t* line, int index) {
    std::wstring argument;
    if (!line || index < 0) return argument;
    const wchar_t* p = line;
    for (int i = 0; i <= index; ++i) {
        p = ScanArgument(p, argument);
        if (argument.empty()) break;
    }
    return argument;
}
