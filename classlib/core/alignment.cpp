#include "classlib/core/alignment.h"

DEFINE_ENUM_TYPE(TAlignment, "taLeftJustify", "taRightJustify", "taCenter")

const TTypeInfo* LeftRightType() {
    static const TTypeInfo info = MakeEnumType("TLeftRight", {"taLeftJustify", "taRightJustify"});
    return &info;
}
