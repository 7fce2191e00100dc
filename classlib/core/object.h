// Root of the class hierarchy: class identity, two-phase construction and
// destruction, and the owned-pointer helpers.
#pragma once
#include <memory>
#include <string>
#include <utility>

class TClassInfo;

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    static const TClassInfo& StaticClass();
    virtual const TClassInfo& ClassType() const { return StaticClass(); }
    const std::string& ClassName() const;
    bool InheritsFrom(const TClassInfo& ancestor) const;

    // Second phase of construction: runs after the most derived constructor,
    // so virtual calls reach the derived class.
    virtual void AfterConstruction() {}
    // First phase of destruction: runs while the object is still whole.
    virtual void BeforeDestruction() {}
    // BeforeDestruction, then delete. Every object made with New() ends here.
    void Free();
};

// Declares the class-information hooks; put it first in a class body.
#define DECLARE_CLASS(Class, Base)                                            \
public:                                                                       \
    using inherited = Base;                                                   \
    static const TClassInfo& StaticClass();                                   \
    const TClassInfo& ClassType() const override { return StaticClass(); }    \
                                                                              \
private:

// Constructs, then runs the second phase; frees the object when that throws.
template <class T, class... A>
T* New(A&&... args) {
    T* object = new T(std::forward<A>(args)...);
    try {
        object->AfterConstruction();
    } catch (...) {
        object->Free();
        throw;
    }
    return object;
}

struct TFreeDeleter {
    void operator()(TObject* object) const {
        if (object) object->Free();
    }
};

// Sole owner of an object that must end through Free().
template <class T>
using TOwned = std::unique_ptr<T, TFreeDeleter>;

template <class T, class... A>
TOwned<T> MakeOwned(A&&... args) {
    return TOwned<T>(New<T>(std::forward<A>(args)...));
}

// Frees the object a raw pointer points to and clears the pointer.
template <class T>
void FreeAndNil(T*& object) {
    T* old = object;
    object = nullptr;
    if (old) old->Free();
}
