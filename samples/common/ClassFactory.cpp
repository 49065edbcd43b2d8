#include "ClassFactory.h"

#include "CapeErrors.h"

namespace sample {

STDMETHODIMP ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (outer)
        return CLASS_E_NOAGGREGATION;
    return guarded(L"ClassFactory::CreateInstance", IID_IClassFactory, [&] { return create_(iid, out); });
}

STDMETHODIMP ClassFactory::LockServer(BOOL lock)
{
    if (lock)
        module::lock();
    else
        module::unlock();
    return S_OK;
}

HRESULT getClassObject(InstanceCreator create, REFIID iid, void** out)
{
    return createObject<ClassFactory>(iid, out, std::move(create));
}

}  // namespace sample
