#include "CapeErrors.h"

#include "ComRef.h"

namespace sample {

HRESULT raiseError(HRESULT hr, const wchar_t* description, const wchar_t* source, REFIID iid) noexcept
{
    ComRef<ICreateErrorInfo> create;
    if (FAILED(CreateErrorInfo(create.put())))
        return hr;  // the code still tells the caller what failed
    create->SetDescription(const_cast<LPOLESTR>(description));
    create->SetSource(const_cast<LPOLESTR>(source));
    create->SetGUID(iid);
    ComRef<IErrorInfo> info;
    if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, info.putVoid())))
        SetErrorInfo(0, info.get());
    return hr;
}

}  // namespace sample
