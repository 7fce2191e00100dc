// Event properties: a callable plus, when bound by name from a layout, the
// identity of the published method (so a writer can name it again).
#pragma once
#include <functional>
#include <typeinfo>
#include <utility>

class TObject;
struct TMethodInfo;

// Identity of a bound published method: the instance and the method entry.
struct TMethod {
    TObject* Data = nullptr;
    const TMethodInfo* Code = nullptr;
    bool operator==(const TMethod&) const = default;
};

template <class Sig>
class TEvent;

template <class R, class... A>
class TEvent<R(A...)> {
public:
    using Function = std::function<R(A...)>;
    using Signature = R(A...);

    TEvent() = default;
    TEvent(std::nullptr_t) {}
    TEvent(Function fn, TMethod identity = {}) : fn_(std::move(fn)), method_(identity) {}
    template <class F, class = std::enable_if_t<std::is_invocable_r_v<R, F, A...> &&
                                                !std::is_same_v<std::decay_t<F>, TEvent> &&
                                                !std::is_same_v<std::decay_t<F>, Function>>>
    TEvent(F f) : fn_(std::move(f)) {}
    template <class C>
    TEvent(C* object, R (C::*method)(A...))
        : fn_([object, method](A... args) -> R { return (object->*method)(std::forward<A>(args)...); }) {}

    explicit operator bool() const { return static_cast<bool>(fn_); }
    R operator()(A... args) const { return fn_(std::forward<A>(args)...); }
    const TMethod& Method() const { return method_; }

private:
    Function fn_;
    TMethod method_;
};

using TNotifyEvent = TEvent<void(TObject* Sender)>;
