// SelectDirectory: the class library's plain folder dialog (the shell's
// folder browser, through the interaction seam).
#pragma once
#include <cstdint>
#include <string>

#include "classlib/core/sets.h"
#include "classlib/core/typinfo.h"

// sdAllowCreate: a folder name may be typed, also one that does not exist;
// sdPerformCreate: such a folder is created; sdPrompt: after asking.
enum TSelectDirOpt { sdAllowCreate, sdPerformCreate, sdPrompt };
DECLARE_ENUM_TYPE(TSelectDirOpt)
using TSelectDirOpts = TSet<TSelectDirOpt>;

// Asks for a folder, starting at `directory`; true with `directory` set to
// the chosen one (without trailing backslash except at a root), false and
// unchanged when cancelled. The help context is kept for the help system,
// which the dialog does not offer.
bool SelectDirectory(std::string& directory, TSelectDirOpts options, int32_t helpContext);
