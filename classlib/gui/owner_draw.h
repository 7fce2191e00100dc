// The state of an owner-drawn item, as list and combo boxes pass it to
// their drawing code.
#pragma once
#include "classlib/core/sets.h"
#include "classlib/core/typinfo.h"
#include "classlib/gui/win32.h"

enum TOwnerDrawStateItem {
    odSelected, odGrayed, odDisabled, odChecked, odFocused, odDefault, odHotLight, odInactive, odNoAccel,
    odNoFocusRect, odReserved1, odReserved2, odComboBoxEdit
};
DECLARE_ENUM_TYPE(TOwnerDrawStateItem)
using TOwnerDrawState = TSet<TOwnerDrawStateItem>;

// From the ODS_* flags of a DRAWITEMSTRUCT.
TOwnerDrawState OwnerDrawStateFromFlags(UINT itemState);
