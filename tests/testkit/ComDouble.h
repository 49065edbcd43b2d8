#pragma once
// The one COM double of the tests, in the manner of the samples' ComObject: a class
// derives from ComDouble<I1, I2, ...> and implements the interfaces' own methods;
// ComDouble supplies IUnknown for all of them and an IDispatch that answers E_NOTIMPL.
// Every double counts itself in liveDoubles(), so a test sees what was leaked, and
// records the interfaces it was asked for.
#include <windows.h>
#include <objbase.h>
#include <oaidl.h>

#include <algorithm>
#include <atomic>
#include <type_traits>
#include <utility>
#include <vector>

#include "support/ComPtr.h"

// A method a double does not implement: it answers E_NOTIMPL.
#define TESTKIT_NOT_IMPLEMENTED(method, ...) \
    STDMETHODIMP method(__VA_ARGS__) override { return E_NOTIMPL; }

namespace testkit {

namespace detail {
inline std::atomic<int> liveDoubles{0};

template <class... Is>
struct FirstDispatch {
    using type = void;
};
template <class I, class... Rest>
struct FirstDispatch<I, Rest...> {
    using type = std::conditional_t<std::is_base_of_v<IDispatch, I>, I, typename FirstDispatch<Rest...>::type>;
};
}  // namespace detail

// Doubles alive now, in this process.
inline int liveDoubles() { return detail::liveDoubles; }

template <class First, class... Rest>
class ComDouble : public First, public Rest... {
    using Dispatch = typename detail::FirstDispatch<First, Rest...>::type;

public:
    ComDouble() { ++detail::liveDoubles; }
    ComDouble(const ComDouble&) = delete;
    ComDouble& operator=(const ComDouble&) = delete;
    virtual ~ComDouble() { detail::liveDoubles -= counted_; }

    // Every interface identifier asked, in order.
    std::vector<IID> asked;
    bool wasAskedFor(REFIID iid) const { return std::find(asked.begin(), asked.end(), iid) != asked.end(); }
    ULONG references() const { return references_; }
    // The question for iid answers the failure hr (E_NOINTERFACE: the double has no such
    // interface), from its (after + 1)th time on, `times` times (-1: always); a success
    // code refuses nothing.
    void refuse(REFIID iid, HRESULT hr = E_NOINTERFACE, int after = 0, int times = -1)
    {
        if (FAILED(hr))
            refused_.push_back({iid, hr, after, times});
    }
    // The question for iid answers S_OK without an object, as a broken component may.
    void answerWithoutObject(REFIID iid) { refused_.push_back({iid, S_OK, 0, -1}); }

    IUnknown* unknown() { return static_cast<First*>(this); }
    IDispatch* dispatch()
        requires(!std::is_void_v<Dispatch>)
    {
        return static_cast<Dispatch*>(this);
    }

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        asked.push_back(iid);
        for (Refused& each : refused_)
            if (each.iid == iid && each.times != 0 && each.after-- <= 0)
                return each.times > 0 ? --each.times, each.hr : each.hr;
        return (*out = find(iid)) ? (AddRef(), S_OK) : E_NOINTERFACE;
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
    STDMETHODIMP GetTypeInfoCount(UINT* count) { return count ? (*count = 0, S_OK) : E_POINTER; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) { return E_NOTIMPL; }

protected:
    // Plumbing of the kit itself (a served class factory) stays out of liveDoubles().
    struct Uncounted {};
    explicit ComDouble(Uncounted) : counted_(false) {}

private:
    void* find(REFIID iid)
    {
        if (iid == IID_IUnknown)
            return unknown();
        if constexpr (!std::is_void_v<Dispatch>) {
            if (iid == IID_IDispatch)
                return dispatch();
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

    struct Refused { IID iid; HRESULT hr; int after, times; };
    std::vector<Refused> refused_;
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
