// Horizontal text alignment, shared by the controls that align a caption or
// their text (labels, panels, edits, check boxes, status panels).
#pragma once
#include "classlib/core/typinfo.h"

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
DECLARE_ENUM_TYPE(TAlignment)

// The left/right part of TAlignment (check boxes place their box with it).
const TTypeInfo* LeftRightType();
