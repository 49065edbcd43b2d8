#include "automation/TypeLibDispatch.h"

#include <oleauto.h>

HRESULT TypeLibDispatch::typeInfo(ITypeInfo** info)
{
    if (!cached_) {
        ComPtr<ITypeLib> library;
        HRESULT hr = LoadRegTypeLib(libid_, major_, minor_, lcid_, library.put());
        if (FAILED(hr))
            return hr;
        hr = library->GetTypeInfoOfGuid(iid_, cached_.put());
        if (FAILED(hr))
            return hr;
    }
    cached_.copyTo(info);
    return S_OK;
}

HRESULT TypeLibDispatch::getTypeInfoCount(UINT* count)
{
    if (!count)
        return E_POINTER;
    *count = 1;
    return S_OK;
}

HRESULT TypeLibDispatch::getTypeInfo(UINT index, ITypeInfo** info)
{
    if (!info)
        return E_POINTER;
    *info = nullptr;
    if (index != 0)
        return DISP_E_BADINDEX;
    return typeInfo(info);
}

HRESULT TypeLibDispatch::typeInfoFor(REFIID iid, ComPtr<ITypeInfo>& info)
{
    if (!IsEqualIID(iid, IID_NULL))
        return DISP_E_UNKNOWNINTERFACE;
    return typeInfo(info.put());
}

HRESULT TypeLibDispatch::getIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, DISPID* ids)
{
    ComPtr<ITypeInfo> info;
    HRESULT hr = typeInfoFor(iid, info);
    return FAILED(hr) ? hr : info->GetIDsOfNames(names, count, ids);
}

HRESULT TypeLibDispatch::invoke(void* instance, DISPID id, REFIID iid, WORD flags, DISPPARAMS* params, VARIANT* result,
                                EXCEPINFO* exception, UINT* argumentError)
{
    ComPtr<ITypeInfo> info;
    HRESULT hr = typeInfoFor(iid, info);
    return FAILED(hr) ? hr : info->Invoke(instance, id, flags, params, result, exception, argumentError);
}
