// TWriter: files components into the binary form stream.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "classlib/core/collection.h"
#include "classlib/core/exceptions.h"
#include "classlib/core/extended.h"
#include "classlib/core/filer.h"
#include "classlib/core/resstrings.h"
#include "classlib/core/scope_exit.h"
#include "classlib/core/strutils.h"

namespace {

[[noreturn]] void RaiseUnwritableValue() {
    throw EWriteError(LoadStr(SInvalidPropertyValue));
}

bool IsOrdinalKind(TTypeKind kind) {
    return kind == tkInteger || kind == tkChar || kind == tkEnumeration || kind == tkSet ||
           kind == tkWChar || kind == tkInt64;
}

}  // namespace

struct TWriter::Impl {
    // Children of the ancestor of the component whose children are being
    // written; they decide ffInherited and ffChildPos.
    struct Siblings {
        std::vector<TComponent*> ancestors;
        bool active = false;
        size_t ancestorPos = 0;
        int32_t childPos = 0;
    };
    Siblings siblings;
    // Sub-objects on the current path, so a cycle of them ends.
    std::vector<const TPersistent*> subObjects;
};

TWriter::TWriter(TStream& stream) : TFiler(stream), impl_(std::make_unique<Impl>()) {}

TWriter::~TWriter() = default;

// --- values -----------------------------------------------------------------

void TWriter::Write(const void* buffer, int32_t count) {
    stream_.WriteBuffer(buffer, count);
}

namespace {
void WriteLE(TWriter& writer, uint64_t value, int size) {
    uint8_t bytes[8];
    for (int i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(value >> (8 * i));
    writer.Write(bytes, size);
}
}  // namespace

void TWriter::WriteSignature() {
    Write("TPF0", 4);
}

void TWriter::WritePrefix(TFilerFlags flags, int32_t childPos) {
    if (flags.Empty()) return;
    uint8_t prefix = static_cast<uint8_t>(0xF0 | (flags.Bits() & 0x0F));
    Write(&prefix, 1);
    if (flags.Contains(ffChildPos)) WriteInteger(childPos);
}

void TWriter::WriteClassName(const std::string& name) {
    if (name.size() >= 0xF0) throw EWriteError(LoadStr(SWriteError));
    WriteStr(name);
}

void TWriter::WriteValue(TValueType value) {
    uint8_t byte = value;
    Write(&byte, 1);
}

void TWriter::WriteListBegin() {
    WriteValue(vaList);
}

void TWriter::WriteListEnd() {
    WriteValue(vaNull);
}

void TWriter::WriteInteger(int32_t value) {
    if (value >= INT8_MIN && value <= INT8_MAX) {
        WriteValue(vaInt8);
        WriteLE(*this, static_cast<uint64_t>(value), 1);
    } else if (value >= INT16_MIN && value <= INT16_MAX) {
        WriteValue(vaInt16);
        WriteLE(*this, static_cast<uint64_t>(value), 2);
    } else {
        WriteValue(vaInt32);
        WriteLE(*this, static_cast<uint64_t>(value), 4);
    }
}

void TWriter::WriteInt64(int64_t value) {
    if (value >= INT32_MIN && value <= INT32_MAX) return WriteInteger(static_cast<int32_t>(value));
    WriteValue(vaInt64);
    WriteLE(*this, static_cast<uint64_t>(value), 8);
}

void TWriter::WriteBoolean(bool value) {
    WriteValue(value ? vaTrue : vaFalse);
}

void TWriter::WriteChar(char value) {
    WriteString(std::string(1, value));
}

void TWriter::WriteWideChar(wchar_t value) {
    WriteWideString(std::wstring(1, value));
}

void TWriter::WriteFloat(double value) {
    // No layout text could carry them, and readers refuse them.
    if (!std::isfinite(value)) RaiseUnwritableValue();
    uint8_t bytes[10];
    DoubleToExtended(value, bytes);
    WriteValue(vaExtended);
    Write(bytes, 10);
}

void TWriter::WriteIdent(const std::string& ident) {
    if (SameText(ident, "False")) return WriteValue(vaFalse);
    if (SameText(ident, "True")) return WriteValue(vaTrue);
    if (SameText(ident, "nil")) return WriteValue(vaNil);
    WriteValue(vaIdent);
    WriteStr(ident);
}

void TWriter::WriteString(const std::string& value) {
    if (value.size() <= 255) {
        WriteValue(vaString);
        WriteStr(value);
        return;
    }
    if (value.size() > INT32_MAX) throw EWriteError(LoadStr(SWriteError));
    WriteValue(vaLString);
    WriteLE(*this, value.size(), 4);
    Write(value.data(), static_cast<int32_t>(value.size()));
}

void TWriter::WriteWideString(const std::wstring& value) {
    if (value.size() > INT32_MAX / 2) throw EWriteError(LoadStr(SWriteError));
    WriteValue(vaWString);
    WriteLE(*this, value.size(), 4);
    std::string bytes;
    bytes.reserve(value.size() * 2);
    for (wchar_t unit : value) {
        bytes += static_cast<char>(static_cast<uint16_t>(unit) & 0xFF);
        bytes += static_cast<char>(static_cast<uint16_t>(unit) >> 8);
    }
    Write(bytes.data(), static_cast<int32_t>(bytes.size()));
}

void TWriter::WriteStr(const std::string& value) {
    // A longer name would be cut and the stream no longer say what it meant.
    if (value.size() > 255) throw EWriteError(LoadStr(SWriteError));
    uint8_t length = static_cast<uint8_t>(value.size());
    Write(&length, 1);
    Write(value.data(), length);
}

// --- defined properties -----------------------------------------------------

void TWriter::DefineProperty(const std::string& name, TReaderProc, TWriterProc writeData, bool hasData) {
    if (!hasData || !writeData) return;
    WritePropName(name);
    writeData(this);
}

void TWriter::DefineBinaryProperty(const std::string& name, TStreamProc, TStreamProc writeData, bool hasData) {
    if (!hasData || !writeData) return;
    TMemoryStream data;
    writeData(&data);
    if (data.Size() > INT32_MAX) throw EWriteError(LoadStr(SWriteError));
    WritePropName(name);
    WriteValue(vaBinary);
    WriteLE(*this, static_cast<uint64_t>(data.Size()), 4);
    Write(data.Memory(), static_cast<int32_t>(data.Size()));
}

// --- properties -------------------------------------------------------------

void TWriter::WritePropName(const std::string& name) {
    WriteStr(prop_path_ + name);
}

void TWriter::WriteProperties(TPersistent* instance) {
    for (const TPropInfo* prop : instance->ClassType().Props()) WriteProperty(instance, *prop);
    instance->DefineProperties(this);
}

void TWriter::WriteProperty(TPersistent* instance, const TPropInfo& prop) {
    const TTypeKind kind = prop.Kind();
    if (!prop.HasReader() || (!prop.HasWriter() && kind != tkClass) || !prop.IsStored(*instance)) return;
    // With an ancestor, its value takes the place of the default.
    const TPropInfo* ancestorProp = ancestor_ ? ancestor_->ClassType().FindProp(prop.Name) : nullptr;
    if (ancestorProp && (ancestorProp->Kind() != kind || !ancestorProp->HasReader())) ancestorProp = nullptr;

    if (IsOrdinalKind(kind)) {
        int64_t value = GetOrdProp(*instance, prop);
        if (ancestorProp ? value == GetOrdProp(*ancestor_, *ancestorProp)
                         : prop.Default != NoDefault && value == prop.Default)
            return;
        WritePropName(prop.Name);
        WriteOrdinalValue(*prop.PropType, value);
    } else if (kind == tkFloat) {
        double value = GetFloatProp(*instance, prop);
        if (value == (ancestorProp ? GetFloatProp(*ancestor_, *ancestorProp) : 0.0)) return;
        WritePropName(prop.Name);
        WriteFloat(value);
    } else if (kind == tkString || kind == tkLString) {
        std::string value = GetStrProp(*instance, prop);
        if (value == (ancestorProp ? GetStrProp(*ancestor_, *ancestorProp) : std::string())) return;
        WritePropName(prop.Name);
        WriteString(value);
    } else if (kind == tkWString) {
        std::wstring value = GetWideStrProp(*instance, prop);
        if (value == (ancestorProp ? GetWideStrProp(*ancestor_, *ancestorProp) : std::wstring())) return;
        WritePropName(prop.Name);
        WriteWideString(value);
    } else if (kind == tkMethod) {
        WriteMethodProperty(instance, prop, ancestorProp);
    } else if (kind == tkClass) {
        WriteObjectProperty(instance, prop, ancestorProp);
    }
}

void TWriter::WriteOrdinalValue(const TTypeInfo& type, int64_t value) {
    switch (type.Kind) {
    case tkInteger: {
        std::string ident;
        if (type.IntToIdent && value >= INT32_MIN && value <= INT32_MAX &&
            type.IntToIdent(static_cast<int32_t>(value), ident))
            return WriteIdent(ident);
        return WriteInt64(value);
    }
    case tkInt64: return WriteInt64(value);
    case tkChar: return WriteChar(static_cast<char>(value));
    case tkWChar: return WriteWideChar(static_cast<wchar_t>(value));
    case tkEnumeration: {
        const std::string& name = type.EnumName(value);
        if (name.empty()) RaiseUnwritableValue();
        return WriteIdent(name);
    }
    case tkSet: {
        const TTypeInfo* elements = type.CompType ? type.CompType() : nullptr;
        WriteValue(vaSet);
        for (int i = 0; i < 32; ++i) {
            if (!(static_cast<uint32_t>(value) & (uint32_t(1) << i))) continue;
            std::string name = elements ? elements->EnumName(i) : std::string();
            if (name.empty()) RaiseUnwritableValue();
            WriteStr(name);
        }
        return WriteStr("");
    }
    default: RaiseUnwritableValue();
    }
}

std::string TWriter::MethodName(const TMethod& method) const {
    // Only a published method of the root can be named and bound again.
    if (!method.Code || !lookup_root_ || method.Data != lookup_root_) return "";
    return lookup_root_->ClassType().FindMethod(method.Code->Name) == method.Code ? method.Code->Name : "";
}

void TWriter::WriteMethodProperty(TPersistent* instance, const TPropInfo& prop, const TPropInfo* ancestorProp) {
    TMethod value = GetMethodProp(*instance, prop);
    std::string name = MethodName(value);
    if (value.Code && name.empty()) return;  // bound to something no layout can name
    if (ancestorProp) {
        // The ancestor's events are bound to the ancestor's root: compare names.
        TMethod inherited = GetMethodProp(*ancestor_, *ancestorProp);
        std::string inheritedName = inherited.Code ? inherited.Code->Name : std::string();
        if (SameText(name, inheritedName)) return;
    } else if (name.empty()) {
        return;
    }
    WritePropName(prop.Name);
    if (name.empty()) WriteValue(vaNil);
    else WriteIdent(name);
}

std::string TWriter::ReferenceName(const TComponent* component) const {
    // Names resolve in the root: anything else would not read back.
    if (component->Name().empty()) return "";
    for (const TComponent* lookup : {lookup_root_, root_})
        if (lookup && (component == lookup || component->Owner() == lookup)) return component->Name();
    return "";
}

void TWriter::WriteObjectProperty(TPersistent* instance, const TPropInfo& prop, const TPropInfo* ancestorProp) {
    TObject* value = GetObjectProp(*instance, prop);
    TObject* inherited = ancestorProp ? GetObjectProp(*ancestor_, *ancestorProp) : nullptr;

    if (!value || dynamic_cast<TComponent*>(value)) {
        if (!prop.HasWriter()) return;
        std::string name = value ? ReferenceName(static_cast<TComponent*>(value)) : std::string();
        if (value && name.empty()) return;
        auto* inheritedComponent = dynamic_cast<TComponent*>(inherited);
        std::string inheritedName = inheritedComponent ? inheritedComponent->Name() : std::string();
        if (SameText(name, inheritedName)) return;  // also nil on both sides
        WritePropName(prop.Name);
        if (name.empty()) WriteValue(vaNil);
        else WriteIdent(name);
        return;
    }
    if (auto* collection = dynamic_cast<TCollection*>(value)) {
        auto* inheritedCollection = dynamic_cast<TCollection*>(inherited);
        if (inheritedCollection &&
            CollectionImage(collection, lookup_root_) == CollectionImage(inheritedCollection, root_ancestor_))
            return;
        WritePropName(prop.Name);
        WriteCollection(collection);
        return;
    }
    auto* sub = dynamic_cast<TPersistent*>(value);
    auto& path = impl_->subObjects;
    if (!sub || std::find(path.begin(), path.end(), sub) != path.end()) return;
    TRestore<std::string> restorePath(prop_path_);
    TRestore<TPersistent*> restoreAncestor(ancestor_);
    prop_path_ += prop.Name + ".";
    ancestor_ = dynamic_cast<TPersistent*>(inherited);
    path.push_back(sub);
    TScopeExit leave([&path] { path.pop_back(); });
    WriteProperties(sub);
}

void TWriter::WriteCollection(TCollection* collection) {
    TRestore<std::string> restorePath(prop_path_);
    TRestore<TPersistent*> restoreAncestor(ancestor_);
    prop_path_.clear();
    ancestor_ = nullptr;
    WriteValue(vaCollection);
    for (int i = 0; i < collection->Count(); ++i) {
        WriteListBegin();
        WriteProperties(collection->Items(i));
        WriteListEnd();
    }
    WriteListEnd();
}

std::string TWriter::CollectionImage(TCollection* collection, TComponent* lookupRoot) const {
    TMemoryStream image;
    TWriter writer(image);
    writer.root_ = lookupRoot;
    writer.lookup_root_ = lookupRoot;
    writer.WriteCollection(collection);
    return std::string(reinterpret_cast<const char*>(image.Memory()), static_cast<size_t>(image.Size()));
}

// --- components -------------------------------------------------------------

void TWriter::WriteRootComponent(TComponent* root) {
    WriteDescendent(root, nullptr);
}

void TWriter::WriteDescendent(TComponent* root, TComponent* ancestor) {
    root_ancestor_ = ancestor;
    ancestor_ = ancestor;
    root_ = root;
    lookup_root_ = root;
    impl_->siblings = Impl::Siblings();
    WriteSignature();
    WriteComponent(root);
}

void TWriter::WriteComponent(TComponent* component) {
    TRestore<TPersistent*> restoreAncestor(ancestor_);
    TRestore<TComponent*> restoreRootAncestor(root_ancestor_);
    const Impl::Siblings& siblings = impl_->siblings;
    if (siblings.active) {
        // The ancestor's component of the same name, if it has one.
        ancestor_ = nullptr;
        for (TComponent* candidate : siblings.ancestors)
            if (!candidate->Name().empty() && SameText(candidate->Name(), component->Name())) ancestor_ = candidate;
    }
    component->SetState(csWriting, true);
    TScopeExit written([component] { component->SetState(csWriting, false); });
    component->WriteState(this);
}

void TWriter::WriteData(TComponent* instance) {
    Impl::Siblings& siblings = impl_->siblings;
    TFilerFlags flags;
    if (instance->ComponentState().Contains(csInline) && !(ancestor_ && siblings.active)) flags += ffInline;
    else if (ancestor_) flags += ffInherited;
    // A position is needed where the order no longer follows the ancestor's.
    bool ordered = siblings.active && siblings.ancestorPos < siblings.ancestors.size();
    if (ordered && (!ancestor_ || siblings.ancestors[siblings.ancestorPos] != ancestor_)) flags += ffChildPos;
    WritePrefix(flags, siblings.childPos);
    WriteClassName(instance->ClassName());
    WriteStr(instance->Name());
    if (ordered) {
        if (ancestor_) ++siblings.ancestorPos;
        ++siblings.childPos;
    }
    WriteProperties(instance);
    WriteListEnd();

    {
        TRestore<Impl::Siblings> restoreSiblings(impl_->siblings);
        TRestore<TComponent*> restoreRoot(root_);
        TRestore<TComponent*> restoreRootAncestor(root_ancestor_);
        Impl::Siblings children;
        if (auto* ancestor = dynamic_cast<TComponent*>(ancestor_)) {
            if (ancestor->ComponentState().Contains(csInline)) root_ancestor_ = ancestor;
            children.active = true;
            ancestor->GetChildren([&children](TComponent* c) { children.ancestors.push_back(c); }, root_ancestor_);
        }
        impl_->siblings = std::move(children);
        if (instance->ComponentState().Contains(csInline)) root_ = instance;
        if (!ignore_children_) instance->GetChildren([this](TComponent* c) { WriteComponent(c); }, root_);
    }
    WriteListEnd();
}
