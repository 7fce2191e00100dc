// The look of a button's border: the older single frame or the newer
// double one; auto-detect takes the newer one.
#pragma once
#include "classlib/core/typinfo.h"

enum TButtonStyle { bsAutoDetect, bsWin31, bsNew };
DECLARE_ENUM_TYPE(TButtonStyle)
