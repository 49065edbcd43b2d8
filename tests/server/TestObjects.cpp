#include "TestObjects.h"

#include <algorithm>

#include "support/ComPtr.h"

namespace servertest {

bool TestContainer::wasAskedFor(REFIID iid) const
{
    return std::any_of(asked.begin(), asked.end(), [&](const IID& each) { return IsEqualIID(each, iid) != 0; });
}

HRESULT STDMETHODCALLTYPE TestContainer::QueryInterface(REFIID iid, void** out)
{
    asked.push_back(iid);
    *out = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch))
        *out = static_cast<IDispatch*>(this);
    else if (answersHostInterfaces_ && (IsEqualIID(iid, IID_ExtnContainer) ||
                                        IsEqualIID(iid, IID_ExtnUnitOperationContainer)))
        *out = static_cast<ExtnUnitOperationContainer*>(this);
    if (!*out)
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TestContainer::GetTypeInfoCount(UINT* count)
{
    *count = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TestContainer::getMessageChainHead(ExtnMessageChainHead** head)
{
    *head = nullptr;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE TestComponent::QueryInterface(REFIID iid, void** out)
{
    *out = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
        (hasUtilities_ && IsEqualIID(iid, IID_ICapeUtilities)))
        *out = static_cast<ICapeUtilities*>(this);
    if (!*out)
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TestComponent::GetTypeInfoCount(UINT* count)
{
    *count = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TestComponent::Terminate()
{
    ++terminateCalls;
    if (FAILED(terminateResult)) {
        ComPtr<ICreateErrorInfo> creator;
        if (SUCCEEDED(CreateErrorInfo(creator.put()))) {
            creator->SetDescription(errorDescription.data());
            creator->SetSource(errorSource.data());
            ComPtr<IErrorInfo> info;
            if (SUCCEEDED(creator.queryInterface(IID_IErrorInfo, info)))
                SetErrorInfo(0, info.get());
        }
    }
    return terminateResult;
}

}  // namespace servertest
