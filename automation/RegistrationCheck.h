#pragma once
#include <windows.h>

#include "QnShowCOCATIDs11.h"

#include "automation/ComObjectRoot.h"
#include "automation/TypeLibDispatch.h"

// The registration check (coclass RegistrationCheck, ProgID
// "QnShowCOCATIDs.RegistrationCheck"): IRegistrationCheck and its IDispatch, served
// from the registered type library. It holds no state: each Report reads the
// registry afresh. It never shows a window; a failure goes back as the method's
// result with an error object that describes it.
class CRegistrationCheck : public IRegistrationCheck, public ComObjectRoot {
public:
    // The class factory's creation: plain, or aggregated when outer is given.
    static HRESULT createInstance(IUnknown* outer, REFIID iid, void** out);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

    // The report of registrationReport (catalogue/RegistrationReport.h) for the
    // categoryFilterTag bits; *report is null on failure.
    HRESULT STDMETHODCALLTYPE Report(LONG categoryFilter, BSTR* report) override;

protected:
    explicit CRegistrationCheck(IUnknown* outer);
    ~CRegistrationCheck() override = default;

    IUnknown* findInterface(REFIID iid) override;

private:
    template <class T>
    friend HRESULT createComObject(IUnknown* outer, REFIID iid, void** out);
    HRESULT FinalConstruct() { return S_OK; }

    TypeLibDispatch dispatch_;
};
