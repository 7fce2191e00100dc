#include "classlib/core/object.h"

#include "classlib/core/typinfo.h"

const TClassInfo& TObject::StaticClass() {
    static const TClassInfo info("TObject", nullptr);
    return info;
}

const std::string& TObject::ClassName() const {
    return ClassType().Name();
}

bool TObject::InheritsFrom(const TClassInfo& ancestor) const {
    return ClassType().InheritsFrom(ancestor);
}

void TObject::Free() {
    BeforeDestruction();
    delete this;
}
