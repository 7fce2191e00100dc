#include "controls/control_strings.h"

#include "classlib/core/resstrings.h"

void RegisterControlStrings() {
    RegisterResourceStrings({{SNotImplemented, "Function not yet implemented"},
                             {SDefaultFilter, "All files (*.*)|*.*"},
                             {SBrowse, "Browse"}});
}
