#include "controls/control_strings.h"

#include "classlib/core/resstrings.h"

void RegisterControlStrings() {
    RegisterResourceStrings({{SNotImplemented, "Function not yet implemented"},
                             {SOKButton, "OK"},
                             {SCancelButton, "Cancel"},
                             {SYesButton, "&Yes"},
                             {SNoButton, "&No"},
                             {SHelpButtonKind, "&Help"},
                             {SCloseButton, "&Close"},
                             {SIgnoreButton, "&Ignore"},
                             {SRetryButton, "&Retry"},
                             {SAbortButton, "Abort"},
                             {SAllButton, "&All"},
                             {SDefaultFilter, "All files (*.*)|*.*"},
                             {SBrowse, "Browse"}});
}
