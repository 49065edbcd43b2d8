#pragma once
#include <windows.h>
#include <objbase.h>
#include <utility>

#include "support/ForeignCall.h"

// Holds one reference to a COM interface: AddRef on copy, Release on destruction.
// put() hands the slot to an out parameter; detach() gives the reference away.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    // Takes a new reference of its own to p.
    explicit ComPtr(T* p) : ptr_(p) { addRef(); }
    ComPtr(const ComPtr& other) : ptr_(other.ptr_) { addRef(); }
    ComPtr(ComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
    ~ComPtr() { release(); }

    ComPtr& operator=(ComPtr other) noexcept
    {
        std::swap(ptr_, other.ptr_);
        return *this;
    }
    ComPtr& operator=(std::nullptr_t)
    {
        release();
        return *this;
    }

    // Adopts a reference the caller already owns (no AddRef).
    static ComPtr attach(T* p)
    {
        ComPtr result;
        result.ptr_ = p;
        return result;
    }

    T* get() const { return ptr_; }
    T* operator->() const { return ptr_; }
    explicit operator bool() const { return ptr_ != nullptr; }

    // Releases what is held and returns the empty slot for an out parameter.
    T** put()
    {
        release();
        return &ptr_;
    }
    void** putVoid() { return reinterpret_cast<void**>(put()); }

    // Drops what the slot holds without releasing it: what a failed call left there
    // belongs to nobody (see callForeign).
    void forget() { ptr_ = nullptr; }

    // Hands the held reference to the caller, who now owns it.
    [[nodiscard]] T* detach() { return std::exchange(ptr_, nullptr); }

    // Copies the reference into an out parameter (AddRef for the receiver).
    void copyTo(T** out) const
    {
        addRef();
        *out = ptr_;
    }

    template <class U>
    HRESULT queryInterface(REFIID iid, ComPtr<U>& out) const;

private:
    void addRef() const
    {
        if (ptr_)
            ptr_->AddRef();
    }
    void release()
    {
        if (T* p = std::exchange(ptr_, nullptr))
            p->Release();
    }

    T* ptr_ = nullptr;
};

// Asks object for iid. Only a successful answer with an object hands out a reference;
// what a failing QueryInterface leaves in its out parameter is never trusted nor
// released, and "success" without an object is E_NOINTERFACE. out is written last,
// so it may be the very holder of object.
template <class U>
HRESULT queryInterfaceOf(IUnknown* object, REFIID iid, ComPtr<U>& out)
{
    if (!object) {
        out = nullptr;
        return E_POINTER;
    }
    void* raw = nullptr;
    HRESULT hr = callForeign("QueryInterface", [&] { return object->QueryInterface(iid, &raw); });
    if (SUCCEEDED(hr) && !raw)
        hr = E_NOINTERFACE;
    out = SUCCEEDED(hr) ? ComPtr<U>::attach(static_cast<U*>(raw)) : ComPtr<U>();
    return hr;
}

template <class T>
template <class U>
HRESULT ComPtr<T>::queryInterface(REFIID iid, ComPtr<U>& out) const
{
    return queryInterfaceOf(ptr_, iid, out);
}
