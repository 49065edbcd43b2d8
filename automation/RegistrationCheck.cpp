#include "automation/RegistrationCheck.h"

#include <new>

#include "automation/BstrText.h"
#include "catalogue/RegistrationReport.h"
#include "support/ComPtr.h"

namespace {

// The type library that describes IRegistrationCheck: the module's own, 1.1, 0x409.
constexpr WORD kTypeLibMajor = 1;
constexpr WORD kTypeLibMinor = 1;
constexpr LCID kTypeLibLocale = 0x409;

// Leaves an error object that says what went wrong, for the caller of the method.
HRESULT failWith(HRESULT code, const wchar_t* description)
{
    ComPtr<ICreateErrorInfo> creator;
    if (SUCCEEDED(CreateErrorInfo(creator.put()))) {
        creator->SetDescription(const_cast<wchar_t*>(description));
        creator->SetSource(const_cast<wchar_t*>(L"QnShowCOCATIDs.RegistrationCheck"));
        creator->SetGUID(IID_IRegistrationCheck);
        ComPtr<IErrorInfo> info;
        if (SUCCEEDED(creator.queryInterface(IID_IErrorInfo, info)))
            SetErrorInfo(0, info.get());
    }
    return code;
}

}  // namespace

HRESULT CRegistrationCheck::createInstance(IUnknown* outer, REFIID iid, void** out)
{
    return createComObject<CRegistrationCheck>(outer, iid, out);
}

CRegistrationCheck::CRegistrationCheck(IUnknown* outer)
    : ComObjectRoot(outer),
      dispatch_(LIBID_QNSHOWCOCATIDS11Lib, kTypeLibMajor, kTypeLibMinor, kTypeLibLocale, IID_IRegistrationCheck)
{
}

IUnknown* CRegistrationCheck::findInterface(REFIID iid)
{
    if (IsEqualIID(iid, IID_IRegistrationCheck) || IsEqualIID(iid, IID_IDispatch))
        return static_cast<IRegistrationCheck*>(this);
    return nullptr;
}

HRESULT STDMETHODCALLTYPE CRegistrationCheck::QueryInterface(REFIID iid, void** out)
{
    return controllingQueryInterface(iid, out);
}

ULONG STDMETHODCALLTYPE CRegistrationCheck::AddRef() { return controllingAddRef(); }

ULONG STDMETHODCALLTYPE CRegistrationCheck::Release() { return controllingRelease(); }

HRESULT STDMETHODCALLTYPE CRegistrationCheck::GetTypeInfoCount(UINT* count)
{
    return dispatch_.getTypeInfoCount(count);
}

HRESULT STDMETHODCALLTYPE CRegistrationCheck::GetTypeInfo(UINT index, LCID, ITypeInfo** info)
{
    return dispatch_.getTypeInfo(index, info);
}

HRESULT STDMETHODCALLTYPE CRegistrationCheck::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID,
                                                            DISPID* ids)
{
    return dispatch_.getIDsOfNames(iid, names, count, ids);
}

HRESULT STDMETHODCALLTYPE CRegistrationCheck::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError)
{
    return dispatch_.invoke(static_cast<IRegistrationCheck*>(this), id, iid, flags, params, result, exception,
                            argumentError);
}

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
