#include "automation/RegistrationCheck.h"

#include <new>

#include "automation/BstrText.h"
#include "support/ErrorObject.h"
#include "catalogue/RegistrationReport.h"

namespace {

// Leaves an error object that says what went wrong, for the caller of the method.
HRESULT failWith(HRESULT code, const wchar_t* description)
{
    setErrorObject(description, L"QnShowCOCATIDs.RegistrationCheck", IID_IRegistrationCheck);
    return code;
}

}  // namespace

HRESULT CRegistrationCheck::createInstance(IUnknown* outer, REFIID iid, void** out)
{
    return createComObject<CRegistrationCheck>(outer, iid, out);
}

CRegistrationCheck::CRegistrationCheck(IUnknown* outer) : DualObject(outer, IID_IRegistrationCheck) {}

HRESULT STDMETHODCALLTYPE CRegistrationCheck::Report(LONG categoryFilter, BSTR* report)
{
    if (!report)
        return E_POINTER;
    *report = nullptr;
    // The method's one boundary: nothing thrown passes it.
    try {
        *report = newBstr(registrationReport(static_cast<unsigned long>(categoryFilter)));
        return S_OK;
    } catch (const std::bad_alloc&) {
        return failWith(E_OUTOFMEMORY, L"Not enough memory for the registration report.");
    } catch (...) {
        return failWith(E_UNEXPECTED, L"The registration check failed unexpectedly.");
    }
}
