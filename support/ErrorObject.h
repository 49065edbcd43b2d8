#pragma once
#include <windows.h>
#include <oleauto.h>

#include "support/ComPtr.h"

// Makes a new error object the thread's current one, so that the caller of the
// failing method (or the report of a raised failure) reads what went wrong. Without
// memory for it the thread's error object stays as it was.
inline void setErrorObject(const wchar_t* description, const wchar_t* source, REFGUID iid = GUID_NULL)
{
    ComPtr<ICreateErrorInfo> creator;
    if (FAILED(CreateErrorInfo(creator.put())))
        return;
    creator->SetDescription(const_cast<wchar_t*>(description));
    creator->SetSource(const_cast<wchar_t*>(source));
    creator->SetGUID(iid);
    ComPtr<IErrorInfo> info;
    if (SUCCEEDED(creator.queryInterface(IID_IErrorInfo, info)))
        SetErrorInfo(0, info.get());
}
