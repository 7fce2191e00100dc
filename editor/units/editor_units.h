// The editor's unit start-ups and shut-downs, in the order its entry runs
// them (shut-downs in the reverse one). The tests of the editor and of the
// layers beneath it start their units from this table too.
#pragma once
#include <span>

#include "classlib/core/unit_starts.h"

std::span<const TUnitStep> EditorUnits();
