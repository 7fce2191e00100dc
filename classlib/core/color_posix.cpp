#include "classlib/core/color.h"

// No system colours here: ColorToRGB keeps its built-in table.
void InstallWin32SysColors() {}
