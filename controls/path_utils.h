// Path helpers of the file-name and folder edit boxes: validity of a name,
// folder tests and the long and short forms of each path component.
#pragma once
#include <string>

// The path less one trailing "\", except for a drive root ("C:\") and a
// lone "\".
std::string RemoveTrailingBackslash(const std::string& path);
bool IsExistingDirectory(const std::string& path);
// Whether any byte of `chars` occurs in the text.
bool ContainsAnyChar(const std::string& text, const std::string& chars);
// Not empty, none of < > " [ ] |, and a name part without "\".
bool IsValidFileName(const std::string& name);
// The file system's long name of the last component (or its short name
// when it has no other); empty when the path names nothing.
std::string GetLongPathPart(const std::string& path);
// The short (8.3) name of the last component, or its long name when it has
// no separate short one; empty when the path names nothing.
std::string GetShortPathPart(const std::string& path);
// Each component replaced by its long / short name, looked up with the
// whole path up to it and joined by "\"; what comes before the first
// separator stays as written and a component that names nothing becomes
// empty.
std::string ExpandToLongPath(const std::string& path);
std::string ExpandToShortPath(const std::string& path);
