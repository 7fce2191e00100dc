#include "unicode/text/wide_paths.h"

bool WideIsPathDelimiter(const std::wstring& s, int index) {
    return index >= 1 && index <= static_cast<int>(s.size()) && s[static_cast<size_t>(index) - 1] == L'\\';
}

std::wstring WideIncludeTrailingBackslash(const std::wstring& s) {
    if (!s.empty() && s.back() == L'\\') return s;
    return s + L'\\';
}

int WideLastDelimiter(const std::wstring& delimiters, const std::wstring& s) {
    for (size_t i = s.size(); i > 0; --i) {
        wchar_t c = s[i - 1];
        if (c != 0 && delimiters.find(c) != std::wstring::npos) return static_cast<int>(i);
    }
    return 0;
}

std::wstring WideExtractFilePath(const std::wstring& s) {
    return s.substr(0, static_cast<size_t>(WideLastDelimiter(L"\\:", s)));
}

std::wstring WideExtractFileName(const std::wstring& s) {
    return s.substr(static_cast<size_t>(WideLastDelimiter(L"\\:", s)));
}

std::wstring WideExtractFileDrive(const std::wstring& s) {
    size_t length = s.size();
    if (length >= 2 && s[1] == L':') return s.substr(0, 2);
    if (length >= 2 && s[0] == L'\\' && s[1] == L'\\') {
        // 1-based i over the server and share names.
        size_t i = 3;
        int delimiters = 0;
        while (i < length && delimiters < 2) {
            if (s[i - 1] == L'\\') ++delimiters;
            if (delimiters < 2) ++i;
        }
        if (i > length) i = length;  // "\\" alone: the units that are there
        else if (s[i - 1] == L'\\') --i;
        return s.substr(0, i);
    }
    return std::wstring();
}
