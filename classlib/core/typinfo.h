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
// Every registered class, in the order of their names.
std::vector<const TClassInfo*> RegisteredClasses();

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

[[noreturn]] void RaiseInvalidPropertyValue();
