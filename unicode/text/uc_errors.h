// The Unicode layer's two exception classes: faults in the data handed to
// the layer, and conditions the layer itself should never reach.
#pragma once
#include "classlib/core/exceptions.h"

CLASSLIB_EXCEPTION(EUcGeneralError, Exception)
CLASSLIB_EXCEPTION(EUcInternalError, Exception)
