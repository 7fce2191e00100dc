// File-name masks with "*" (any run of characters, also none) and "?" (one
// character); other characters compare without regard to the case of ASCII
// letters. A mask whose rest is exactly "*" matches any remainder, while the
// end of the name matches only the end of the mask, so "*.*" needs a dot and
// a mask ending in "**" needs at least one more character.
#pragma once
#include <string>

bool WildcardMatches(const std::string& name, const std::string& mask);
bool WildcardMatches(const std::wstring& name, const std::wstring& mask);
