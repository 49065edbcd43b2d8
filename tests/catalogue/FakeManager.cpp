#include "FakeManager.h"

#include <memory>

namespace {

// The manager object: IUnknown, IDispatch (without type information) and, unless
// told otherwise, ICapeThermoPropertyPackageManager.
class FakeManagerObject : public ICapeThermoPropertyPackageManager {
public:
    FakeManagerObject(PackageListFiller filler, HRESULT queryFailure, int& live)
        : filler_(std::move(filler)), queryFailure_(queryFailure), live_(live)
    {
        ++live_;
    }
    virtual ~FakeManagerObject() { --live_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        *out = nullptr;
        if (iid == IID_IUnknown || iid == IID_IDispatch) {
            *out = this;
        } else if (iid == IID_ICapeThermoPropertyPackageManager) {
            if (queryFailure_ != S_OK)
                return queryFailure_;
            *out = this;
        } else {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetPropertyPackageList(VARIANT* names) override { return filler_(names); }
    HRESULT STDMETHODCALLTYPE GetPropertyPackage(BSTR, IDispatch**) override { return E_NOTIMPL; }

private:
    ULONG references_ = 1;
    PackageListFiller filler_;
    HRESULT queryFailure_;
    int& live_;
};

class FakeManagerFactory : public IClassFactory {
public:
    FakeManagerFactory(PackageListFiller filler, HRESULT queryFailure, HRESULT creationFailure)
        : filler_(std::move(filler)), queryFailure_(queryFailure), creationFailure_(creationFailure)
    {
    }
    virtual ~FakeManagerFactory() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *out = this;
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override
    {
        *out = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        if (creationFailure_ != S_OK)
            return creationFailure_;
        auto* object = new FakeManagerObject(filler_, queryFailure_, live_);
        HRESULT hr = object->QueryInterface(iid, out);
        object->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

    int live_ = 0;

private:
    ULONG references_ = 1;
    PackageListFiller filler_;
    HRESULT queryFailure_;
    HRESULT creationFailure_;
};

}  // namespace

PackageListFiller packageNames(std::vector<std::wstring> names)
{
    return [names = std::move(names)](VARIANT* out) {
        SAFEARRAY* array = SafeArrayCreateVector(VT_BSTR, 0, static_cast<ULONG>(names.size()));
        for (LONG i = 0; i < static_cast<LONG>(names.size()); ++i) {
            BSTR name = SysAllocString(names[static_cast<size_t>(i)].c_str());
            SafeArrayPutElement(array, &i, name);
            SysFreeString(name);
        }
        V_VT(out) = VT_ARRAY | VT_BSTR;
        V_ARRAY(out) = array;
        return S_OK;
    };
}

ServedManager::ServedManager(const CLSID& clsid, PackageListFiller filler, HRESULT queryFailure,
                             HRESULT creationFailure)
    : factory_(new FakeManagerFactory(std::move(filler), queryFailure, creationFailure))
{
    CoRegisterClassObject(clsid, factory_, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE, &cookie_);
}

ServedManager::~ServedManager()
{
    CoRevokeClassObject(cookie_);
    factory_->Release();
}

int ServedManager::liveObjects() const
{
    return static_cast<FakeManagerFactory*>(factory_)->live_;
}
