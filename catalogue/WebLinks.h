#pragma once
#include <windows.h>

#include <functional>
#include <string>

// Opening a component's web pages (vendor, help) in a new web-browser window.
//
// The browser is the web browser application object (InternetExplorer.Application.1,
// IWebBrowserApp) wherever that class is registered. Where it is not registered at
// all, as on current Windows versions, the default browser opens the address through
// the shell instead, without a message about the missing class.

// Shows text as one of the dialog's errors (stop icon, OK button) and returns the
// result the caller hands back (E_FAIL).
using DialogErrorReporter = std::function<HRESULT(const std::string& text)>;

// Opens a web address in the default browser; true when the shell started it.
using ShellOpener = std::function<bool(const std::wstring& address)>;

// Opens url in a new browser window. Every failure is shown through reportError
// (a failed creation of the browser object is shown by createInterface alone).
HRESULT NavigateToURL(const std::string& url, const DialogErrorReporter& reportError);

// NavigateToURL with the browser class and the shell road given: the product passes
// CLSID_InternetExplorer and openInDefaultBrowser.
HRESULT navigateToURL(const std::string& url, REFCLSID browserClass, const ShellOpener& openWithShell,
                      const DialogErrorReporter& reportError);

// True when the class is registered with a server that COM could start.
bool classRegistered(REFCLSID clsid);

// What the browser object or the shell may open for url: the address itself when it
// is an http or https address, "http://" + url when it names no scheme (as a
// browser's address bar would read it), and nothing (empty) for anything else: a
// file, a share, a script or a program would be run or opened where a browser only
// shows a page.
std::wstring webAddress(const std::string& url);

// The shell's "open" of address (ShellExecuteEx), without the shell's own messages.
bool openInDefaultBrowser(const std::wstring& address);
