// Reference-counted interfaces: every interface starts with the three
// operations of IInterface; TInterfacePtr holds one reference, and
// TInterfacedObject counts references for objects that implement
// interfaces.
#pragma once
#include <atomic>
#include <cstdint>
#include <utility>

#include "classlib/core/object.h"

struct TGUID {
    uint32_t D1;
    uint16_t D2, D3;
    uint8_t D4[8];
    bool operator==(const TGUID&) const = default;
};

constexpr int32_t kInterfaceOk = 0;
constexpr int32_t kNoInterface = static_cast<int32_t>(0x80004002);

class IInterface {
public:
    virtual int32_t QueryInterface(const TGUID& iid, void** object) = 0;
    virtual int32_t AddRef() = 0;
    virtual int32_t Release() = 0;

protected:
    ~IInterface() = default;
};

// One reference to an interface, given back when the holder goes.
template <class T>
class TInterfacePtr {
public:
    TInterfacePtr() = default;
    TInterfacePtr(std::nullptr_t) {}
    TInterfacePtr(T* p) : p_(p) {
        if (p_) p_->AddRef();
    }
    TInterfacePtr(const TInterfacePtr& other) : TInterfacePtr(other.p_) {}
    TInterfacePtr(TInterfacePtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ~TInterfacePtr() {
        if (p_) p_->Release();
    }
    TInterfacePtr& operator=(TInterfacePtr other) noexcept {
        std::swap(p_, other.p_);
        return *this;
    }

    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    T& operator*() const { return *p_; }
    explicit operator bool() const { return p_ != nullptr; }
    bool operator==(const TInterfacePtr& other) const { return p_ == other.p_; }

private:
    T* p_ = nullptr;
};

// Implements the counting: the object frees itself when the last reference
// goes. QueryInterface knows no interfaces; a class that wants to be asked
// answers it.
class TInterfacedObject : public TObject, public IInterface {
public:
    int32_t QueryInterface(const TGUID&, void** object) override {
        if (object) *object = nullptr;
        return kNoInterface;
    }
    int32_t AddRef() override { return ++ref_count_; }
    int32_t Release() override {
        int32_t count = --ref_count_;
        if (count == 0) Free();
        return count;
    }
    int32_t RefCount() const { return ref_count_.load(); }

private:
    std::atomic<int32_t> ref_count_{0};
};
