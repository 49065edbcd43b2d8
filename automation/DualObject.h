#pragma once
#include <windows.h>

#include "QnShowCOCATIDs11.h"

#include "automation/ComObjectRoot.h"
#include "automation/TypeLibDispatch.h"

// The IUnknown and IDispatch of a class of this module with one dual interface,
// Interface (iid): IUnknown delegates to the controlling unknown, IDispatch is served
// from the module's registered type library (version 1.1, locale 0x409). The class
// answers its dual interface and IDispatch; anything else it adds by overriding
// findInterface.
template <class Interface>
class DualObject : public Interface, public ComObjectRoot {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        return controllingQueryInterface(iid, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return controllingAddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return controllingRelease(); }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return dispatch_.getTypeInfoCount(count); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override
    {
        return dispatch_.getTypeInfo(index, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) override
    {
        return dispatch_.getIDsOfNames(iid, names, count, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* exception, UINT* argumentError) override
    {
        return dispatch_.invoke(static_cast<Interface*>(this), id, iid, flags, params, result, exception,
                                argumentError);
    }

protected:
    DualObject(IUnknown* outer, REFIID iid)
        : ComObjectRoot(outer), iid_(iid), dispatch_(LIBID_QNSHOWCOCATIDS11Lib, 1, 1, 0x409, iid)
    {
    }

    IUnknown* findInterface(REFIID iid) override
    {
        if (IsEqualIID(iid, iid_) || IsEqualIID(iid, IID_IDispatch))
            return static_cast<Interface*>(this);
        return nullptr;
    }

private:
    IID iid_;
    TypeLibDispatch dispatch_;
};
