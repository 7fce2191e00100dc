#include "classlib/core/typinfo.h"

#include <map>

#include "classlib/core/resstrings.h"
#include "classlib/core/strutils.h"

namespace {

struct CaseLess {
    bool operator()(const std::string& a, const std::string& b) const { return StrIComp(a, b) < 0; }
};

std::map<std::string, const TClassInfo*, CaseLess>& Registry() {
    static std::map<std::string, const TClassInfo*, CaseLess> registry;
    return registry;
}

}  // namespace

bool TTypeInfo::IsOrdinal() const {
    return Kind == tkInteger || Kind == tkChar || Kind == tkEnumeration || Kind == tkSet ||
           Kind == tkWChar || Kind == tkInt64;
}

int TTypeInfo::EnumValue(const std::string& ident) const {
    for (size_t i = 0; i < EnumNames.size(); ++i)
        if (SameText(EnumNames[i], ident)) return static_cast<int>(i);
    return -1;
}

const std::string& TTypeInfo::EnumName(int64_t value) const {
    static const std::string empty;
    if (value < 0 || value >= static_cast<int64_t>(EnumNames.size())) return empty;
    return EnumNames[static_cast<size_t>(value)];
}

TTypeInfo MakeEnumType(const char* name, std::initializer_list<const char*> names) {
    TTypeInfo t;
    t.Kind = tkEnumeration;
    t.Name = name;
    for (const char* n : names) t.EnumNames.emplace_back(n);
    t.MinValue = 0;
    t.MaxValue = static_cast<int64_t>(t.EnumNames.size()) - 1;
    return t;
}

TTypeInfo MakeIntegerType(const char* name, int64_t minValue, int64_t maxValue) {
    TTypeInfo t;
    t.Kind = tkInteger;
    t.Name = name;
    t.MinValue = minValue;
    t.MaxValue = maxValue;
    return t;
}

#define BUILTIN(T, expr)                              \
    const TTypeInfo* TTypeInfoOf<T>::Get() {          \
        static const TTypeInfo info = expr;           \
        return &info;                                 \
    }
BUILTIN(int32_t, MakeIntegerType("Integer", INT32_MIN, INT32_MAX))
BUILTIN(int16_t, MakeIntegerType("SmallInt", -32768, 32767))
BUILTIN(uint16_t, MakeIntegerType("Word", 0, 65535))
BUILTIN(uint8_t, MakeIntegerType("Byte", 0, 255))
BUILTIN(bool, MakeEnumType("Boolean", {"False", "True"}))
BUILTIN(int64_t, ([] { TTypeInfo t = MakeIntegerType("Int64", INT64_MIN, INT64_MAX); t.Kind = tkInt64; return t; }()))
BUILTIN(char, ([] { TTypeInfo t = MakeIntegerType("Char", 0, 255); t.Kind = tkChar; return t; }()))
BUILTIN(wchar_t, ([] { TTypeInfo t = MakeIntegerType("WideChar", 0, 65535); t.Kind = tkWChar; return t; }()))
BUILTIN(double, ([] { TTypeInfo t; t.Kind = tkFloat; t.Name = "Double"; return t; }()))
BUILTIN(std::string, ([] { TTypeInfo t; t.Kind = tkLString; t.Name = "string"; return t; }()))
BUILTIN(std::wstring, ([] { TTypeInfo t; t.Kind = tkWString; t.Name = "WideString"; return t; }()))
#undef BUILTIN

const TTypeInfo* ShortStringType() {
    static const TTypeInfo info = [] {
        TTypeInfo t;
        t.Kind = tkString;
        t.Name = "ShortString";
        t.MaxLength = 255;
        return t;
    }();
    return &info;
}

bool TPropInfo::HasReader() const {
    return GetOrd || GetStr || GetWStr || GetFloat || GetObj || GetMethod;
}

bool TPropInfo::HasWriter() const {
    return SetOrd || SetStr || SetWStr || SetFloat || SetObj || SetMethod;
}

bool TPropInfo::IsStored(const TObject& instance) const {
    return StoredFn ? StoredFn(instance) : StoredConst;
}

TClassInfo::TClassInfo(std::string name, const TClassInfo* parent)
    : name_(std::move(name)), parent_(parent) {}

TClassInfo::TClassInfo(TClassInfo&& other) noexcept
    : name_(std::move(other.name_)),
      parent_(other.parent_),
      factory_(std::move(other.factory_)),
      own_props_(std::move(other.own_props_)),
      methods_(std::move(other.methods_)),
      fields_(std::move(other.fields_)) {}

TClassInfo::~TClassInfo() = default;

bool TClassInfo::InheritsFrom(const TClassInfo& ancestor) const {
    for (const TClassInfo* c = this; c; c = c->parent_)
        if (c == &ancestor) return true;
    return false;
}

TObject* TClassInfo::CreateInstance(TObject* arg) const {
    if (!factory_) throw EClassNotFound(Format(LoadStr(SAbstractClass), {name_}));
    return factory_(arg);
}

const std::vector<const TPropInfo*>& TClassInfo::Props() const {
    std::call_once(props_once_, [this] {
        if (parent_) props_ = parent_->Props();
        for (const auto& own : own_props_) {
            if (!own->Published) continue;
            bool replaced = false;
            for (auto& p : props_) {
                if (SameText(p->Name, own->Name)) {
                    p = own.get();
                    replaced = true;
                    break;
                }
            }
            if (!replaced) props_.push_back(own.get());
        }
    });
    return props_;
}

const TPropInfo* TClassInfo::FindProp(const std::string& name) const {
    for (const TPropInfo* p : Props())
        if (SameText(p->Name, name)) return p;
    return nullptr;
}

const TPropInfo* TClassInfo::FindDefinition(const std::string& name) const {
    for (const TClassInfo* c = this; c; c = c->parent_)
        for (auto it = c->own_props_.rbegin(); it != c->own_props_.rend(); ++it)
            if (SameText((*it)->Name, name)) return it->get();
    return nullptr;
}

const TMethodInfo* TClassInfo::FindMethod(const std::string& name) const {
    for (const TClassInfo* c = this; c; c = c->parent_)
        for (const auto& m : c->methods_)
            if (SameText(m.Name, name)) return &m;
    return nullptr;
}

const TFieldInfo* TClassInfo::FindField(const std::string& name) const {
    for (const TClassInfo* c = this; c; c = c->parent_)
        for (const auto& f : c->fields_)
            if (SameText(f.Name, name)) return &f;
    return nullptr;
}

const TClassInfo* TClassInfo::FindFieldClass(const std::string& className) const {
    for (const TClassInfo* c = this; c; c = c->parent_)
        for (const auto& f : c->fields_) {
            const TClassInfo& fc = f.FieldClass();
            if (SameText(fc.Name(), className)) return &fc;
        }
    return nullptr;
}

void RegisterClass(const TClassInfo& info) {
    Registry()[info.Name()] = &info;
}

const TClassInfo* GetClass(const std::string& name) {
    auto it = Registry().find(name);
    return it == Registry().end() ? nullptr : it->second;
}

std::vector<const TClassInfo*> RegisteredClasses() {
    std::vector<const TClassInfo*> classes;
    for (const auto& [name, info] : Registry()) classes.push_back(info);
    return classes;
}

const TClassInfo& FindClass(const std::string& name) {
    if (const TClassInfo* c = GetClass(name)) return *c;
    throw EClassNotFound(Format(LoadStr(SClassNotFound), {name}));
}

void RaiseInvalidPropertyValue() {
    throw EReadError(LoadStr(SInvalidPropertyValue));
}

namespace {
[[noreturn]] void RaiseNoAccess(const TPropInfo& prop) {
    throw EPropertyError(Format(LoadStr(SPropertyNoAccess), {prop.Name}));
}
}  // namespace

const TPropInfo* GetPropInfo(const TObject& instance, const std::string& name) {
    return instance.ClassType().FindProp(name);
}

int64_t GetOrdProp(const TObject& instance, const TPropInfo& prop) {
    if (!prop.GetOrd) RaiseNoAccess(prop);
    return prop.GetOrd(instance);
}
void SetOrdProp(TObject& instance, const TPropInfo& prop, int64_t value) {
    if (!prop.SetOrd) RaiseNoAccess(prop);
    prop.SetOrd(instance, value);
}
std::string GetStrProp(const TObject& instance, const TPropInfo& prop) {
    if (prop.GetStr) return prop.GetStr(instance);
    if (prop.GetWStr) return WideToAnsi(prop.GetWStr(instance));
    RaiseNoAccess(prop);
}
void SetStrProp(TObject& instance, const TPropInfo& prop, const std::string& value) {
    if (prop.SetStr) return prop.SetStr(instance, value);
    if (prop.SetWStr) return prop.SetWStr(instance, AnsiToWide(value));
    RaiseNoAccess(prop);
}
std::wstring GetWideStrProp(const TObject& instance, const TPropInfo& prop) {
    if (prop.GetWStr) return prop.GetWStr(instance);
    if (prop.GetStr) return AnsiToWide(prop.GetStr(instance));
    RaiseNoAccess(prop);
}
void SetWideStrProp(TObject& instance, const TPropInfo& prop, const std::wstring& value) {
    if (prop.SetWStr) return prop.SetWStr(instance, value);
    if (prop.SetStr) return prop.SetStr(instance, WideToAnsi(value));
    RaiseNoAccess(prop);
}
double GetFloatProp(const TObject& instance, const TPropInfo& prop) {
    if (!prop.GetFloat) RaiseNoAccess(prop);
    return prop.GetFloat(instance);
}
void SetFloatProp(TObject& instance, const TPropInfo& prop, double value) {
    if (!prop.SetFloat) RaiseNoAccess(prop);
    prop.SetFloat(instance, value);
}
TObject* GetObjectProp(const TObject& instance, const TPropInfo& prop) {
    if (!prop.GetObj) RaiseNoAccess(prop);
    return prop.GetObj(instance);
}
void SetObjectProp(TObject& instance, const TPropInfo& prop, TObject* value) {
    if (!prop.SetObj) RaiseNoAccess(prop);
    prop.SetObj(instance, value);
}
TMethod GetMethodProp(const TObject& instance, const TPropInfo& prop) {
    if (!prop.GetMethod) RaiseNoAccess(prop);
    return prop.GetMethod(instance);
}
void SetMethodProp(TObject& instance, const TPropInfo& prop, const TMethod& value) {
    if (!prop.SetMethod) RaiseNoAccess(prop);
    prop.SetMethod(instance, value);
}

std::string GetEnumProp(const TObject& instance, const std::string& name) {
    const TPropInfo* p = GetPropInfo(instance, name);
    if (!p) throw EPropertyError(Format(LoadStr(SUnknownProperty), {name}));
    return p->PropType->EnumName(GetOrdProp(instance, *p));
}

void SetEnumProp(TObject& instance, const std::string& name, const std::string& ident) {
    const TPropInfo* p = GetPropInfo(instance, name);
    if (!p) throw EPropertyError(Format(LoadStr(SUnknownProperty), {name}));
    int v = p->PropType->EnumValue(ident);
    if (v < 0) RaiseInvalidPropertyValue();
    SetOrdProp(instance, *p, v);
}

std::string SetToString(const TTypeInfo& setType, uint32_t bits, bool brackets) {
    const TTypeInfo* comp = setType.CompType ? setType.CompType() : nullptr;
    std::string result;
    for (int i = 0; i < 32; ++i) {
        if (!(bits & (uint32_t(1) << i))) continue;
        if (!result.empty()) result += ',';
        result += comp ? comp->EnumName(i) : IntToStr(i);
    }
    return brackets ? "[" + result + "]" : result;
}

uint32_t StringToSet(const TTypeInfo& setType, const std::string& text) {
    const TTypeInfo* comp = setType.CompType ? setType.CompType() : nullptr;
    uint32_t bits = 0;
    std::string s = text;
    if (!s.empty() && s.front() == '[') s.erase(0, 1);
    if (!s.empty() && s.back() == ']') s.pop_back();
    size_t pos = 0;
    while (pos <= s.size()) {
        size_t comma = s.find(',', pos);
        if (comma == std::string::npos) comma = s.size();
        std::string item = Trim(s.substr(pos, comma - pos));
        if (!item.empty()) {
            int v = comp ? comp->EnumValue(item) : -1;
            if (v < 0 || v > 31) RaiseInvalidPropertyValue();
            bits |= uint32_t(1) << v;
        }
        pos = comma + 1;
    }
    return bits;
}
