// The runtime's unit start-ups and shut-downs, in the order its entry runs
// them (shut-downs in the reverse one); its tests start theirs from here too.
#pragma once
#include <span>

#include "classlib/core/unit_starts.h"

std::span<const TUnitStep> RuntimeUnits();
