#pragma once
#include <objbase.h>

#include <utility>

namespace sample {

// One reference to a COM interface, released when the holder goes or is reset.
template <class T>
class ComRef {
public:
    ComRef() = default;
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ~ComRef() { reset(); }

    T* get() const { return ptr_; }
    T* operator->() const { return ptr_; }
    explicit operator bool() const { return ptr_ != nullptr; }
    // The emptied slot for an out parameter, which hands over one reference.
    T** put()
    {
        reset();
        return &ptr_;
    }
    void** putVoid() { return reinterpret_cast<void**>(put()); }
    // Holds a reference of its own to p (none for null).
    void assign(T* p)
    {
        if (p)
            p->AddRef();
        reset();
        ptr_ = p;
    }
    void reset()
    {
        if (T* p = std::exchange(ptr_, nullptr))
            p->Release();
    }

private:
    T* ptr_ = nullptr;
};

}  // namespace sample
