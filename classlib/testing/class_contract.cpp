#include "classlib/testing/class_contract.h"

#include <gtest/gtest.h>

#include <exception>

#include "classlib/core/filer.h"
#include "classlib/core/strutils.h"
#include "classlib/core/typinfo.h"
#include "classlib/gui/forms.h"

namespace {

// The form a layout would create the instance in: owner of components and
// parent of controls.
class THost {
public:
    THost() : form_(MakeOwned<TForm>(nullptr)) {}

    // A fresh instance as the reader makes one: components owned by the
    // form, other classes on their own (a collection item outside a
    // collection).
    TObject* Create(const TClassInfo& info) {
        if (!info.InheritsFrom(TComponent::StaticClass())) {
            loose_.emplace_back(info.CreateInstance(nullptr));
            return loose_.back().get();
        }
        return info.CreateInstance(form_.get());
    }
    // A fresh component placed as a layout places it: named, and a control
    // inside the form.
    TComponent* Place(const TClassInfo& info) {
        auto* component = static_cast<TComponent*>(Create(info));
        component->SetName("Probe1");
        if (auto* control = dynamic_cast<TControl*>(component)) control->SetParent(form_.get());
        return component;
    }

private:
    TOwned<TForm> form_;
    std::vector<TOwned<TObject>> loose_;
};

std::string ValueText(const TTypeInfo& type, int64_t value) {
    if (type.Kind == tkEnumeration && !type.EnumName(value).empty()) return type.EnumName(value);
    if (type.Kind == tkSet) return SetToString(type, static_cast<uint32_t>(value));
    return IntToStr(value);
}

std::string Describe(const std::exception& e) {
    return std::string("raises \"") + e.what() + "\"";
}

}  // namespace

std::vector<std::string> DefaultFaults(const TClassInfo& info) {
    std::vector<std::string> faults;
    try {
        THost host;
        const TObject* instance = host.Create(info);
        for (const TPropInfo* prop : info.Props()) {
            // Only ordinal properties declare defaults; the writer leaves out
            // a value equal to it, so a fresh instance must hold it or a
            // layout that omits the value would read back wrong.
            if (!prop->PropType || !prop->PropType->IsOrdinal() || prop->Default == NoDefault) continue;
            // Exempt what the writer never files: a read-only value, and one
            // its stored rule keeps out (taken from elsewhere, such as the
            // parent's colour, or derived from other properties). Its
            // default decides nothing.
            if (!prop->HasWriter() || !prop->IsStored(*instance)) continue;
            int64_t value = GetOrdProp(*instance, *prop);
            if (value != prop->Default)
                faults.push_back(info.Name() + "." + prop->Name + " is " + ValueText(*prop->PropType, value) +
                                 ", declared default " + ValueText(*prop->PropType, prop->Default));
        }
    } catch (const std::exception& e) {
        faults.push_back(info.Name() + ": checking the defaults " + Describe(e));
    }
    return faults;
}

std::vector<std::string> RoundTripFaults(const TClassInfo& info) {
    // Layout text holds components; other persistent objects are filed as
    // their properties and travel with them.
    if (!info.InheritsFrom(TComponent::StaticClass())) return {};
    std::vector<std::string> faults;
    try {
        THost first, second;
        std::string written = WriteComponentToText(first.Place(info));
        TComponent* copy = second.Place(info);
        ReadComponentFromText(copy, written);
        std::string rewritten = WriteComponentToText(copy);
        if (rewritten != written)
            faults.push_back(info.Name() + " writes\n" + written + "but reads back as\n" + rewritten);
    } catch (const std::exception& e) {
        faults.push_back(info.Name() + ": the layout round trip " + Describe(e));
    }
    return faults;
}

void ExpectRegisteredClassesKeepTheirContract() {
    std::vector<const TClassInfo*> classes = RegisteredClasses();
    EXPECT_FALSE(classes.empty());
    for (const TClassInfo* info : classes) {
        if (!info->CanCreate()) continue;
        for (const std::string& fault : DefaultFaults(*info)) ADD_FAILURE() << fault;
        for (const std::string& fault : RoundTripFaults(*info)) ADD_FAILURE() << fault;
    }
}
