// Opening the shown component's web pages (the Vendor URL and Component Help
// buttons) in a browser window.
#include "catalogue/WebLinks.h"

#include <exdisp.h>
#include <shellapi.h>

#include <algorithm>
#include <cctype>

#include "catalogue/CapeOpenDlg.h"
#include "support/WideText.h"
#include "support/ComPtr.h"
#include "support/ErrorReport.h"
#include "support/RegKey.h"
#include "support/UniqueBstr.h"
#include "support/VariantHolder.h"

namespace {

// A failed call inside the navigation, shown as the unexpected error.
struct NavigationFault {
    HRESULT code;
};

// An optional argument left out, as automation passes it.
struct MissingArgument : VariantHolder {
    MissingArgument()
    {
        vt = VT_ERROR;
        scode = DISP_E_PARAMNOTFOUND;
    }
};

HRESULT navigateWithBrowserObject(const std::string& url, const std::wstring& webAddress, REFCLSID browserClass,
                                  const DialogErrorReporter& reportError)
{
    ComPtr<IWebBrowser> browser;
    // The browser is always created on this machine (no server name).
    const HRESULT created =
        createInterface(browserClass, nullptr, kAnyServerContext, IID_IWebBrowser, browser.putVoid(), nullptr);
    if (FAILED(created))
        return created;  // createInterface has shown why

    ComPtr<IWebBrowserApp> application;
    const HRESULT asked = browser.queryInterface(IID_IWebBrowserApp, application);
    if (FAILED(asked) && asked != E_NOINTERFACE)
        throw NavigationFault{asked};
    if (!application)
        return reportError("Error access interface IWebBrowserApp from InternetExplorer class");

    application->put_Visible(VARIANT_TRUE);  // its result does not matter

    UniqueBstr address(webAddress.c_str());
    if (!address.get())
        throw NavigationFault{E_OUTOFMEMORY};
    MissingArgument flags, targetFrameName, postData, headers;
    const HRESULT navigated = browser->Navigate(address.get(), &flags, &targetFrameName, &postData, &headers);
    if (FAILED(navigated))
        return reportError("Error navigating to url '" + url + "'");
    return navigated;
}

bool startsWithNoCase(const std::string& text, const std::string& prefix)
{
    return text.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
           });
}

}  // namespace

HRESULT navigateToURL(const std::string& url, REFCLSID browserClass, const ShellOpener& openWithShell,
                      const DialogErrorReporter& reportError)
{
    if (url.empty())
        return reportError("Component does not provide any URL for that field");
    const std::wstring address = webAddress(url);
    if (address.empty())
        return reportError("Error navigating to url '" + url + "'");
    try {
        if (!classRegistered(browserClass))
            return openWithShell(address) ? S_OK : reportError("Error navigating to url '" + url + "'");
        return navigateWithBrowserObject(url, address, browserClass, reportError);
    } catch (...) {
        return reportError("Unexpected Error navigating to url '" + url + "'");
    }
}

HRESULT NavigateToURL(const std::string& url, const DialogErrorReporter& reportError)
{
    return navigateToURL(url, CLSID_InternetExplorer, openInDefaultBrowser, reportError);
}

bool classRegistered(REFCLSID clsid)
{
    wchar_t text[40] = {};
    if (!StringFromGUID2(clsid, text, 40))
        return false;
    const std::wstring classKey = std::wstring(L"CLSID\\") + text + L"\\";
    for (const wchar_t* server : {L"LocalServer32", L"InprocServer32", L"LocalServer", L"InprocServer"}) {
        RegKey key;
        if (RegOpenKeyExW(HKEY_CLASSES_ROOT, (classKey + server).c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS)
            return true;
    }
    return false;
}

std::wstring webAddress(const std::string& url)
{
    if (startsWithNoCase(url, "http://") || startsWithNoCase(url, "https://"))
        return toWide(url);
    if (url.find_first_of(":\\") == std::string::npos)
        return toWide("http://" + url);
    return {};
}

bool openInDefaultBrowser(const std::wstring& address)
{
    SHELLEXECUTEINFOW execute{};
    execute.cbSize = sizeof execute;
    // No box of the shell's own (the caller reports), and the program is started
    // before the call returns.
    execute.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    execute.lpVerb = L"open";
    execute.lpFile = address.c_str();
    execute.nShow = SW_SHOWNORMAL;
    return ShellExecuteExW(&execute) != FALSE;
}
