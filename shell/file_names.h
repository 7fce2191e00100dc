// A list of wide file names with objects: the shell-namespace component's
// filter masks and its multiple selection.
#pragma once
#include "unicode/wide_strings.h"

class TFileNames : public TUcStringList {
    DECLARE_CLASS(TFileNames, TUcStringList)
};
