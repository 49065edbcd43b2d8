// What the host reads and sets of the chosen item: ProgIDs, aliases, CATID, the
// descriptive texts, the CLSID lookup, the server name and the version number.
#include "automation/CCCAPEGUI.h"

#include <memory>

#include "automation/BstrText.h"
#include "automation/MethodBoundary.h"
#include "support/AnsiText.h"
#include "support/ErrorReport.h"
#include "support/MemoryHolders.h"
#include "support/UniqueBstr.h"

// The plain accessors do not take the host window as owner (they show nothing).

HRESULT STDMETHODCALLTYPE CCCAPEGUI::GetItemProgID(BSTR* itemprogid)
{
    return methodBoundary("GetItemProgID", nullptr, [&] {
        if (!itemprogid)
            return E_POINTER;
        *itemprogid = newBstrOrNull(itemProgID);
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::GetParentProgID(BSTR* Parentprogid)
{
    return methodBoundary("GetParentProgID", nullptr, [&] {
        if (!Parentprogid)
            return E_POINTER;
        *Parentprogid = newBstrOrNull(parentProgID);
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::GetItemAlias(BSTR* alias)
{
    return methodBoundary("GetItemAlias", nullptr, [&] {
        if (!alias)
            return E_POINTER;
        *alias = newBstrOrNull(itemAlias);
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::GetParentAlias(BSTR* alias)
{
    return methodBoundary("GetParentAlias", nullptr, [&] {
        if (!alias)
            return E_POINTER;
        *alias = newBstrOrNull(parentAlias);
        return S_OK;
    });
}

// Unlike the ProgIDs, an empty CATID is an empty (not null) BSTR.
HRESULT STDMETHODCALLTYPE CCCAPEGUI::GetCATID(BSTR* catid)
{
    return methodBoundary("GetCATID", nullptr, [&] {
        if (!catid)
            return E_POINTER;
        *catid = newBstr(itemCATID);
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::GetItemInfo(BSTR* description, BSTR* componentVersion, BSTR* vendorURL,
                                                 BSTR* helpURL, BSTR* about)
{
    const auto alive = enterMethod();
    return methodBoundary("GetItemInfo", hostWindow, [&] {
        if (!description || !componentVersion || !vendorURL || !helpURL || !about)
            return E_POINTER;
        // All five are made before any is handed out: a failure leaves none written.
        UniqueBstr texts[] = {UniqueBstr::attach(newBstr(itemDescription)),
                              UniqueBstr::attach(newBstr(itemComponentVersion)),
                              UniqueBstr::attach(newBstr(itemVendorURL)), UniqueBstr::attach(newBstr(itemHelpURL)),
                              UniqueBstr::attach(newBstr(itemAbout))};
        *description = texts[0].detach();
        *componentVersion = texts[1].detach();
        *vendorURL = texts[2].detach();
        *helpURL = texts[3].detach();
        *about = texts[4].detach();
        return S_OK;
    });
}

// No error text is kept: msg is left as the caller passed it.
HRESULT STDMETHODCALLTYPE CCCAPEGUI::getLastError(BSTR*)
{
    return methodBoundary("getLastError", nullptr, [] { return S_OK; });
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::put_enableWarnings(VARIANT_BOOL value)
{
    return methodBoundary("enableWarnings", nullptr, [&] {
        // Only VARIANT_TRUE (-1) enables: 1 is not true here.
        warningsEnabled = (value == VARIANT_TRUE);
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::setAlias(BSTR szComponentAlias, BSTR szParentAlias)
{
    return methodBoundary("setAlias", nullptr, [&] {
        assignAliases(toAnsi(szComponentAlias), toAnsi(szParentAlias));
        return S_OK;
    });
}

void CCCAPEGUI::assignAliases(const std::string& item, const std::string& parentName)
{
    itemAlias = item;
    parentAlias = parentName;
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::get_serverName(BSTR* pVal)
{
    return methodBoundary("serverName", nullptr, [&] {
        if (!pVal)
            return E_POINTER;
        const wchar_t* held = serverName;
        BSTR copy = nullptr;
        if (held) {
            copy = SysAllocStringLen(held, serverName.length());
            if (!copy)
                throw std::bad_alloc();
        }
        *pVal = copy;
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::put_serverName(BSTR value)
{
    return methodBoundary("serverName", nullptr, [&] {
        serverName = CQnBSTR(static_cast<const wchar_t*>(value));
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::get_compCOversion(LONG* pVal)
{
    return methodBoundary("compCOversion", nullptr, [&] {
        if (!pVal)
            return E_POINTER;
        *pVal = compCOversion;
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::put_compCOversion(LONG value)
{
    return methodBoundary("compCOversion", nullptr, [&] {
        compCOversion = value;
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::getFullCOPPClassName(BSTR* name)
{
    const auto alive = enterMethod();
    return methodBoundary("getFullCOPPClassName", hostWindow, [&] {
        if (!name)
            return E_POINTER;
        *name = newBstr(fullPackageClassName());
        return S_OK;
    });
}

std::string CCCAPEGUI::fullPackageClassName() const
{
    std::string text = itemDisplayName();
    if (text.empty())
        text = "<no Property Package name available>";
    // Nothing between the two pieces: MyPackage(from 'Mgr.1').
    if (!parentProgID.empty())
        text += "(from '" + parentProgID + "')";
    else
        text += "(Standalone)";
    return text;
}

HRESULT CCCAPEGUI::clsidForProgID(const wchar_t* progId, CLSID& clsid)
{
    HRESULT hr = CLSIDFromProgID(progId, &clsid);
    if (SUCCEEDED(hr))
        return hr;
    // The selected item's registered CLSID text stands in for a ProgID the registry
    // does not resolve (same ProgID, letter case ignored).
    if (progId && !itemCLSIDText.empty() && _wcsicmp(progId, toWide(itemProgID).c_str()) == 0) {
        hr = CLSIDFromString(toWide(itemCLSIDText).c_str(), &clsid);
        if (SUCCEEDED(hr))
            return hr;
    }
    const std::string message = "The component with ProgID '" + toAnsi(progId) +
                                "' is not correctly registered. It's CLSID does not appear in the registry.";
    return reportError(hr, message.c_str(), nullptr, hostWindow, true);
}

namespace {

// The braced CLSID text of a ProgID, as a new BSTR in *out (written on success only).
HRESULT clsidTextOf(CCCAPEGUI& object, const std::string& progId, BSTR* out)
{
    if (!out)
        return E_POINTER;
    CLSID clsid;
    HRESULT hr = object.clsidForProgID(toWide(progId).c_str(), clsid);
    if (FAILED(hr))
        return hr;  // reported there
    wchar_t* raw = nullptr;
    hr = StringFromCLSID(clsid, &raw);
    CoTaskText text(raw);
    if (FAILED(hr))
        return reportUnexpected(hr);
    BSTR result = SysAllocString(text.get());
    if (!result)
        throw std::bad_alloc();
    *out = result;
    return S_OK;
}

}  // namespace

HRESULT STDMETHODCALLTYPE CCCAPEGUI::GetItemCLSID(BSTR* itemclsid)
{
    const auto alive = enterMethod();
    return methodBoundary("GetItemCLSID", hostWindow, [&] { return clsidTextOf(*this, itemProgID, itemclsid); });
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::GetParentCLSID(BSTR* Parentclsid)
{
    const auto alive = enterMethod();
    return methodBoundary("GetParentCLSID", hostWindow, [&] { return clsidTextOf(*this, parentProgID, Parentclsid); });
}
