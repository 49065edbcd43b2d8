#pragma once
#include <windows.h>
#include <oaidl.h>

#include "support/ComPtr.h"

// IDispatch of a dual interface, served from the registered type library: names
// and DISPIDs come from the interface's ITypeInfo, and Invoke calls the interface's
// own vtable through it, so late-bound clients reach exactly what early-bound ones do.
// The type information is loaded on first use and kept for the holder's life.
class TypeLibDispatch {
public:
    TypeLibDispatch(REFGUID libid, WORD major, WORD minor, LCID lcid, REFIID iid)
        : libid_(libid), major_(major), minor_(minor), lcid_(lcid), iid_(iid)
    {
    }

    HRESULT getTypeInfoCount(UINT* count);
    HRESULT getTypeInfo(UINT index, ITypeInfo** info);
    HRESULT getIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, DISPID* ids);
    // instance: the dual interface pointer whose methods are called.
    HRESULT invoke(void* instance, DISPID id, REFIID iid, WORD flags, DISPPARAMS* params, VARIANT* result,
                   EXCEPINFO* exception, UINT* argumentError);

private:
    HRESULT typeInfo(ITypeInfo** info);
    // The type information for a call that names iid: only IID_NULL is served.
    HRESULT typeInfoFor(REFIID iid, ComPtr<ITypeInfo>& info);

    GUID libid_;
    WORD major_;
    WORD minor_;
    LCID lcid_;
    IID iid_;
    ComPtr<ITypeInfo> cached_;
};
