#include "classlib/gui/owner_draw.h"

DEFINE_ENUM_TYPE(TOwnerDrawStateItem, "odSelected", "odGrayed", "odDisabled", "odChecked", "odFocused",
                 "odDefault", "odHotLight", "odInactive", "odNoAccel", "odNoFocusRect", "odReserved1",
                 "odReserved2", "odComboBoxEdit")

TOwnerDrawState OwnerDrawStateFromFlags(UINT itemState) {
    // The ODS_* bits are numbered like the items (the two reserved ones
    // excepted).
    constexpr UINT known = ODS_SELECTED | ODS_GRAYED | ODS_DISABLED | ODS_CHECKED | ODS_FOCUS | ODS_DEFAULT |
                           ODS_HOTLIGHT | ODS_INACTIVE | ODS_NOACCEL | ODS_NOFOCUSRECT | ODS_COMBOBOXEDIT;
    static_assert(ODS_NOFOCUSRECT == 1u << odNoFocusRect && ODS_COMBOBOXEDIT == 1u << odComboBoxEdit);
    return TOwnerDrawState::FromBits(static_cast<uint32_t>(itemState & known));
}
