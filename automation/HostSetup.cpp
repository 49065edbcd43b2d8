// The host's context (window, container, category filter) and the release of
// everything the object holds.
#include "automation/CCCAPEGUI.h"

#include "CapeOpen.h"

#include "automation/MethodBoundary.h"
#include "support/ErrorReport.h"

HRESULT STDMETHODCALLTYPE CCCAPEGUI::setup(INT_PTR window, IDispatch* hostContainer, LONG filter)
{
    const auto alive = enterMethod();
    hostWindow = reinterpret_cast<HWND>(window);
    return methodBoundary("setup", hostWindow, [&] {
        setCategoryFilter(static_cast<unsigned long>(filter));
        // An earlier container is given back: the object holds one at a time.
        container = nullptr;
        if (!hostContainer)
            return S_OK;
        // The host answers for unit operations under an interface of its own.
        const IID& hostInterface =
            (categoryFilter & catf_UnitOperation) ? IID_ExtnUnitOperationContainer : IID_ExtnContainer;
        ComPtr<ExtnContainer> found;
        HRESULT hr = queryInterfaceOf(hostContainer, hostInterface, found);
        if (FAILED(hr))
            return reportError(hr, "Unexpected error ", nullptr, nullptr, true);
        container = found;
        return S_OK;
    });
}

HRESULT CCCAPEGUI::setCategoryFilter(unsigned long filter)
{
    categoryFilter = filter;
    return S_OK;
}

void CCCAPEGUI::terminateAndRelease(ComPtr<IDispatch>& object)
{
    // The object is given back whatever Terminate does, so that nothing leaks.
    ComPtr<IDispatch> held = std::move(object);
    ComPtr<ICapeUtilities> utilities;
    HRESULT hr = held.queryInterface(IID_ICapeUtilities, utilities);
    if (hr == E_NOINTERFACE)
        return;
    throwIfFailed(hr);
    throwIfFailed(utilities->Terminate());
}

// A component that fails to terminate is reported with its own error information,
// and the release goes on: the parent, the component and the container are all
// given back. The result is the first reported failure, else S_OK.
HRESULT STDMETHODCALLTYPE CCCAPEGUI::releaseComponents()
{
    const auto alive = enterMethod();
    HRESULT result = S_OK;
    auto release = [&](ComPtr<IDispatch>& object, const std::string& name) {
        if (!object)
            return;
        HRESULT hr = methodBoundary("releaseComponents", hostWindow, [&] {
            try {
                terminateAndRelease(object);
                return S_OK;
            } catch (const RaisedError& error) {
                error.restoreErrorInfo();
                const std::string text = "Terminating '" + name + "' failed; it has been released anyway.";
                return reportError(error.code(), text.c_str(), "releaseComponents", hostWindow, true);
            }
        });
        if (FAILED(hr) && SUCCEEDED(result))
            result = hr;
    };
    release(parent, parentAlias.empty() ? parentProgID : parentAlias);
    release(component, itemDisplayName());
    container = nullptr;
    return result;
}
