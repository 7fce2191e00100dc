// Files, folders and the program's parameters.
#pragma once
#include <optional>
#include <string>
#include <vector>

// True for an existing file; false for folders and missing names.
bool FileExists(const std::string& fileName);
bool DirectoryExists(const std::string& directory);
bool DeleteFile(const std::string& fileName);
bool RenameFile(const std::string& oldName, const std::string& newName);
// The full path of a name (against the current folder); the name itself
// when the system cannot make one.
std::string ExpandFileName(const std::string& fileName);
// True when both names lead to one existing file (the same full path,
// compared without regard to case, or the same file identity).
bool SameFile(const std::string& a, const std::string& b);
// Creates one folder; its parent must exist.
bool CreateDir(const std::string& directory);
// Creates every missing folder of directory. False when one cannot be made,
// when a file stands in the way, or for an empty path.
bool ForceDirectories(const std::string& directory);
std::string GetCurrentDir();
bool SetCurrentDir(const std::string& directory);
// The folder for temporary files, with a trailing path delimiter.
std::string GetTempDirectory();

// Parameters after the program name (ParamStr(1) .. ParamStr(ParamCount())).
int ParamCount();
// 0: the program's full path; outside 0 .. ParamCount(): "".
std::string ParamStr(int index);
// Splits a command line by the classic rules: characters up to blank
// separate, double quotes group blanks into a parameter and are removed
// ("" gives an empty parameter); there is no escape character.
std::vector<std::string> ParseCommandLine(const std::string& commandLine);
// Makes ParamCount/ParamStr(1..) use commandLine (its first parameter is
// the program name, as in the real one); std::nullopt restores the real one.
void SetCommandLineForTesting(std::optional<std::string> commandLine);
