#pragma once
#include <windows.h>

#include "QnShowCOCATIDs11.h"

#include "automation/DualObject.h"

// The registration check (coclass RegistrationCheck, ProgID
// "QnShowCOCATIDs.RegistrationCheck"): IRegistrationCheck and its IDispatch, served
// from the registered type library. It holds no state: each Report reads the
// registry afresh. It never shows a window; a failure goes back as the method's
// result with an error object that describes it.
class CRegistrationCheck : public DualObject<IRegistrationCheck> {
public:
    // The class factory's creation: plain, or aggregated when outer is given.
    static HRESULT createInstance(IUnknown* outer, REFIID iid, void** out);

    // The report of registrationReport (catalogue/RegistrationReport.h) for the
    // categoryFilterTag bits; *report is null on failure.
    HRESULT STDMETHODCALLTYPE Report(LONG categoryFilter, BSTR* report) override;

protected:
    explicit CRegistrationCheck(IUnknown* outer);
    ~CRegistrationCheck() override = default;

private:
    template <class T>
    friend HRESULT createComObject(IUnknown* outer, REFIID iid, void** out);
    HRESULT FinalConstruct() { return S_OK; }
};
