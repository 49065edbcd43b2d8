#pragma once
#include <objbase.h>

#include <utility>

// One COM reference of the host's, released when it goes.
template <class T>
class HostRef {
public:
    HostRef() = default;
    HostRef(const HostRef&) = delete;
    HostRef& operator=(const HostRef&) = delete;
    HostRef(HostRef&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
    HostRef& operator=(HostRef&& other) noexcept
    {
        reset(std::exchange(other.ptr_, nullptr));
        return *this;
    }
    ~HostRef() { reset(); }

    T* get() const { return ptr_; }
    T* operator->() const { return ptr_; }
    explicit operator bool() const { return ptr_ != nullptr; }
    T** put()
    {
        reset();
        return &ptr_;
    }
    void** putVoid() { return reinterpret_cast<void**>(put()); }
    // Adopts a reference the caller owns.
    void reset(T* p = nullptr)
    {
        if (ptr_)
            ptr_->Release();
        ptr_ = p;
    }

private:
    T* ptr_ = nullptr;
};
