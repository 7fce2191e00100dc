#include "unicode/wide_filing.h"

#include "classlib/core/scope_exit.h"
#include "unicode/code_pages.h"
#include "unicode/text/utf7.h"
#include "unicode/text/utf8.h"

bool UtfStreamingAtRunTime = false;

void StartWideStringFiling() {
    UtfStreamingAtRunTime = true;
}

bool UtfReadingEnabled(const TReader* reader) {
    if (!reader || !reader->Owner()) return false;
    if (reader->Owner()->ComponentState().Contains(csDesigning)) return true;
    return UtfStreamingAtRunTime;
}

bool NeedsMoreThan7Bits(const std::wstring& text) {
    return WideFromSystemAnsi(WideToUtf8(text)) != text;
}

std::wstring GetWideStrPropValue(const TObject& instance, const TPropInfo& prop) {
    return GetWideStrProp(instance, prop);
}

void SetWideStrPropValue(TObject& instance, const TPropInfo& prop, const std::wstring& value) {
    SetWideStrProp(instance, prop, value);
}

namespace {

// The same property on the object the writer compares with, if any.
const TPropInfo* AncestorProp(const TFiler* filer, const TPropInfo& prop) {
    TPersistent* ancestor = filer->Ancestor();
    return ancestor ? GetPropInfo(*ancestor, prop.Name) : nullptr;
}

}  // namespace

// --- wide-string properties ---------------------------------------------------

void TUcWideStringPropertyFiler::DefineProperties(TFiler* filer, TPersistent* instance, const TPropInfo& prop) {
    instance_ = instance;
    prop_ = &prop;
    TScopeExit clear([this] {
        instance_ = nullptr;
        prop_ = nullptr;
    });
    // The UTF-8 companion of earlier layouts is read, never written.
    filer->DefineProperty(prop.Name + "W", [this](TReader* r) { ReadDataUtf8(r); }, nullptr, false);
    filer->DefineProperty(prop.Name + "_UTF7", [this](TReader* r) { ReadDataUtf7(r); },
                          [this](TWriter* w) { WriteDataUtf7(w); }, HasDataUtf7(filer));
}

void TUcWideStringPropertyFiler::ReadDataUtf8(TReader* reader) {
    std::string bytes = reader->ReadString();
    if (UtfReadingEnabled(reader)) SetWideStrPropValue(*instance_, *prop_, Utf8ToWide(bytes));
}

void TUcWideStringPropertyFiler::ReadDataUtf7(TReader* reader) {
    std::string bytes = reader->ReadString();
    if (UtfReadingEnabled(reader)) SetWideStrPropValue(*instance_, *prop_, Utf7ToWide(bytes));
}

void TUcWideStringPropertyFiler::WriteDataUtf7(TWriter* writer) {
    writer->WriteString(WideToUtf7(GetWideStrPropValue(*instance_, *prop_)));
}

bool TUcWideStringPropertyFiler::HasDataUtf7(TFiler* filer) const {
    if (!dynamic_cast<TWriter*>(filer)) return false;
    if (!prop_->IsStored(*instance_)) return false;
    std::wstring value = GetWideStrPropValue(*instance_, *prop_);
    if (const TPropInfo* ancestorProp = AncestorProp(filer, *prop_)) {
        if (value == GetWideStrPropValue(*filer->Ancestor(), *ancestorProp)) return false;
    }
    return !value.empty() && NeedsMoreThan7Bits(value);
}

// --- wide-character properties -------------------------------------------------

void TUcWideCharPropertyFiler::DefineProperties(TFiler* filer, TPersistent* instance, const TPropInfo& prop) {
    instance_ = instance;
    prop_ = &prop;
    TScopeExit clear([this] {
        instance_ = nullptr;
        prop_ = nullptr;
        writer_ = nullptr;
    });
    auto* writer = dynamic_cast<TWriter*>(filer);
    filer->DefineProperty(prop.Name + "W", [this](TReader* r) { ReadDataW(r); },
                          [this](TWriter* w) { WriteDataW(w); }, writer && HasDataW(writer));
    filer->DefineProperty(prop.Name + "_UTF7", [this](TReader* r) { ReadDataUtf7(r); }, nullptr, false);
}

void TUcWideCharPropertyFiler::ReadDataW(TReader* reader) {
    std::wstring value;
    switch (reader->NextValue()) {
    case vaString: value = WideFromSystemAnsi(reader->ReadString()); break;
    case vaWString: value = reader->ReadWideString(); break;
    default: RaiseInvalidPropertyValue();
    }
    if (value.size() > 1) RaiseInvalidPropertyValue();
    SetOrdProp(*instance_, *prop_, value.empty() ? 0 : static_cast<uint16_t>(value[0]));
}

void TUcWideCharPropertyFiler::WriteDataW(TWriter* writer) {
    writer->WriteWideChar(static_cast<wchar_t>(GetOrdProp(*instance_, *prop_)));
}

void TUcWideCharPropertyFiler::ReadDataUtf7(TReader* reader) {
    std::string bytes = reader->ReadString();
    if (!UtfReadingEnabled(reader)) return;
    std::wstring value = Utf7ToWide(bytes);
    SetOrdProp(*instance_, *prop_, value.empty() ? 0 : static_cast<uint16_t>(value[0]));
}

bool TUcWideCharPropertyFiler::HasDataW(TWriter* writer) {
    writer_ = writer;
    if (!prop_->IsStored(*instance_)) return false;
    int64_t value = GetOrdProp(*instance_, *prop_);
    if (const TPropInfo* ancestorProp = AncestorProp(writer, *prop_)) {
        if (value == GetOrdProp(*writer->Ancestor(), *ancestorProp)) return false;
    }
    return !IsDefaultValue(static_cast<wchar_t>(value));
}

bool TUcWideCharPropertyFiler::IsDefaultValue(wchar_t value) const {
    if (!prop_->HasReader() || !prop_->HasWriter()) return true;
    TPersistent* ancestor = writer_->Ancestor();
    TComponent* root = writer_->Root();
    TComponent* rootAncestor = writer_->RootAncestor();
    if (ancestor && root && rootAncestor && root->InheritsFrom(rootAncestor->ClassType())) {
        const TPropInfo* ancestorProp = GetPropInfo(*ancestor, prop_->Name);
        return ancestorProp && static_cast<wchar_t>(GetOrdProp(*ancestor, *ancestorProp)) == value;
    }
    return prop_->Default != NoDefault && static_cast<uint16_t>(prop_->Default) == static_cast<uint16_t>(value);
}

// --- all of a component's wide properties ----------------------------------------

void DefineWideProperties(TFiler* filer, TPersistent* instance) {
    TOwned<TUcWideStringPropertyFiler> strings;
    TOwned<TUcWideCharPropertyFiler> chars;
    for (const TPropInfo* prop : instance->ClassType().Props()) {
        if (prop->Kind() == tkWString) {
            if (!strings) strings = MakeOwned<TUcWideStringPropertyFiler>();
            strings->DefineProperties(filer, instance, *prop);
        } else if (prop->Kind() == tkWChar) {
            if (!chars) chars = MakeOwned<TUcWideCharPropertyFiler>();
            chars->DefineProperties(filer, instance, *prop);
        }
    }
}
