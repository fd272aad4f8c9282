#pragma once

// Move-only owners of Win32 handles, GDI objects and COM pointers: a copy would release
// twice, so there is none.

#include <objbase.h>
#include <windows.h>

#include <utility>

namespace gui {

template <typename Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        reset(other.release());
        return *this;
    }
    ~UniqueHandle() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Handle{}; }

    Handle release() { return std::exchange(handle_, Handle{}); }
    void reset(Handle handle = Handle{}) {
        if (handle_ != Handle{}) {
            Traits::close(handle_);
        }
        handle_ = handle;
    }

private:
    Handle handle_{};
};

struct GdiObjectTraits {
    using Handle = HGDIOBJ;
    static void close(Handle h) { DeleteObject(h); }
};
struct MemoryDcTraits {
    using Handle = HDC;
    static void close(Handle h) { DeleteDC(h); }
};
struct IconTraits {
    using Handle = HICON;
    static void close(Handle h) { DestroyIcon(h); }
};
struct WindowTraits {
    using Handle = HWND;
    static void close(Handle h) { DestroyWindow(h); }
};

using UniqueGdiObject = UniqueHandle<GdiObjectTraits>;
using UniqueMemoryDc = UniqueHandle<MemoryDcTraits>;
using UniqueIcon = UniqueHandle<IconTraits>;
using UniqueWindow = UniqueHandle<WindowTraits>;

// A device context borrowed from a window with GetDC, given back on scope exit.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc_ != nullptr) {
            ReleaseDC(window_, dc_);
        }
    }
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// Selects an object into a DC for a scope and puts the old one back.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    ~SelectedObject() { SelectObject(dc_, old_); }

private:
    HDC dc_;
    HGDIOBJ old_;
};

// An owned COM interface pointer.
template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        reset(std::exchange(other.p_, nullptr));
        return *this;
    }
    ~ComPtr() { reset(); }

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For functions that hand out a new reference through T**.
    T** put() {
        reset();
        return &p_;
    }
    void** putVoid() { return reinterpret_cast<void**>(put()); }
    void reset(T* p = nullptr) {
        if (p_ != nullptr) {
            p_->Release();
        }
        p_ = p;
    }

    template <typename U>
    ComPtr<U> query() const {
        ComPtr<U> other;
        if (p_ != nullptr) {
            p_->QueryInterface(__uuidof(U), other.putVoid());
        }
        return other;
    }

private:
    T* p_ = nullptr;
};

// OLE for the GUI thread, uninitialised on scope exit if this object initialised it.
class OleApartment {
public:
    OleApartment() : initialised_(SUCCEEDED(OleInitialize(nullptr))) {}
    OleApartment(const OleApartment&) = delete;
    OleApartment& operator=(const OleApartment&) = delete;
    ~OleApartment() {
        if (initialised_) {
            OleUninitialize();
        }
    }

private:
    bool initialised_;
};

}  // namespace gui
