#include "shell/file_names.h"

#include "classlib/core/class_builder.h"

const TClassInfo& TFileNames::StaticClass() {
    static const TClassInfo info =
        DefineClass<TFileNames>("TFileNames", &TUcStringList::StaticClass(), [](auto& c) { c.Creatable(); });
    return info;
}
