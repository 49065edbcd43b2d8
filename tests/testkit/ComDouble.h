#pragma once
// The one COM double of the tests, in the manner of the samples' ComObject: a class
// derives from ComDouble<I1, I2, ...> and implements the interfaces' own methods;
// ComDouble supplies IUnknown for all of them and an IDispatch that answers E_NOTIMPL.
// Every double counts itself in liveDoubles(), so a test sees what was leaked, and
// records the interfaces it was asked for.
#include <windows.h>
#include <objbase.h>
#include <oaidl.h>

#include <atomic>
#include <type_traits>
#include <utility>
#include <vector>

#include "support/ComPtr.h"

namespace testkit {

// Doubles alive now, in this process.
int liveDoubles();

namespace detail {
void doubleCreated();
void doubleDestroyed();

template <class... Is>
struct FirstDispatch {
    using type = void;
};
template <class I, class... Rest>
struct FirstDispatch<I, Rest...> {
    using type = std::conditional_t<std::is_base_of_v<IDispatch, I>, I, typename FirstDispatch<Rest...>::type>;
};
}  // namespace detail

template <class First, class... Rest>
class ComDouble : public First, public Rest... {
public:
    ComDouble() { detail::doubleCreated(); }
    ComDouble(const ComDouble&) = delete;
    ComDouble& operator=(const ComDouble&) = delete;
    virtual ~ComDouble()
    {
        if (counted_)
            detail::doubleDestroyed();
    }

    // Every interface identifier asked, in order.
    std::vector<IID> asked;
    bool wasAskedFor(REFIID iid) const
    {
        for (const IID& each : asked)
            if (each == iid)
                return true;
        return false;
    }
    ULONG references() const { return references_; }

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        asked.push_back(iid);
        if (HRESULT refused = refusal(iid); FAILED(refused))
            return refused;
        *out = find(iid);
        if (!*out)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
    STDMETHODIMP_(ULONG) Release() override
    {
        const ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }

    // IDispatch, for doubles with a dual interface: no type information, no calls.
    STDMETHODIMP GetTypeInfoCount(UINT* count)
    {
        if (!count)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) { return E_NOTIMPL; }

protected:
    // Plumbing of the kit itself (a served class factory) stays out of liveDoubles().
    struct Uncounted {};
    explicit ComDouble(Uncounted) : counted_(false) {}

    // A double that refuses some of its interfaces, or answers a question with a
    // failure, returns that failure here for them.
    virtual HRESULT refusal(REFIID) { return S_OK; }

private:
    void* find(REFIID iid)
    {
        if (iid == IID_IUnknown)
            return static_cast<IUnknown*>(static_cast<First*>(this));
        using Dispatch = typename detail::FirstDispatch<First, Rest...>::type;
        if constexpr (!std::is_void_v<Dispatch>) {
            if (iid == IID_IDispatch)
                return static_cast<IDispatch*>(static_cast<Dispatch*>(this));
        }
        void* found = nullptr;
        auto match = [&]<class I>(I*) {
            if (!found && iid == __uuidof(I))
                found = static_cast<I*>(this);
        };
        match(static_cast<First*>(nullptr));
        (match(static_cast<Rest*>(nullptr)), ...);
        return found;
    }

    std::atomic<ULONG> references_{1};
    bool counted_ = true;
};

// A new double of type T, held once by the returned pointer.
template <class T, class... Args>
ComPtr<T> makeDouble(Args&&... args)
{
    return ComPtr<T>::attach(new T(std::forward<Args>(args)...));
}

}  // namespace testkit
