// What the persistence members share: the storage out of the container's answer,
// initialising a component as new, the upgrade of components saved without a
// "CAPEOPEN" stream, and the hand-over of persistence failures to the host.
#include "automation/PersistenceSupport.h"

#include <oleauto.h>

#include <string>

#include "HostContainer.h"

#include "automation/BstrText.h"
#include "automation/CCCAPEGUI.h"
#include "automation/RaisedError.h"
#include "support/ErrorObject.h"
#include "support/ErrorReport.h"
#include "support/ForeignCall.h"
#include "support/MTUtils.h"
#include "support/UniqueBstr.h"

namespace {

// The host's copy of a persistence failure message is bounded.
constexpr size_t kMaxHostMessageLength = 511;

}  // namespace

void raiseDescribed(HRESULT code, const wchar_t* description)
{
    setErrorObject(description, kLibraryNameWide);
    throw RaisedError(code);
}

void requireStorage(IStorage* storage)
{
    if (!storage)
        raiseDescribed(E_POINTER, L"The host's container gave no storage for the component.");
}

ComPtr<IStorage> storageInAnswer(const VARIANT& answer)
{
    // Only a VARIANT that holds an object has a pointer to read: the value of any
    // other type tag (VT_EMPTY's included) is not one.
    IUnknown* object = nullptr;
    switch (V_VT(&answer)) {
    case VT_UNKNOWN:
    case VT_DISPATCH:
        object = V_UNKNOWN(&answer);
        break;
    case VT_UNKNOWN | VT_BYREF:
    case VT_DISPATCH | VT_BYREF:
        object = V_UNKNOWNREF(&answer) ? *V_UNKNOWNREF(&answer) : nullptr;
        break;
    default:
        break;
    }
    if (!object)
        return nullptr;
    ComPtr<IStorage> storage;
    HRESULT hr = queryInterfaceOf(object, IID_IStorage, storage);
    if (hr == E_NOINTERFACE)
        return nullptr;
    throwIfFailed(hr);
    return storage;
}

HRESULT CCCAPEGUI::initNewComponent(IStorage* storage)
{
    if (!component)
        return S_OK;
    HRESULT hr = S_OK;
    const char* text = nullptr;
    if (persistType == kPersistStorage) {
        ComPtr<IPersistStorage> persist;
        hr = component.queryInterface(IID_IPersistStorage, persist);
        if (FAILED(hr))
            return reportUnexpected(hr);
        // A component must not be handed a storage that is not there.
        requireStorage(storage);
        hr = callForeign("InitNew", [&] { return persist->InitNew(storage); });
        text = "Unexpected error initializing COM persistence (IPersistStorage)";
    } else if (persistType == kPersistStreamInit) {
        ComPtr<IPersistStreamInit> persist;
        hr = component.queryInterface(IID_IPersistStreamInit, persist);
        if (FAILED(hr))
            return reportUnexpected(hr);
        hr = callForeign("InitNew", [&] { return persist->InitNew(); });
        text = "Unexpected error initializing COM persistence (IPersistStreamInit)";
    } else {
        return S_OK;  // IPersistStream has no InitNew
    }
    if (hr == kLoadedAnyway)
        hr = S_OK;
    if (FAILED(hr))
        return reportError(hr, text, nullptr, nullptr, true);
    return hr;
}

HRESULT CCCAPEGUI::upgradeOldPersistence(IStorage* storage)
{
    HRESULT hr = initNewComponent(storage);
    if (FAILED(hr))
        return reportError(hr, "Unexpected error. Contact support", nullptr, hostWindow, true);
    if (warningsEnabled) {
        const std::string text = "CAPE-OPEN component of type '" + itemDisplayName() +
                                 "' had been persisted using old CAPE-OPEN mechanism. It has been succesfully "
                                 "upgraded to be saved through new COM Persistence.";
        showMessage(text.c_str(), "", MB_ICONINFORMATION, nullptr);
    }
    return S_OK;
}

namespace {

// What the host wants to be called before it takes a message: position 11 gives
// object A, A's position 33 object B, and B's position 21 is called with 0.
HRESULT prepareHostForMessage(ExtnContainer& container)
{
    ComPtr<ExtnMessageChainHead> head;
    HRESULT hr = callForeign(
        "getMessageChainHead", [&](ExtnMessageChainHead** slot) { return container.getMessageChainHead(slot); }, head);
    if (SUCCEEDED(hr) && !head)
        hr = E_POINTER;  // success without an object: nothing to call
    if (FAILED(hr))
        return hr;
    ComPtr<ExtnMessageChainTail> tail;
    hr = callForeign(
        "getTail", [&](ExtnMessageChainTail** slot) { return head->getTail(slot); }, tail);
    if (SUCCEEDED(hr) && !tail)
        hr = E_POINTER;
    if (FAILED(hr))
        return hr;
    return callForeign("touch", [&] { return tail->touch(0); });
}

}  // namespace

HRESULT CCCAPEGUI::reportPersistenceFailure(HRESULT code, const char* text, const char* name)
{
    if (!container)
        return reportError(code, text, nullptr, hostWindow, true);

    // The failing component's error object belongs in the trace entry below; the
    // container's calls may replace it.
    RaisedError carried(code);
    std::string message = text ? text : "";
    if (name) {
        message += ": ";
        message += name;
    }
    if (message.size() > kMaxHostMessageLength)
        message.resize(kMaxHostMessageLength);

    // Held for the whole hand-over: the host may let go of its components (and with
    // them the container) from inside its own calls.
    const ComPtr<ExtnContainer> host = container;
    HRESULT hr = prepareHostForMessage(*host.get());
    if (SUCCEEDED(hr)) {
        UniqueBstr hostMessage = UniqueBstr::attach(newBstr(message));
        hr = host->handOverMessage(hostMessage.get(), 0);
    }
    if (FAILED(hr))
        return reportUnexpected(hr);

    carried.restoreErrorInfo();
    if (code == kInternalFailure)
        reportError(code, text, nullptr, hostWindow, true);
    return traceError(code, text, nullptr);
}
