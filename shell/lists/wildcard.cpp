#include "shell/lists/wildcard.h"

#include <vector>

namespace {

template <class Char>
Char AsciiUpper(Char c) {
    return c >= Char('a') && c <= Char('z') ? Char(c - Char('a') + Char('A')) : c;
}

// Decided from the ends backwards, one row per name position, so long names
// and masks full of stars cost time in proportion to their product, never
// an exponential walk or a deep recursion.
template <class Char>
bool Matches(const std::basic_string<Char>& name, const std::basic_string<Char>& mask) {
    const std::size_t n = name.size(), m = mask.size();
    // below[j]: the name from position i + 1 matches the mask from j.
    std::vector<char> below(m + 1), row(m + 1);
    auto restIsStar = [&](std::size_t j) { return j + 1 == m && mask[j] == Char('*'); };
    for (std::size_t i = n + 1; i-- > 0;) {
        for (std::size_t j = m + 1; j-- > 0;) {
            bool match;
            if (j < m && restIsStar(j)) match = true;
            else if (i == n) match = j == m;
            else if (j == m) match = false;
            else if (mask[j] == Char('*')) match = row[j + 1] || below[j];
            else if (mask[j] == Char('?')) match = below[j + 1];
            else match = AsciiUpper(name[i]) == AsciiUpper(mask[j]) && below[j + 1];
            row[j] = match;
        }
        row.swap(below);
    }
    return below[0];
}

}  // namespace

bool WildcardMatches(const std::string& name, const std::string& mask) {
    return Matches(name, mask);
}

bool WildcardMatches(const std::wstring& name, const std::wstring& mask) {
    return Matches(name, mask);
}
