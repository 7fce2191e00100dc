// What fileutils.cpp needs from the platform back-ends.
#pragma once
#include <string>
#include <vector>

namespace FileUtilsPlatform {

// The program's own parameters, the program name first.
std::vector<std::string> ProgramParams();
// The full path of the running program.
std::string ProgramFileName();

}  // namespace FileUtilsPlatform
