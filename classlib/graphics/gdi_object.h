// Sole owner of a GDI object (bitmap, palette) that can also hand it over.
#pragma once
#include <utility>

#include "classlib/gui/win32.h"

class TGdiObject {
public:
    TGdiObject() = default;
    explicit TGdiObject(HGDIOBJ handle) : handle_(handle) {}
    TGdiObject(TGdiObject&& other) noexcept : handle_(other.Release()) {}
    TGdiObject& operator=(TGdiObject&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    ~TGdiObject() { Reset(); }

    HGDIOBJ Get() const { return handle_; }
    void Reset(HGDIOBJ handle = nullptr) {
        if (handle_ && handle_ != handle) DeleteObject(handle_);
        handle_ = handle;
    }
    // Gives the object away without deleting it.
    HGDIOBJ Release() { return std::exchange(handle_, nullptr); }

private:
    HGDIOBJ handle_ = nullptr;
};
