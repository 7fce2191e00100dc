// The texts file dialogs exchange with the platform: the filter in its
// zero-separated form and the selected files read back from the buffer.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

// "desc|pattern|desc|pattern" as "desc\0pattern\0desc\0pattern\0\0"; an
// empty filter stays empty (no filter at all).
std::string PlatformFilter(const std::string& filter);

// The default extension as the platform wants it: without leading dots.
std::string PlatformDefaultExt(const std::string& ext);

// The full names of the files a dialog returned in `buffer`, never reading
// beyond `size` bytes. A multi-selection is the folder followed by the
// names, separated by zeros (explorer style) or blanks (old style); a
// single file comes as its full name alone.
std::vector<std::string> SelectedFiles(const char* buffer, size_t size, bool multiSelect, bool explorerStyle);
