#include "registration/ClassFactory.h"

#include "automation/ComModule.h"

HRESULT STDMETHODCALLTYPE ClassFactory::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IClassFactory))
        return E_NOINTERFACE;
    AddRef();
    *out = static_cast<IClassFactory*>(this);
    return S_OK;
}

ULONG STDMETHODCALLTYPE ClassFactory::AddRef()
{
    const ULONG count = ++references_;
    if (count == 2)
        ComModule::lock();  // the first reference beyond the class table's
    return count;
}

ULONG STDMETHODCALLTYPE ClassFactory::Release()
{
    const ULONG count = --references_;
    if (count == 1)
        ComModule::unlock();
    if (count == 0)
        delete this;
    return count;
}

HRESULT STDMETHODCALLTYPE ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out)
{
    return create_(outer, iid, out);
}

HRESULT STDMETHODCALLTYPE ClassFactory::LockServer(BOOL lock)
{
    if (lock)
        ComModule::lock();
    else
        ComModule::unlock();
    return S_OK;
}
