#include "CapeErrors.h"

namespace sample {

HRESULT raiseError(HRESULT hr, const wchar_t* description, const wchar_t* source, REFIID iid) noexcept
{
    ICreateErrorInfo* create = nullptr;
    if (FAILED(CreateErrorInfo(&create)))
        return hr;  // the code still tells the caller what failed
    create->SetDescription(const_cast<LPOLESTR>(description));
    create->SetSource(const_cast<LPOLESTR>(source));
    create->SetGUID(iid);
    IErrorInfo* info = nullptr;
    if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)))) {
        SetErrorInfo(0, info);
        info->Release();
    }
    create->Release();
    return hr;
}

}  // namespace sample
