// Filling a class's type information: the builder that StaticClass()
// definitions use and the registration macros. Only the .cpp files that
// define classes include it; class headers need typinfo.h alone.
#pragma once
#include <any>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <typeinfo>
#include <utility>

#include "classlib/core/typinfo.h"

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
