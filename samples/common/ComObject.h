#pragma once
#include <windows.h>
#include <objbase.h>
#include <oaidl.h>
#include <atomic>
#include <new>
#include <type_traits>
#include <utility>

#include "ComRef.h"
#include "DispatchInfo.h"
#include "ModuleState.h"

// The COM plumbing every sample class shares, in the manner of ATL's CComObject:
// a class T derives from the interfaces it implements and implements their own
// methods; it names them for QueryInterface in a member
//     void* findInterface(REFIID iid)
// (usually `return sample::lookupInterface<ICapeUnit, ICapeUtilities, ...>(this, iid);`).
// ComObject<T> then supplies IUnknown for all of them, and IDispatch for those
// that are dual: late-bound calls reach the primary dual interface (the first dual
// one named), described by the type library embedded in the DLL (DispatchInfo.h).
// Without that library the object publishes no type information and knows no names.
namespace sample {

namespace detail {
template <class... Is>
struct FirstDispatch;
template <>
struct FirstDispatch<> {
    using type = void;
};
template <class I, class... Rest>
struct FirstDispatch<I, Rest...> {
    using type = std::conditional_t<std::is_base_of_v<IDispatch, I>, I, typename FirstDispatch<Rest...>::type>;
};
}  // namespace detail

// The interface pointer of `object` for iid among Is...; IUnknown resolves to the
// first interface and IDispatch to the first dual one, so that identity holds.
// Returns null when the object does not implement iid.
template <class First, class... Is, class Object>
void* lookupInterface(Object* object, REFIID iid)
{
    if (iid == IID_IUnknown)
        return static_cast<IUnknown*>(static_cast<First*>(object));
    using Dispatch = typename detail::FirstDispatch<First, Is...>::type;
    if constexpr (!std::is_void_v<Dispatch>) {
        if (iid == IID_IDispatch)
            return static_cast<IDispatch*>(static_cast<Dispatch*>(object));
    }
    void* found = nullptr;
    auto match = [&]<class I>(I*) {
        if (!found && iid == __uuidof(I))
            found = static_cast<I*>(object);
    };
    match(static_cast<First*>(nullptr));
    (match(static_cast<Is*>(nullptr)), ...);
    return found;
}

template <class T>
class ComObject final : public T {
public:
    template <class... Args>
    explicit ComObject(Args&&... args) : T(std::forward<Args>(args)...)
    {
        module::objectCreated();
    }
    ~ComObject() override { module::objectDestroyed(); }

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        *out = this->findInterface(iid);
        if (!*out)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
    STDMETHODIMP_(ULONG) Release() override
    {
        ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }

    // IDispatch, for every dual interface of T.
    STDMETHODIMP GetTypeInfoCount(UINT* count)
    {
        if (!count)
            return E_POINTER;
        *count = typeInfo() ? 1 : 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** info)
    {
        if (!info)
            return E_POINTER;
        *info = nullptr;
        if (index != 0 || !typeInfo())
            return DISP_E_BADINDEX;
        typeInfo_->AddRef();
        *info = typeInfo_.get();
        return S_OK;
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids)
    {
        if (!typeInfo()) {
            for (UINT i = 0; ids && i < count; ++i)
                ids[i] = DISPID_UNKNOWN;
            return DISP_E_UNKNOWNNAME;
        }
        return DispGetIDsOfNames(typeInfo_.get(), names, count, ids);
    }
    STDMETHODIMP Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                        EXCEPINFO* exception, UINT* argumentError)
    {
        if (!typeInfo())
            return DISP_E_MEMBERNOTFOUND;
        return DispInvoke(this->findInterface(IID_IDispatch), typeInfo_.get(), member, flags, parameters, result,
                          exception, argumentError);
    }

private:
    // Looked up once, on the first late-bound call.
    ITypeInfo* typeInfo()
    {
        if (!typeInfoLooked_) {
            typeInfoLooked_ = true;
            *typeInfo_.put() = primaryTypeInfo(this->findInterface(IID_IDispatch),
                                               [this](REFIID iid) { return this->findInterface(iid); });
        }
        return typeInfo_.get();
    }

    std::atomic<ULONG> references_{1};
    ComRef<ITypeInfo> typeInfo_;  // once looked up
    bool typeInfoLooked_ = false;
};

// Base of every sample class: gives it a virtual destructor, so that ComObject<T>
// destroys the whole object.
class ObjectBase {
public:
    ObjectBase() = default;
    ObjectBase(const ObjectBase&) = delete;
    ObjectBase& operator=(const ObjectBase&) = delete;
    virtual ~ObjectBase() = default;
};

// Creates a ComObject<T> from args and hands out its iid interface (one reference);
// a constructor that throws gives E_OUTOFMEMORY or E_FAIL, never an exception.
template <class T, class... Args>
HRESULT createObject(REFIID iid, void** out, Args&&... args)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    ComObject<T>* object = nullptr;
    try {
        object = new ComObject<T>(std::forward<Args>(args)...);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
    HRESULT hr = object->QueryInterface(iid, out);
    object->Release();  // the creation reference; a failed QueryInterface destroys it
    return hr;
}

}  // namespace sample
