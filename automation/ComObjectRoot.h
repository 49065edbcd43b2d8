#pragma once
#include <windows.h>
#include <objbase.h>
#include <new>

// Identity and reference counting of a COM object that can be aggregated.
//
// The object owns a non-delegating ("inner") IUnknown that counts references and
// answers QueryInterface. Every interface the object implements delegates its
// IUnknown methods to the controlling unknown: the outer object when aggregated,
// the inner unknown otherwise. Single-threaded counting: the object lives in one
// apartment. Each live object holds one module lock.
class ComObjectRoot {
public:
    ComObjectRoot(const ComObjectRoot&) = delete;
    ComObjectRoot& operator=(const ComObjectRoot&) = delete;

    // The object's own IUnknown; the class factory hands it to an aggregating outer.
    IUnknown* innerUnknown() { return &inner_; }

protected:
    explicit ComObjectRoot(IUnknown* outer);
    virtual ~ComObjectRoot();

    // What the object's interfaces answer for IUnknown's methods.
    HRESULT controllingQueryInterface(REFIID iid, void** out) { return controlling_->QueryInterface(iid, out); }
    ULONG controllingAddRef() { return controlling_->AddRef(); }
    ULONG controllingRelease() { return controlling_->Release(); }

    // The interface of this object for iid (IUnknown is answered by the root), or null.
    virtual IUnknown* findInterface(REFIID iid) = 0;
    // Runs once when the last reference goes, before destruction. References taken
    // and given back in here do not destroy the object a second time.
    virtual void finalRelease() {}

private:
    class InnerUnknown : public IUnknown {
    public:
        explicit InnerUnknown(ComObjectRoot& owner) : owner_(owner) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
        ULONG STDMETHODCALLTYPE AddRef() override;
        ULONG STDMETHODCALLTYPE Release() override;

    private:
        ComObjectRoot& owner_;
    };

    InnerUnknown inner_;
    IUnknown* controlling_;
    ULONG references_ = 0;
};

// Creates an object of class T (constructor T(IUnknown* outer), HRESULT FinalConstruct())
// and asks it for iid, as a class factory's CreateInstance does. An outer unknown may
// only ask for IUnknown (CLASS_E_NOAGGREGATION otherwise). On any failure *out is null
// and the object is gone.
template <class T>
HRESULT createComObject(IUnknown* outer, REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (outer && !IsEqualIID(iid, IID_IUnknown))
        return CLASS_E_NOAGGREGATION;
    try {
        T* object = new T(outer);
        IUnknown* inner = object->innerUnknown();
        inner->AddRef();  // the creation's own reference, given back below
        HRESULT hr = object->FinalConstruct();
        if (SUCCEEDED(hr))
            hr = inner->QueryInterface(iid, out);
        inner->Release();
        return hr;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}
