#include "ServedDoubles.h"

#include <oleauto.h>

#include "CapeOpen.h"
#include "support/AnsiText.h"
#include "support/ComPtr.h"
#include "support/UniqueBstr.h"

namespace creationtest {
namespace {

int live = 0;

// Reference counting, the live count and IDispatch without type information.
template <class Primary>
class DoubleBase : public Primary {
public:
    DoubleBase() { ++live; }
    virtual ~DoubleBase() { --live; }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --references_;
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

protected:
    HRESULT answer(void* object, void** out)
    {
        *out = object;
        AddRef();
        return S_OK;
    }

private:
    ULONG references_ = 1;
};

void leaveErrorObject(const wchar_t* description)
{
    ComPtr<ICreateErrorInfo> creator;
    if (FAILED(CreateErrorInfo(creator.put())))
        return;
    creator->SetDescription(const_cast<wchar_t*>(description));
    creator->SetSource(const_cast<wchar_t*>(L"ManagerDouble"));
    ComPtr<IErrorInfo> info;
    if (SUCCEEDED(creator.queryInterface(IID_IErrorInfo, info)))
        SetErrorInfo(0, info.get());
}

class ManagerDouble : public DoubleBase<ICapeThermoPropertyPackageManager>, public ICapeUtilities {
public:
    explicit ManagerDouble(ManagerDoubleBehaviour behaviour) : behaviour_(behaviour) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        *out = nullptr;
        if (iid == IID_IUnknown || iid == IID_ICapeThermoPropertyPackageManager)
            return answer(static_cast<ICapeThermoPropertyPackageManager*>(this), out);
        if (iid == IID_ICapeUtilities)
            return answer(static_cast<ICapeUtilities*>(this), out);
        if (iid == IID_IDispatch && behaviour_.dispatchAnswers != 0) {
            if (behaviour_.dispatchAnswers > 0)
                --behaviour_.dispatchAnswers;
            return answer(static_cast<ICapeThermoPropertyPackageManager*>(this), out);
        }
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return DoubleBase::AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return DoubleBase::Release(); }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return DoubleBase::GetTypeInfoCount(count); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT i, LCID l, ITypeInfo** t) override
    {
        return DoubleBase::GetTypeInfo(i, l, t);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID r, LPOLESTR* n, UINT c, LCID l, DISPID* d) override
    {
        return DoubleBase::GetIDsOfNames(r, n, c, l, d);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID d, REFIID r, LCID l, WORD f, DISPPARAMS* p, VARIANT* v, EXCEPINFO* e,
                                     UINT* a) override
    {
        return DoubleBase::Invoke(d, r, l, f, p, v, e, a);
    }

    HRESULT STDMETHODCALLTYPE GetPropertyPackageList(VARIANT* names) override
    {
        SAFEARRAY* list = SafeArrayCreateVector(VT_BSTR, 0, 1);
        if (!list)
            return E_OUTOFMEMORY;
        LONG index = 0;
        UniqueBstr name(L"Double Package");
        SafeArrayPutElement(list, &index, name.get());
        VariantInit(names);
        V_VT(names) = VT_ARRAY | VT_BSTR;
        V_ARRAY(names) = list;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPropertyPackage(BSTR, IDispatch** package) override
    {
        CLSID clsid;
        HRESULT hr = CLSIDFromProgID(behaviour_.packageProgId, &clsid);
        if (FAILED(hr))
            return hr;
        return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                reinterpret_cast<void**>(package));
    }

    HRESULT STDMETHODCALLTYPE get_parameters(IDispatch**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_simulationContext(IDispatch*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Initialize() override
    {
        if (FAILED(behaviour_.initializeResult))
            leaveErrorObject(L"The double manager cannot start.");
        return behaviour_.initializeResult;
    }
    HRESULT STDMETHODCALLTYPE Terminate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Edit() override { return E_NOTIMPL; }

private:
    ManagerDoubleBehaviour behaviour_;
};

class RefusingComponent : public DoubleBase<ICapeIdentification> {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        *out = nullptr;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_ICapeIdentification)
            return answer(static_cast<ICapeIdentification*>(this), out);
        if (iid == IID_IPersistStorage)
            return E_FAIL;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE get_ComponentName(BSTR* name) override
    {
        *name = SysAllocString(L"Refusing");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_ComponentName(BSTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE get_ComponentDescription(BSTR* description) override
    {
        *description = SysAllocString(L"");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_ComponentDescription(BSTR) override { return S_OK; }
};

class PackageDouble : public DoubleBase<ICapeThermoPropertyRoutine> {
public:
    explicit PackageDouble(int dispatchAnswers) : dispatchAnswers_(dispatchAnswers) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        *out = nullptr;
        if (iid == IID_IUnknown || iid == IID_ICapeThermoPropertyRoutine)
            return answer(static_cast<ICapeThermoPropertyRoutine*>(this), out);
        if (iid == IID_IDispatch && dispatchAnswers_ != 0) {
            --dispatchAnswers_;
            return answer(static_cast<ICapeThermoPropertyRoutine*>(this), out);
        }
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE CalcAndGetLnPhi(BSTR, double, double, VARIANT, int, VARIANT*, VARIANT*, VARIANT*,
                                              VARIANT*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE CalcSinglePhaseProp(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CalcTwoPhaseProp(VARIANT, VARIANT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CheckSinglePhasePropSpec(BSTR, BSTR, VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CheckTwoPhasePropSpec(BSTR, VARIANT, VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSinglePhasePropList(VARIANT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTwoPhasePropList(VARIANT*) override { return E_NOTIMPL; }

private:
    int dispatchAnswers_;
};

class Factory : public IClassFactory {
public:
    explicit Factory(ObjectMaker make) : make_(std::move(make)) {}
    virtual ~Factory() = default;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        *out = nullptr;
        if (iid != IID_IUnknown && iid != IID_IClassFactory)
            return E_NOINTERFACE;
        *out = this;
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
        *out = nullptr;
        return outer ? CLASS_E_NOAGGREGATION : make_(iid, out);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    ObjectMaker make_;
    ULONG references_ = 1;
};

// A new object of type T asked for iid: the maker's reference is handed over.
template <class T, class... Args>
HRESULT make(REFIID iid, void** out, Args... args)
{
    auto* object = new T(args...);
    HRESULT hr = object->QueryInterface(iid, out);
    object->Release();
    return hr;
}

}  // namespace

int liveDoubles() { return live; }

ServedClass::ServedClass(const std::string& progIdStem, const std::vector<std::string>& catids, ObjectMaker make)
    : registration_(progIdStem, catids)
{
    ComPtr<IClassFactory> factory = ComPtr<IClassFactory>::attach(new Factory(std::move(make)));
    CoRegisterClassObject(registration_.clsid(), factory.get(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie_);
}

ServedClass::~ServedClass()
{
    if (cookie_)
        CoRevokeClassObject(cookie_);
}

std::wstring ServedClass::progId() const
{
    const std::string& text = registration_.progId();
    return std::wstring(text.begin(), text.end());
}

ObjectMaker managerDouble(ManagerDoubleBehaviour behaviour)
{
    return [behaviour](REFIID iid, void** out) { return make<ManagerDouble>(iid, out, behaviour); };
}

ObjectMaker packageDouble(int dispatchAnswers)
{
    return [dispatchAnswers](REFIID iid, void** out) { return make<PackageDouble>(iid, out, dispatchAnswers); };
}

ObjectMaker persistenceRefusingComponent()
{
    return [](REFIID iid, void** out) { return make<RefusingComponent>(iid, out); };
}

}  // namespace creationtest
