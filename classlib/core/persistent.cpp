#include "classlib/core/persistent.h"

#include "classlib/core/class_builder.h"
#include "classlib/core/exceptions.h"
#include "classlib/core/resstrings.h"
#include "classlib/core/strutils.h"

const TClassInfo& TPersistent::StaticClass() {
    static const TClassInfo info = DefineClass<TPersistent>("TPersistent", &TObject::StaticClass(), [](auto&) {});
    return info;
}

void TPersistent::Assign(const TPersistent* source) {
    if (source) {
        source->AssignTo(this);
        return;
    }
    AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* dest) const {
    dest->AssignError(this);
}

void TPersistent::AssignError(const TPersistent* source) const {
    std::string sourceName = source ? source->ClassName() : "nil";
    throw EConvertError(Format(LoadStr(SAssignError), {sourceName, ClassName()}));
}

std::string TPersistent::GetNamePath() const {
    return ClassName();
}

void TPersistent::DefineProperties(TFiler*) {}
