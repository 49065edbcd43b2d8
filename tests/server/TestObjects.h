#pragma once
// The other side of the library's contracts, as real COM objects: a host container
// and a CAPE-OPEN component. Each counts its references so that tests see leaks.
#include <windows.h>
#include <oaidl.h>

#include <string>
#include <vector>

#include "CapeOpen.h"
#include "HostContainer.h"

namespace servertest {

// A host container that records every interface it is asked for. It answers both
// host interfaces, or none when answersHostInterfaces is false.
class TestContainer : public IDispatch, public ExtnUnitOperationContainer {
public:
    explicit TestContainer(bool answersHostInterfaces = true) : answersHostInterfaces_(answersHostInterfaces) {}

    ULONG references = 1;  // the test's own
    std::vector<IID> asked;
    bool wasAskedFor(REFIID iid) const;

    IDispatch* asDispatch() { return static_cast<IDispatch*>(this); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }

    // The host's slots the library never calls.
#define QN_RESERVED_SLOT(n) \
    HRESULT STDMETHODCALLTYPE reserved##n() override { return E_NOTIMPL; }
    QN_RESERVED_SLOT(3) QN_RESERVED_SLOT(4) QN_RESERVED_SLOT(5) QN_RESERVED_SLOT(6)
    QN_RESERVED_SLOT(7) QN_RESERVED_SLOT(8) QN_RESERVED_SLOT(9) QN_RESERVED_SLOT(10)
    QN_RESERVED_SLOT(13) QN_RESERVED_SLOT(14) QN_RESERVED_SLOT(15) QN_RESERVED_SLOT(16)
    QN_RESERVED_SLOT(17) QN_RESERVED_SLOT(18) QN_RESERVED_SLOT(19)
#undef QN_RESERVED_SLOT

    HRESULT STDMETHODCALLTYPE getMessageChainHead(ExtnMessageChainHead** head) override;
    HRESULT STDMETHODCALLTYPE handOverMessage(BSTR, LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE storageRequest(LONG, VARIANT*) override { return E_NOTIMPL; }

private:
    bool answersHostInterfaces_;
};

// A CAPE-OPEN component with ICapeUtilities (or with IDispatch alone). Terminate
// answers terminateResult; a failure leaves an error object with the description
// and source below on the thread, as CAPE-OPEN components do.
class TestComponent : public ICapeUtilities {
public:
    explicit TestComponent(bool hasUtilities = true) : hasUtilities_(hasUtilities) {}

    ULONG references = 1;  // the test's own
    int terminateCalls = 0;
    HRESULT terminateResult = S_OK;
    std::wstring errorDescription = L"The unit refuses to stop";
    std::wstring errorSource = L"TestUnit";

    IDispatch* asDispatch() { return this; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE get_parameters(IDispatch**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_simulationContext(IDispatch*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Initialize() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Terminate() override;
    HRESULT STDMETHODCALLTYPE Edit() override { return E_NOTIMPL; }

private:
    bool hasUtilities_;
};

}  // namespace servertest
