// Run-time type information of published properties, methods and fields,
// registered per class in declaration order. Form streaming, property
// editors and filer definitions work from it.
#pragma once
#include <any>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <string>
#include <type_traits>
#include <typeinfo>
#include <vector>

#include "classlib/core/events.h"
#include "classlib/core/exceptions.h"
#include "classlib/core/object.h"
#include "classlib/core/sets.h"

class TComponent;
class TCollection;
// The object as a component or collection (nullptr when it is none); for
// factories.
TComponent* AsComponent(TObject* object);
TCollection* AsCollection(TObject* object);

// The ordinals follow the class library's numbering (wide string = 11,
// wide character = 9), which stored data refers to.
enum TTypeKind {
    tkUnknown, tkInteger, tkChar, tkEnumeration, tkFloat, tkString, tkSet, tkClass,
    tkMethod, tkWChar, tkLString, tkWString, tkVariant, tkArray, tkRecord, tkInterface,
    tkInt64, tkDynArray
};

constexpr int32_t NoDefault = INT32_MIN;  // $80000000: the property declares no default

struct TTypeInfo {
    TTypeKind Kind = tkUnknown;
    std::string Name;
    int64_t MinValue = 0, MaxValue = 0;         // ordinal types
    std::vector<std::string> EnumNames;         // enumerations (Boolean: False, True)
    const TTypeInfo* (*CompType)() = nullptr;   // sets: the element type
    const TClassInfo& (*ClassType)() = nullptr; // classes
    const std::type_info* MethodSignature = nullptr;  // methods
    int MaxLength = 0;                          // short strings (tkString)
    // Integer types with identifiers (colours, cursors, character sets).
    bool (*IntToIdent)(int32_t value, std::string& ident) = nullptr;
    bool (*IdentToInt)(const std::string& ident, int32_t& value) = nullptr;

    bool IsOrdinal() const;
    // Case-insensitive lookup of an enumeration identifier; -1 when unknown.
    int EnumValue(const std::string& ident) const;
    const std::string& EnumName(int64_t value) const;  // "" outside the range
};

// Type information by C++ type. Enumerations declare theirs with
// DECLARE_ENUM_TYPE / DEFINE_ENUM_TYPE; integer aliases with identifiers
// (TColor, TCursor) pass theirs explicitly when registering a property.
template <class T, class = void>
struct TTypeInfoOf;

template <class T>
const TTypeInfo* TypeInfo() {
    return TTypeInfoOf<T>::Get();
}

TTypeInfo MakeEnumType(const char* name, std::initializer_list<const char*> names);
TTypeInfo MakeIntegerType(const char* name, int64_t minValue, int64_t maxValue);

#define DECLARE_ENUM_TYPE(E)                    \
    template <>                                 \
    struct TTypeInfoOf<E> {                     \
        static const TTypeInfo* Get();          \
    };
#define DEFINE_ENUM_TYPE(E, ...)                                         \
    const TTypeInfo* TTypeInfoOf<E>::Get() {                             \
        static const TTypeInfo info = MakeEnumType(#E, {__VA_ARGS__});  \
        return &info;                                                    \
    }

#define CLASSLIB_BUILTIN_TYPE(T)        \
    template <>                         \
    struct TTypeInfoOf<T> {             \
        static const TTypeInfo* Get();  \
    };
CLASSLIB_BUILTIN_TYPE(int32_t)
CLASSLIB_BUILTIN_TYPE(int16_t)
CLASSLIB_BUILTIN_TYPE(uint16_t)
CLASSLIB_BUILTIN_TYPE(uint8_t)
CLASSLIB_BUILTIN_TYPE(int64_t)
CLASSLIB_BUILTIN_TYPE(bool)
CLASSLIB_BUILTIN_TYPE(char)
CLASSLIB_BUILTIN_TYPE(wchar_t)
CLASSLIB_BUILTIN_TYPE(double)
CLASSLIB_BUILTIN_TYPE(std::string)
CLASSLIB_BUILTIN_TYPE(std::wstring)
#undef CLASSLIB_BUILTIN_TYPE

// Short string of at most 255 characters (files as a string, stored as a
// std::string). Registered by passing ShortStringType() explicitly.
const TTypeInfo* ShortStringType();

template <class T>
struct TTypeInfoOf<T*, std::enable_if_t<std::is_base_of_v<TObject, T>>> {
    static const TTypeInfo* Get() {
        static const TTypeInfo info = [] {
            TTypeInfo t;
            t.Kind = tkClass;
            t.ClassType = [] () -> const TClassInfo& { return T::StaticClass(); };
            return t;
        }();
        return &info;
    }
};

template <class E>
struct TTypeInfoOf<TSet<E>> {
    static const TTypeInfo* Get() {
        static const TTypeInfo info = [] {
            TTypeInfo t;
            t.Kind = tkSet;
            t.CompType = &TypeInfo<E>;
            return t;
        }();
        return &info;
    }
};

template <class S>
struct TTypeInfoOf<TEvent<S>> {
    static const TTypeInfo* Get() {
        static const TTypeInfo info = [] {
            TTypeInfo t;
            t.Kind = tkMethod;
            t.MethodSignature = &typeid(S);
            return t;
        }();
        return &info;
    }
};

// One published (or protected, to be published by a descendant) property.
struct TPropInfo {
    std::string Name;
    const TTypeInfo* PropType = nullptr;
    int32_t Default = NoDefault;
    bool Published = true;
    bool StoredConst = true;                           // used when StoredFn is empty
    std::function<bool(const TObject&)> StoredFn;

    std::function<int64_t(const TObject&)> GetOrd;     // integer, char, enum, set, Boolean
    std::function<void(TObject&, int64_t)> SetOrd;
    std::function<std::string(const TObject&)> GetStr; // short and long strings
    std::function<void(TObject&, const std::string&)> SetStr;
    std::function<std::wstring(const TObject&)> GetWStr;
    std::function<void(TObject&, const std::wstring&)> SetWStr;
    std::function<double(const TObject&)> GetFloat;
    std::function<void(TObject&, double)> SetFloat;
    std::function<TObject*(const TObject&)> GetObj;
    std::function<void(TObject&, TObject*)> SetObj;
    std::function<TMethod(const TObject&)> GetMethod;
    std::function<void(TObject&, const TMethod&)> SetMethod;

    TTypeKind Kind() const { return PropType ? PropType->Kind : tkUnknown; }
    bool HasReader() const;
    bool HasWriter() const;
    bool IsStored(const TObject& instance) const;
};

// A published method that layouts can bind to events by name.
struct TMethodInfo {
    std::string Name;
    const std::type_info* Signature = nullptr;
    std::function<std::any(TObject* instance)> Bind;  // std::function<Signature> bound to instance
};

// A published component field, set when a layout creates the component of
// that name.
struct TFieldInfo {
    std::string Name;
    const TClassInfo& (*FieldClass)() = nullptr;
    std::function<void(TObject&, TObject*)> Set;
    std::function<TObject*(const TObject&)> Get;
};

template <class C>
class TClassBuilder;

class TClassInfo {
public:
    // Creates an instance; for components the argument is the owner, for
    // collection items the collection.
    using Factory = std::function<TObject*(TObject* arg)>;

    TClassInfo(std::string name, const TClassInfo* parent);
    TClassInfo(TClassInfo&&) noexcept;
    TClassInfo(const TClassInfo&) = delete;
    ~TClassInfo();

    const std::string& Name() const { return name_; }
    const TClassInfo* Parent() const { return parent_; }
    bool InheritsFrom(const TClassInfo& ancestor) const;
    bool CanCreate() const { return static_cast<bool>(factory_); }
    TObject* CreateInstance(TObject* arg) const;

    // Published properties, ancestors' first; a re-published property keeps
    // its ancestor's place.
    const std::vector<const TPropInfo*>& Props() const;
    const TPropInfo* FindProp(const std::string& name) const;     // published only, case-insensitive
    const TPropInfo* FindDefinition(const std::string& name) const;  // published or protected
    const TMethodInfo* FindMethod(const std::string& name) const;
    const TMethodInfo* FindMethodByName(const std::string& name) const { return FindMethod(name); }
    const TFieldInfo* FindField(const std::string& name) const;
    // Looks up a class by name among the published fields' classes.
    const TClassInfo* FindFieldClass(const std::string& className) const;

private:
    template <class C>
    friend class TClassBuilder;

    std::string name_;
    const TClassInfo* parent_;
    Factory factory_;
    std::vector<std::unique_ptr<TPropInfo>> own_props_;
    std::vector<TMethodInfo> methods_;
    std::vector<TFieldInfo> fields_;
    mutable std::once_flag props_once_;
    mutable std::vector<const TPropInfo*> props_;
};

// Global registry of classes that layouts may name.
void RegisterClass(const TClassInfo& info);
const TClassInfo* GetClass(const std::string& name);  // nullptr when unknown
const TClassInfo& FindClass(const std::string& name);  // raises EClassNotFound

// Property access by record, as the streaming code uses it.
const TPropInfo* GetPropInfo(const TObject& instance, const std::string& name);
int64_t GetOrdProp(const TObject& instance, const TPropInfo& prop);
void SetOrdProp(TObject& instance, const TPropInfo& prop, int64_t value);
std::string GetStrProp(const TObject& instance, const TPropInfo& prop);
void SetStrProp(TObject& instance, const TPropInfo& prop, const std::string& value);
std::wstring GetWideStrProp(const TObject& instance, const TPropInfo& prop);
void SetWideStrProp(TObject& instance, const TPropInfo& prop, const std::wstring& value);
double GetFloatProp(const TObject& instance, const TPropInfo& prop);
void SetFloatProp(TObject& instance, const TPropInfo& prop, double value);
TObject* GetObjectProp(const TObject& instance, const TPropInfo& prop);
void SetObjectProp(TObject& instance, const TPropInfo& prop, TObject* value);
TMethod GetMethodProp(const TObject& instance, const TPropInfo& prop);
void SetMethodProp(TObject& instance, const TPropInfo& prop, const TMethod& value);
std::string GetEnumProp(const TObject& instance, const std::string& name);
void SetEnumProp(TObject& instance, const std::string& name, const std::string& ident);
std::string SetToString(const TTypeInfo& setType, uint32_t bits, bool brackets = true);
uint32_t StringToSet(const TTypeInfo& setType, const std::string& text);

namespace typinfo_detail {
template <class V>
int64_t ToOrd(const V& v) {
    if constexpr (std::is_same_v<V, bool>) return v ? 1 : 0;
    else if constexpr (std::is_same_v<V, char>) return static_cast<unsigned char>(v);
    else if constexpr (std::is_same_v<V, wchar_t>) return static_cast<uint16_t>(v);
    else if constexpr (std::is_enum_v<V>) return static_cast<int64_t>(v);
    else if constexpr (std::is_integral_v<V>) return static_cast<int64_t>(v);
    else return static_cast<int64_t>(v.Bits());  // TSet
}
template <class V>
V FromOrd(int64_t o) {
    if constexpr (std::is_same_v<V, bool>) return o != 0;
    else if constexpr (std::is_enum_v<V> || std::is_integral_v<V>) return static_cast<V>(o);
    else return V::FromBits(static_cast<uint32_t>(o));  // TSet
}
template <class V>
struct IsEvent : std::false_type {};
template <class S>
struct IsEvent<TEvent<S>> : std::true_type {};
}  // namespace typinfo_detail

[[noreturn]] void RaiseInvalidPropertyValue();

// Fills a class's information; used inside StaticClass() definitions.
template <class C>
class TClassBuilder {
public:
    using Class = C;

    explicit TClassBuilder(TClassInfo& info) : info_(info) {}

    // Lets layouts and FindClass create instances of the class.
    TClassBuilder& Creatable() {
        info_.factory_ = [](TObject* arg) -> TObject* {
            if constexpr (std::is_constructible_v<C, decltype(arg)>) return New<C>(arg);
            else if constexpr (std::is_constructible_v<C, TComponent*>) return New<C>(AsComponent(arg));
            else if constexpr (std::is_constructible_v<C, TCollection*>) return New<C>(AsCollection(arg));
            else return New<C>();
        };
        return *this;
    }
    template <class F>
    TClassBuilder& CreateWith(F factory) {
        info_.factory_ = std::move(factory);
        return *this;
    }

    // A property read by get(const C&) and written by set(C&, V) (member
    // functions or callables). The type defaults to the getter's.
    template <class G, class S>
    TClassBuilder& Prop(std::string name, G get, S set, const TTypeInfo* type = nullptr) {
        using V = std::decay_t<std::invoke_result_t<G, const C&>>;
        auto p = std::make_unique<TPropInfo>();
        p->Name = std::move(name);
        p->PropType = type ? type : TypeInfo<V>();
        Bind<V>(*p, get, set);
        last_ = p.get();
        info_.own_props_.push_back(std::move(p));
        return *this;
    }
    template <class G>
    TClassBuilder& ReadOnlyProp(std::string name, G get, const TTypeInfo* type = nullptr) {
        return Prop(std::move(name), get, nullptr, type);
    }
    // An event held in a public member.
    template <class S>
    TClassBuilder& Event(std::string name, TEvent<S> C::*member) {
        auto p = std::make_unique<TPropInfo>();
        p->Name = std::move(name);
        p->PropType = TypeInfo<TEvent<S>>();
        p->GetMethod = [member](const TObject& o) { return (static_cast<const C&>(o).*member).Method(); };
        p->SetMethod = [member](TObject& o, const TMethod& m) {
            static_cast<C&>(o).*member = BindEvent<S>(m);
        };
        last_ = p.get();
        info_.own_props_.push_back(std::move(p));
        return *this;
    }
    TClassBuilder& Default(int64_t value) { last_->Default = static_cast<int32_t>(value); return *this; }
    TClassBuilder& NoDefaultValue() { last_->Default = NoDefault; return *this; }
    TClassBuilder& Stored(bool stored) { last_->StoredConst = stored; last_->StoredFn = nullptr; return *this; }
    template <class F>
    TClassBuilder& StoredIf(F fn) {
        last_->StoredFn = [fn](const TObject& o) { return std::invoke(fn, static_cast<const C&>(o)); };
        return *this;
    }
    // Defines the last property without publishing it; a descendant
    // publishes it with Publish().
    TClassBuilder& Hidden() { last_->Published = false; return *this; }
    // Publishes an ancestor's property definition (published or hidden);
    // Default()/Stored() may follow to change them for this class.
    TClassBuilder& Publish(const std::string& name) {
        const TPropInfo* base = info_.parent_ ? info_.parent_->FindDefinition(name) : nullptr;
        if (!base) throw EPropertyError("Property " + name + " is not defined in an ancestor of " + info_.name_);
        auto p = std::make_unique<TPropInfo>(*base);
        p->Published = true;
        last_ = p.get();
        info_.own_props_.push_back(std::move(p));
        return *this;
    }
    template <class... Names>
    TClassBuilder& PublishAll(const Names&... names) {
        (Publish(names), ...);
        return *this;
    }

    template <class M>
    TClassBuilder& Method(std::string name, M method) {
        info_.methods_.push_back(MakeMethod(std::move(name), method));
        return *this;
    }
    template <class T>
    TClassBuilder& Field(std::string name, T* C::*member) {
        TFieldInfo f;
        f.Name = std::move(name);
        f.FieldClass = [] () -> const TClassInfo& { return T::StaticClass(); };
        f.Set = [member](TObject& o, TObject* v) {
            T* typed = v ? dynamic_cast<T*>(v) : nullptr;
            if (v && !typed) RaiseInvalidPropertyValue();
            static_cast<C&>(o).*member = typed;
        };
        f.Get = [member](const TObject& o) -> TObject* { return static_cast<const C&>(o).*member; };
        info_.fields_.push_back(std::move(f));
        return *this;
    }

    template <class S>
    static TEvent<S> BindEvent(const TMethod& m) {
        if (!m.Code) return TEvent<S>();
        if (!m.Code->Signature || *m.Code->Signature != typeid(S)) RaiseInvalidPropertyValue();
        auto fn = std::any_cast<typename TEvent<S>::Function>(m.Code->Bind(m.Data));
        return TEvent<S>(std::move(fn), m);
    }

private:
    template <class V, class G, class S>
    static void Bind(TPropInfo& p, G get, S set) {
        using namespace typinfo_detail;
        constexpr bool hasSet = !std::is_same_v<S, std::nullptr_t>;
        auto getter = [get](const TObject& o) -> V { return std::invoke(get, static_cast<const C&>(o)); };
        if constexpr (std::is_same_v<V, std::string>) {
            p.GetStr = getter;
            if constexpr (hasSet) p.SetStr = [set](TObject& o, const std::string& v) { std::invoke(set, static_cast<C&>(o), v); };
        } else if constexpr (std::is_same_v<V, std::wstring>) {
            p.GetWStr = getter;
            if constexpr (hasSet) p.SetWStr = [set](TObject& o, const std::wstring& v) { std::invoke(set, static_cast<C&>(o), v); };
        } else if constexpr (std::is_floating_point_v<V>) {
            p.GetFloat = [getter](const TObject& o) { return static_cast<double>(getter(o)); };
            if constexpr (hasSet) p.SetFloat = [set](TObject& o, double v) { std::invoke(set, static_cast<C&>(o), static_cast<V>(v)); };
        } else if constexpr (std::is_pointer_v<V>) {
            using T = std::remove_pointer_t<V>;
            p.GetObj = [getter](const TObject& o) -> TObject* { return getter(o); };
            if constexpr (hasSet) p.SetObj = [set](TObject& o, TObject* v) {
                T* typed = v ? dynamic_cast<T*>(v) : nullptr;
                if (v && !typed) RaiseInvalidPropertyValue();
                std::invoke(set, static_cast<C&>(o), typed);
            };
        } else {
            p.GetOrd = [getter](const TObject& o) { return ToOrd<V>(getter(o)); };
            if constexpr (hasSet) p.SetOrd = [set](TObject& o, int64_t v) { std::invoke(set, static_cast<C&>(o), FromOrd<V>(v)); };
        }
    }

    template <class R, class... A>
    static TMethodInfo MakeMethod(std::string name, R (C::*method)(A...)) {
        TMethodInfo m;
        m.Name = std::move(name);
        m.Signature = &typeid(R(A...));
        m.Bind = [method](TObject* instance) -> std::any {
            C* self = dynamic_cast<C*>(instance);
            if (!self) RaiseInvalidPropertyValue();
            return std::function<R(A...)>(
                [self, method](A... args) -> R { return (self->*method)(std::forward<A>(args)...); });
        };
        return m;
    }

    TClassInfo& info_;
    TPropInfo* last_ = nullptr;
};

// The class a builder fills; the registration macros name members through it.
template <class B>
using BuiltClass = typename std::remove_reference_t<B>::Class;

// Registration by member name, each name written once: PROPERTY(c, Color)
// registers "Color", read by Color() and written by SetColor(); an optional
// last argument gives the type information. The builder's chained calls
// (.Default(...), .Hidden(), ...) follow as usual.
#define PROPERTY(builder, name, ...)                                \
    (builder).Prop(#name, &BuiltClass<decltype(builder)>::name,    \
                   &BuiltClass<decltype(builder)>::Set##name __VA_OPT__(, ) __VA_ARGS__)
// A property read by name() and never written.
#define READONLY_PROPERTY(builder, name, ...) \
    (builder).ReadOnlyProp(#name, &BuiltClass<decltype(builder)>::name __VA_OPT__(, ) __VA_ARGS__)
// An event held in the public member of that name.
#define EVENT(builder, name) (builder).Event(#name, &BuiltClass<decltype(builder)>::name)
// A published method that layouts bind to events by name.
#define METHOD(builder, name) (builder).Method(#name, &BuiltClass<decltype(builder)>::name)
// A published component field, set when a layout creates that component.
#define FIELD(builder, name) (builder).Field(#name, &BuiltClass<decltype(builder)>::name)

// Builds the information of class C; the body fills it through the builder.
template <class C, class F>
TClassInfo DefineClass(const char* name, const TClassInfo* parent, F body) {
    TClassInfo info(name, parent);
    TClassBuilder<C> builder(info);
    body(builder);
    return info;
}
