#include "support/ErrorReport.h"

#include <objbase.h>

#include <memory>

#include "support/AnsiText.h"
#include "support/ForeignCall.h"
#include "support/MemoryHolders.h"
#include "support/Trace.h"

namespace {

// The class as the user knows it: its ProgID, or the braced CLSID without one.
std::string classText(REFCLSID clsid)
{
    wchar_t* raw = nullptr;
    HRESULT hr = ProgIDFromCLSID(clsid, &raw);
    CoTaskText progId(raw);
    if (SUCCEEDED(hr) && progId)
        return toAnsi(progId.get());
    raw = nullptr;
    hr = StringFromCLSID(clsid, &raw);
    CoTaskText clsidText(raw);
    return SUCCEEDED(hr) ? toAnsi(clsidText.get()) : std::string();
}

// The registered interface name, or the braced IID when it has none.
std::string interfaceText(REFIID iid)
{
    std::string name;
    if (SUCCEEDED(interfaceNameFromIID(iid, name)) && !name.empty())
        return name;
    wchar_t* raw = nullptr;
    HRESULT hr = StringFromIID(iid, &raw);
    CoTaskText iidText(raw);
    return SUCCEEDED(hr) ? toAnsi(iidText.get()) : std::string();
}

HRESULT createRemotely(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid, void** out, const wchar_t* server)
{
    COSERVERINFO serverInfo{};
    serverInfo.pwszName = const_cast<wchar_t*>(server);
    MULTI_QI query{&iid, nullptr, S_OK};
    HRESULT hr = CoCreateInstanceEx(clsid, outer, context, &serverInfo, 1, &query);
    // The one entry carries the reference (or its own failure).
    if (SUCCEEDED(hr) && FAILED(query.hr))
        hr = query.hr;
    *out = SUCCEEDED(hr) ? query.pItf : nullptr;
    return hr;
}

HRESULT createLocally(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid, void** out)
{
    HRESULT hr = CoCreateInstance(clsid, outer, context, iid, out);
    // Where remote activation is not available the flag is refused outright: the
    // caller asked for "any of these", so the other servers are tried alone.
    if (hr == E_INVALIDARG && (context & CLSCTX_REMOTE_SERVER))
        hr = CoCreateInstance(clsid, outer, context & ~CLSCTX_REMOTE_SERVER, iid, out);
    return hr;
}

void explainCreationFailure(REFCLSID clsid, DWORD context, REFIID iid, HRESULT hr, bool noObject)
{
    std::string message = "Error creating interface '" + interfaceText(iid) + "' for class '" + classText(clsid) +
                          "' context " + std::to_string(static_cast<int>(context));
    if (noObject)
        message += ": the class reported success but handed out no object";
    if (message.size() > kMaxMessageLength)
        message.resize(kMaxMessageLength);
    // The line in qnshow.txt comes first: it survives whatever happens with the box.
    traceToTempFile(message.c_str());
    showHResultMessage(message.c_str(), hr);
}

// The creation itself; noObject tells a class that answered success without an object.
HRESULT createObject(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid, void** out, const wchar_t* server,
                     bool& noObject)
{
    *out = nullptr;
    // The class's own code (its factory, its constructor) runs inside the creation.
    HRESULT hr = callForeign("its creation", [&] {
        return server && *server ? createRemotely(clsid, outer, context, iid, out, server)
                                 : createLocally(clsid, outer, context, iid, out);
    });
    // A class factory that answers "success" without an object would crash every
    // caller that goes on to use it: that is a failure of the component.
    noObject = SUCCEEDED(hr) && !*out;
    if (noObject)
        hr = E_NOINTERFACE;
    if (FAILED(hr))
        *out = nullptr;
    return hr;
}

}  // namespace

HRESULT createInterfaceQuietly(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid, void** out,
                               const wchar_t* server)
{
    if (!out)
        return E_POINTER;
    bool noObject = false;
    return createObject(clsid, outer, context, iid, out, server, noObject);
}

HRESULT createInterface(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid, void** out, const wchar_t* server)
{
    if (!out)
        return E_POINTER;
    bool noObject = false;
    const HRESULT hr = createObject(clsid, outer, context, iid, out, server, noObject);
    if (SUCCEEDED(hr))
        return hr;
    try {
        explainCreationFailure(clsid, context, iid, hr, noObject);
    } catch (...) {
        // Out of memory while explaining: the failure itself still goes back.
    }
    return hr;
}

HRESULT interfaceNameFromIID(REFIID iid, std::string& name)
{
    name.clear();
    wchar_t* raw = nullptr;
    HRESULT hr = StringFromIID(iid, &raw);
    CoTaskText iidText(raw);
    if (FAILED(hr))
        return reportUnexpected(hr);
    name = GetRegPath(("Interface\\" + toAnsi(iidText.get())).c_str(), "");
    return S_OK;
}
