#include "ServedClass.h"

namespace {

class Factory final : public IClassFactory {
public:
    explicit Factory(ServedClass::Creator create) : create_(std::move(create)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (iid != IID_IUnknown && iid != IID_IClassFactory)
            return E_NOINTERFACE;
        *out = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        ++creations;
        return create_(iid, out);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

    int creations = 0;

private:
    ULONG references_ = 1;
    ServedClass::Creator create_;
};

}  // namespace

ServedClass::ServedClass(const CLSID& clsid, Creator create) : factory_(new Factory(std::move(create)))
{
    result_ = CoRegisterClassObject(clsid, factory_, CLSCTX_INPROC_SERVER,
                                    REGCLS_MULTIPLEUSE, &cookie_);
}

ServedClass::~ServedClass()
{
    if (SUCCEEDED(result_))
        CoRevokeClassObject(cookie_);
    factory_->Release();
}

int ServedClass::creations() const
{
    return static_cast<Factory*>(factory_)->creations;
}
