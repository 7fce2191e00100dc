// Small helpers the UTF coders' tests share: texts made of code units, and
// code units and bytes shown as numbers in a failure message.
#pragma once
#include <initializer_list>
#include <string>

inline std::wstring Units(std::initializer_list<unsigned> units) {
    std::wstring w;
    for (unsigned u : units) w += static_cast<wchar_t>(u);
    return w;
}

inline std::string Show(const std::string& bytes) {
    std::string shown;
    for (unsigned char b : bytes) shown += " " + std::to_string(b);
    return shown;
}

inline std::string Show(const std::wstring& text) {
    std::string shown;
    for (wchar_t c : text) shown += " " + std::to_string(static_cast<unsigned>(c));
    return shown;
}
