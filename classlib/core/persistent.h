// Objects that can be assigned to one another and filed in form layouts.
#pragma once
#include <string>

#include "classlib/core/object.h"
#include "classlib/core/typinfo.h"

class TFiler;

class TPersistent : public TObject {
    DECLARE_CLASS(TPersistent, TObject)
public:
    // Copies source into this object; the default asks the source
    // (AssignTo), which raises EConvertError when it cannot.
    virtual void Assign(const TPersistent* source);
    virtual std::string GetNamePath() const;

    // Filer properties beyond the published ones (binary data, lists).
    virtual void DefineProperties(TFiler* filer);
    virtual TPersistent* GetOwner() const { return nullptr; }

protected:
    virtual void AssignTo(TPersistent* dest) const;
    [[noreturn]] void AssignError(const TPersistent* source) const;
};
