// TReader: builds components from the binary form stream.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "classlib/core/collection.h"
#include "classlib/core/exceptions.h"
#include "classlib/core/extended.h"
#include "classlib/core/filer.h"
#include "classlib/core/resstrings.h"
#include "classlib/core/scope_exit.h"
#include "classlib/core/stream_errors.h"
#include "classlib/core/strutils.h"
#include "classlib/core/valueinput.h"

namespace {

[[noreturn]] void RaiseInvalidValue() {
    throw EReadError(LoadStr(SInvalidPropertyValue));
}

void RequireWriter(const TPropInfo& prop) {
    if (!prop.HasWriter()) throw EReadError(Format(LoadStr(SPropertyNoAccess), {prop.Name}));
}

bool IsIntegerValue(TValueType v) {
    return v == vaInt8 || v == vaInt16 || v == vaInt32 || v == vaInt64;
}

}  // namespace

struct TReader::Impl {
    explicit Impl(TStream& stream) : in(stream) {}

    // A component reference waiting for the whole layout.
    struct Fixup {
        TPersistent* instance;
        const TPropInfo* prop;
        std::string name;
        TComponent* lookupRoot;
    };

    // The fixups made while a collection's items were read: when the
    // collection is read again, those items go and their fixups with them.
    struct CollectionSpan {
        TCollection* collection;
        size_t begin, end;
    };

    TValueInput in;
    std::vector<Fixup> fixups;
    std::vector<CollectionSpan> collectionSpans;
    std::vector<TComponent*> loaded;  // in reading order
    int depth = 0;
    bool defining = false;  // DefineProperties runs for the property being read
    bool defined = false;   // ... and a definition took it
};

TReader::TReader(TStream& stream) : TFiler(stream), impl_(std::make_unique<Impl>(stream)) {}

TReader::~TReader() = default;

// --- values -----------------------------------------------------------------

void TReader::ReadSignature() {
    char signature[4];
    Read(signature, 4);
    if (std::memcmp(signature, "TPF0", 4) != 0) RaiseInvalidImage();
}

void TReader::ReadPrefix(TFilerFlags& flags, int32_t& childPos) {
    flags = TFilerFlags();
    childPos = -1;
    uint8_t prefix = impl_->in.PeekByte();
    if ((prefix & 0xF0) != 0xF0) return;
    impl_->in.ReadByte();
    if (prefix & 0x08) RaiseInvalidImage();  // no such flag
    flags = TFilerFlags::FromBits(prefix & 0x07u);
    if (flags.Contains(ffChildPos)) {
        childPos = ReadInteger();
        if (childPos < 0) RaiseInvalidImage();
    }
}

TValueType TReader::ReadValue() {
    return static_cast<TValueType>(impl_->in.ReadByte());
}

TValueType TReader::NextValue() {
    return static_cast<TValueType>(impl_->in.PeekByte());
}

void TReader::CheckValue(TValueType value) {
    if (ReadValue() != value) RaiseInvalidValue();
}

bool TReader::EndOfList() {
    return NextValue() == vaNull;
}

void TReader::ReadListBegin() {
    CheckValue(vaList);
}

void TReader::ReadListEnd() {
    CheckValue(vaNull);
}

void TReader::SkipValue() {
    TValueInput& in = impl_->in;
    switch (ReadValue()) {
    case vaNull: case vaFalse: case vaTrue: case vaNil: break;
    case vaInt8: in.Skip(1); break;
    case vaInt16: in.Skip(2); break;
    case vaInt32: case vaSingle: in.Skip(4); break;
    case vaInt64: case vaCurrency: case vaDate: in.Skip(8); break;
    case vaExtended: in.Skip(10); break;
    case vaString: case vaIdent: in.Skip(in.ReadByte()); break;
    case vaLString: case vaUTF8String: case vaBinary: in.Skip(in.ReadLength(1)); break;
    case vaWString: in.Skip(int64_t(in.ReadLength(2)) * 2); break;
    case vaSet:
        while (!ReadStr().empty()) {}
        break;
    case vaList: {
        TScopedCount nesting = EnterNesting(impl_->depth);
        while (!EndOfList()) SkipValue();
        ReadListEnd();
        break;
    }
    case vaCollection: {
        TScopedCount nesting = EnterNesting(impl_->depth);
        while (!EndOfList()) {
            if (IsIntegerValue(NextValue())) SkipValue();
            ReadListBegin();
            while (!EndOfList()) {
                ReadStr();
                SkipValue();
            }
            ReadListEnd();
        }
        ReadListEnd();
        break;
    }
    default: RaiseInvalidImage();
    }
}

int32_t TReader::ReadInteger() {
    switch (ReadValue()) {
    case vaInt8: return static_cast<int32_t>(impl_->in.ReadSigned(1));
    case vaInt16: return static_cast<int32_t>(impl_->in.ReadSigned(2));
    case vaInt32: return static_cast<int32_t>(impl_->in.ReadSigned(4));
    default: RaiseInvalidValue();
    }
}

int64_t TReader::ReadInt64() {
    if (NextValue() != vaInt64) return ReadInteger();
    ReadValue();
    return impl_->in.ReadSigned(8);
}

bool TReader::ReadBoolean() {
    switch (ReadValue()) {
    case vaFalse: return false;
    case vaTrue: return true;
    default: RaiseInvalidValue();
    }
}

char TReader::ReadChar() {
    std::string s = ReadString();
    if (s.size() != 1) RaiseInvalidValue();
    return s[0];
}

wchar_t TReader::ReadWideChar() {
    std::wstring s = ReadWideString();
    if (s.size() > 1) RaiseInvalidValue();
    return s.empty() ? L'\0' : s[0];
}

double TReader::ReadFloat() {
    TValueInput& in = impl_->in;
    double value;
    switch (NextValue()) {
    case vaExtended: {
        ReadValue();
        uint8_t bytes[10];
        in.ReadBytes(bytes, 10);
        value = ExtendedToDouble(bytes);
        break;
    }
    case vaSingle: {
        ReadValue();
        uint32_t bits = static_cast<uint32_t>(in.ReadSigned(4));
        float f;
        std::memcpy(&f, &bits, sizeof f);
        value = f;
        break;
    }
    case vaCurrency:
        ReadValue();
        value = static_cast<double>(in.ReadSigned(8)) / 10000.0;
        break;
    case vaDate: {
        ReadValue();
        uint64_t bits = static_cast<uint64_t>(in.ReadSigned(8));
        std::memcpy(&value, &bits, sizeof value);
        break;
    }
    case vaInt8: case vaInt16: case vaInt32: case vaInt64:
        value = static_cast<double>(ReadInt64());
        break;
    default:
        ReadValue();
        RaiseInvalidValue();
    }
    // Infinities and NaNs are no layout values (the writer refuses them).
    if (!std::isfinite(value)) RaiseInvalidValue();
    return value;
}

std::string TReader::ReadIdent() {
    switch (ReadValue()) {
    case vaIdent: return ReadStr();
    case vaFalse: return "False";
    case vaTrue: return "True";
    case vaNil: return "nil";
    case vaNull: return "Null";
    default: RaiseInvalidValue();
    }
}

std::string TReader::ReadString() {
    TValueInput& in = impl_->in;
    switch (ReadValue()) {
    case vaString: return in.ReadShortString();
    case vaLString: return in.ReadLongBytes();
    case vaWString: return WideToAnsi(in.ReadWideUnits());
    case vaUTF8String: return WideToAnsi(Utf8ToUtf16(in.ReadLongBytes()));
    default: RaiseInvalidValue();
    }
}

std::wstring TReader::ReadWideString() {
    TValueInput& in = impl_->in;
    switch (ReadValue()) {
    case vaString: return AnsiToWide(in.ReadShortString());
    case vaLString: return AnsiToWide(in.ReadLongBytes());
    case vaWString: return in.ReadWideUnits();
    case vaUTF8String: return Utf8ToUtf16(in.ReadLongBytes());
    default: RaiseInvalidValue();
    }
}

std::string TReader::ReadStr() {
    return impl_->in.ReadShortString();
}

void TReader::Read(void* buffer, int32_t count) {
    impl_->in.ReadBytes(buffer, count);
}

// --- defined properties -----------------------------------------------------

void TReader::DefineProperty(const std::string& name, TReaderProc readData, TWriterProc, bool) {
    if (!impl_->defining || !readData || !SameText(name, prop_name_)) return;
    impl_->defining = false;
    impl_->defined = true;
    readData(this);
}

void TReader::DefineBinaryProperty(const std::string& name, TStreamProc readData, TStreamProc, bool) {
    if (!impl_->defining || !readData || !SameText(name, prop_name_)) return;
    impl_->defining = false;
    impl_->defined = true;
    CheckValue(vaBinary);
    std::string bytes = impl_->in.ReadLongBytes();
    TMemoryStream data;
    data.Write(bytes.data(), static_cast<int32_t>(bytes.size()));
    data.SetPosition(0);
    readData(&data);
}

// --- properties -------------------------------------------------------------

void TReader::ReadProperties(TPersistent* instance) {
    while (!EndOfList()) ReadProperty(instance);
    ReadListEnd();
}

void TReader::ReadProperty(TPersistent* instance) {
    std::string path = ReadStr();
    // "Font.Name": walk through the persistent sub-objects.
    TPersistent* target = instance;
    size_t start = 0;
    for (size_t dot; (dot = path.find('.', start)) != std::string::npos; start = dot + 1) {
        const TPropInfo* prop = target->ClassType().FindProp(path.substr(start, dot - start));
        TObject* sub = prop && prop->Kind() == tkClass && prop->GetObj ? prop->GetObj(*target) : nullptr;
        target = dynamic_cast<TPersistent*>(sub);
        if (!target) throw EReadError(Format(LoadStr(SUnknownProperty), {path.substr(0, dot)}));
    }
    prop_name_ = path.substr(start);
    if (const TPropInfo* prop = target->ClassType().FindProp(prop_name_)) {
        ReadPropValue(target, *prop);
        return;
    }
    // Not published: one of the object's own definitions may take it.
    bool found;
    {
        TRestore<bool> restoreDefining(impl_->defining), restoreDefined(impl_->defined);
        impl_->defining = true;
        impl_->defined = false;
        target->DefineProperties(this);
        found = impl_->defined;
    }
    if (!found) throw EReadError(Format(LoadStr(SUnknownProperty), {path}));
}

void TReader::ReadPropValue(TPersistent* instance, const TPropInfo& prop) {
    const TTypeInfo& type = *prop.PropType;
    switch (type.Kind) {
    case tkInteger: {
        RequireWriter(prop);
        int64_t value;
        if (NextValue() == vaIdent) {
            int32_t v;
            if (!type.IdentToInt || !type.IdentToInt(ReadIdent(), v)) RaiseInvalidValue();
            value = v;
        } else {
            value = ReadInt64();
        }
        // A value the type cannot hold would be cut silently by the setter.
        if (type.MinValue < type.MaxValue && (value < type.MinValue || value > type.MaxValue)) RaiseInvalidValue();
        SetOrdProp(*instance, prop, value);
        break;
    }
    case tkInt64:
        RequireWriter(prop);
        SetOrdProp(*instance, prop, ReadInt64());
        break;
    case tkChar:
        RequireWriter(prop);
        SetOrdProp(*instance, prop, static_cast<uint8_t>(ReadChar()));
        break;
    case tkWChar:
        RequireWriter(prop);
        SetOrdProp(*instance, prop, static_cast<uint16_t>(ReadWideChar()));
        break;
    case tkEnumeration: {
        RequireWriter(prop);
        int value = type.EnumValue(ReadIdent());
        if (value < 0) RaiseInvalidValue();
        SetOrdProp(*instance, prop, value);
        break;
    }
    case tkSet:
        RequireWriter(prop);
        SetOrdProp(*instance, prop, ReadSetValue(type));
        break;
    case tkFloat:
        RequireWriter(prop);
        SetFloatProp(*instance, prop, ReadFloat());
        break;
    case tkString:
    case tkLString:
        RequireWriter(prop);
        SetStrProp(*instance, prop, ReadString());
        break;
    case tkWString:
        RequireWriter(prop);
        SetWideStrProp(*instance, prop, ReadWideString());
        break;
    case tkClass:
        ReadObjectValue(instance, prop);
        break;
    case tkMethod:
        ReadMethodValue(instance, prop);
        break;
    default:
        RaiseInvalidValue();
    }
}

uint32_t TReader::ReadSetValue(const TTypeInfo& setType) {
    CheckValue(vaSet);
    const TTypeInfo* elements = setType.CompType ? setType.CompType() : nullptr;
    uint32_t bits = 0;
    for (std::string name; !(name = ReadStr()).empty();) {
        int value = elements ? elements->EnumValue(name) : -1;
        if (value < 0 || value > 31) RaiseInvalidValue();
        bits |= uint32_t(1) << value;
    }
    return bits;
}

void TReader::ReadObjectValue(TPersistent* instance, const TPropInfo& prop) {
    switch (NextValue()) {
    case vaCollection: {
        ReadValue();
        auto* collection = prop.GetObj ? dynamic_cast<TCollection*>(prop.GetObj(*instance)) : nullptr;
        if (!collection) RaiseInvalidValue();
        ReadCollection(collection);
        break;
    }
    case vaNil:
        RequireWriter(prop);
        ReadValue();
        SetObjectProp(*instance, prop, nullptr);
        break;
    case vaIdent:
        // The named component may come later in the layout.
        RequireWriter(prop);
        impl_->fixups.push_back({instance, &prop, ReadIdent(), lookup_root_});
        break;
    default:
        ReadValue();
        RaiseInvalidValue();
    }
}

void TReader::ReadMethodValue(TPersistent* instance, const TPropInfo& prop) {
    RequireWriter(prop);
    TValueType type = ReadValue();
    if (type == vaNil) {
        SetMethodProp(*instance, prop, TMethod());
        return;
    }
    if (type != vaIdent) RaiseInvalidValue();
    std::string name = ReadStr();
    const TMethodInfo* method = root_ ? root_->ClassType().FindMethod(name) : nullptr;
    if (!method) throw EReadError(Format(LoadStr(SMethodNotFound), {name}));
    SetMethodProp(*instance, prop, TMethod{root_, method});
}

void TReader::ReadCollection(TCollection* collection) {
    TScopedCount nesting = EnterNesting(impl_->depth);
    auto& fixups = impl_->fixups;
    for (const Impl::CollectionSpan& span : impl_->collectionSpans)
        if (span.collection == collection)
            for (size_t i = span.begin; i < std::min(span.end, fixups.size()); ++i) fixups[i].instance = nullptr;
    size_t firstFixup = fixups.size();
    WhileUpdating(*collection, [&] {
        // An empty list empties the collection too: its items may come
        // from the constructor.
        collection->Clear();
        while (!EndOfList()) {
            if (IsIntegerValue(NextValue())) ReadInt64();  // the item's order: informational
            ReadListBegin();
            TCollectionItem* item = collection->Add();
            ReadProperties(item);
        }
        ReadListEnd();
    });
    impl_->collectionSpans.push_back({collection, firstFixup, fixups.size()});
}

// --- components -------------------------------------------------------------

const TClassInfo& TReader::FindComponentClass(const std::string& className) const {
    const TClassInfo* found = root_ ? root_->ClassType().FindFieldClass(className) : nullptr;
    if (!found) found = GetClass(className);
    if (!found || !found->InheritsFrom(TComponent::StaticClass()))
        throw EClassNotFound(Format(LoadStr(SClassNotFound), {className}));
    return *found;
}

TComponent* TReader::CreateComponent(const std::string& className) {
    const TClassInfo& info = FindComponentClass(className);
    TObject* created = info.CreateInstance(owner_);
    auto* component = dynamic_cast<TComponent*>(created);
    if (!component) {
        if (created) created->Free();
        throw EClassNotFound(Format(LoadStr(SClassNotFound), {className}));
    }
    return component;
}

TComponent* TReader::ReadComponent(TComponent* component) {
    TScopedCount nesting = EnterNesting(impl_->depth);
    TFilerFlags flags;
    int32_t childPos;
    ReadPrefix(flags, childPos);
    std::string className = ReadStr();
    std::string name = ReadStr();

    TComponent* oldParent = parent_;
    TComponent* oldLookupRoot = lookup_root_;
    size_t fixupMark = impl_->fixups.size(), loadedMark = impl_->loaded.size();
    size_t spanMark = impl_->collectionSpans.size();
    TComponent* result = component;
    bool created = false;
    try {
        if (!result && flags.Contains(ffInherited)) {
            // Made by the ancestor's layout: this one only changes it.
            result = owner_ ? owner_->FindComponent(name) : nullptr;
            if (!result) throw EReadError(Format(LoadStr(SAncestorNotFound), {name}));
            parent_ = result->GetParentComponent();
            if (!parent_) parent_ = root_;
        } else if (!result) {
            result = CreateComponent(className);
            created = true;
        }
        result->SetState(csLoading, true);
        result->SetState(csReading, true);
        if (flags.Contains(ffInline)) {
            result->SetState(csInline, true);
            lookup_root_ = result;
        }
        auto& loaded = impl_->loaded;
        if (std::find(loaded.begin(), loaded.end(), result) == loaded.end()) loaded.push_back(result);
        if (!flags.Contains(ffInherited)) {
            result->SetName(name);
            result->SetParentComponent(parent_);
        }
        result->ReadState(this);
        if (flags.Contains(ffChildPos) && parent_) parent_->SetChildOrder(result, childPos);
    } catch (...) {
        // Forget what refers to the component or its children before it goes.
        impl_->fixups.resize(fixupMark);
        impl_->collectionSpans.resize(spanMark);
        impl_->loaded.resize(loadedMark);
        parent_ = oldParent;
        lookup_root_ = oldLookupRoot;
        if (created) result->Free();
        throw;
    }
    parent_ = oldParent;
    lookup_root_ = oldLookupRoot;
    return result;
}

void TReader::ReadData(TComponent* instance) {
    ReadProperties(instance);
    TRestore<TComponent*> restoreOwner(owner_), restoreParent(parent_);
    parent_ = instance->GetChildParent();
    owner_ = instance->GetChildOwner();
    if (!owner_) owner_ = root_;
    while (!EndOfList()) ReadComponent(nullptr);
    ReadListEnd();
}

TComponent* TReader::ReadRootComponent(TComponent* root) {
    ReadSignature();
    TFilerFlags flags;
    int32_t childPos;
    ReadPrefix(flags, childPos);
    std::string className = ReadStr();
    std::string name = ReadStr();

    TOwned<TComponent> created;
    if (!root) {
        const TClassInfo& info = FindClass(className);
        if (!info.InheritsFrom(TComponent::StaticClass()))
            throw EClassNotFound(Format(LoadStr(SClassNotFound), {className}));
        TObject* object = info.CreateInstance(nullptr);
        root = dynamic_cast<TComponent*>(object);
        if (!root) {
            if (object) object->Free();
            throw EClassNotFound(Format(LoadStr(SClassNotFound), {className}));
        }
        created.reset(root);
    }
    root_ = root;
    lookup_root_ = root;
    owner_ = root;
    impl_->fixups.clear();
    impl_->collectionSpans.clear();
    impl_->loaded.clear();
    try {
        root->SetState(csLoading, true);
        root->SetState(csReading, true);
        root->SetName(name);
        impl_->loaded.push_back(root);
        root->ReadState(this);
        ResolveFixups();
    } catch (...) {
        AbandonRead(root);
        throw;
    }
    std::vector<TComponent*> loaded = std::move(impl_->loaded);
    impl_->loaded.clear();
    for (TComponent* c : loaded) c->SetState(csReading, false);
    for (TComponent* c : loaded) c->Loaded();
    created.release();
    return root;
}

void TReader::ResolveFixups() {
    std::vector<Impl::Fixup> fixups = std::move(impl_->fixups);
    impl_->fixups.clear();
    impl_->collectionSpans.clear();
    auto find = [](TComponent* lookupRoot, const std::string& name) -> TComponent* {
        if (!lookupRoot) return nullptr;
        if (SameText(lookupRoot->Name(), name)) return lookupRoot;
        return lookupRoot->FindComponent(name);
    };
    for (const Impl::Fixup& f : fixups) {
        if (!f.instance) continue;  // its collection item is gone
        TComponent* target = find(f.lookupRoot, f.name);
        if (!target && f.lookupRoot != root_) target = find(root_, f.name);
        if (!target) throw EReadError(Format(LoadStr(SUnresolvedReference), {f.name}));
        SetObjectProp(*f.instance, *f.prop, target);
    }
}

void TReader::AbandonRead(TComponent* root) {
    // Components of a failed branch are gone; those still owned by the
    // root leave the loading state without Loaded.
    impl_->fixups.clear();
    impl_->collectionSpans.clear();
    std::vector<TComponent*> loaded = std::move(impl_->loaded);
    impl_->loaded.clear();
    for (TComponent* c : loaded) {
        bool alive = c == root;
        for (int i = 0; !alive && i < root->ComponentCount(); ++i) alive = root->Components(i) == c;
        if (!alive) continue;
        c->SetState(csReading, false);
        c->SetState(csLoading, false);
    }
}
