// The host's context (window, container, category filter) and the release of
// everything the object holds.
#include "automation/CCCAPEGUI.h"

#include "CapeOpen.h"

#include "automation/MethodBoundary.h"
#include "support/ErrorReport.h"
#include "support/ForeignCall.h"

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
            return reportUnexpected(hr);
        container = found;
        return S_OK;
    });
}

HRESULT CCCAPEGUI::setCategoryFilter(unsigned long filter)
{
    categoryFilter = filter;
    return S_OK;
}

HRESULT CCCAPEGUI::terminateAndRelease(ComPtr<IDispatch>& object, const std::string& name)
{
    // The object is given back whatever Terminate does, so that nothing leaks; it is
    // held until the failure is reported, so that its release cannot disturb the
    // error object the report shows.
    ComPtr<IDispatch> held = std::move(object);
    if (!held)
        return S_OK;
    ComPtr<ICapeUtilities> utilities;
    HRESULT hr = held.queryInterface(IID_ICapeUtilities, utilities);
    if (hr == E_NOINTERFACE || (SUCCEEDED(hr) && !utilities))
        return S_OK;
    if (SUCCEEDED(hr))
        hr = callForeign("Terminate", [&] { return utilities->Terminate(); });
    if (FAILED(hr)) {
        const std::string text = "Terminating '" + name + "' failed; it has been released anyway.";
        return reportError(hr, text.c_str(), "releaseComponents", hostWindow, true);
    }
    return hr;
}

// A component that fails to terminate is reported with its own error information,
// and the release goes on: the parent, the component and the container are all
// given back. The result is the first reported failure, else S_OK.
HRESULT STDMETHODCALLTYPE CCCAPEGUI::releaseComponents()
{
    const auto alive = enterMethod();
    // Taken over first: whatever ends the method, nothing stays held.
    ComPtr<ExtnContainer> heldContainer = std::move(container);
    ComPtr<IDispatch> heldComponent = std::move(component);
    ComPtr<IDispatch> heldParent = std::move(parent);
    return methodBoundary("releaseComponents", hostWindow, [&] {
        HRESULT result = terminateAndRelease(heldParent, parentAlias.empty() ? parentProgID : parentAlias);
        const HRESULT componentResult = terminateAndRelease(heldComponent, itemDisplayName());
        if (SUCCEEDED(result))
            result = componentResult;
        heldContainer = nullptr;
        return result;
    });
}
