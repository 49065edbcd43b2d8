#pragma once
#include <windows.h>
#include <exdisp.h>

#include <memory>
#include <string>
#include <vector>

#include "ServedClass.h"

// What the test browser was asked, in order, and how it behaves.
struct BrowserLog {
    struct Navigation {
        std::wstring url;
        // Type and error code of the four optional arguments (Flags, TargetFrameName,
        // PostData, Headers); VT_EMPTY for a null pointer.
        VARTYPE types[4] = {};
        SCODE codes[4] = {};
    };

    // Behaviour.
    bool lacksWebBrowserApp = false;     // QueryInterface(IWebBrowserApp): E_NOINTERFACE
    HRESULT appQueryFailure = S_OK;      // or this failure instead
    HRESULT navigateResult = S_OK;       // what Navigate answers
    HRESULT creationFailure = S_OK;      // what the class factory answers instead of a browser

    // What happened: "Visible(-1)" for put_Visible, "Navigate" for Navigate.
    std::vector<std::string> calls;
    std::vector<Navigation> navigations;
    long references = 0;  // held now on all test browsers
};

// The test browser served under the web browser application class
// (CLSID_InternetExplorer) for the lifetime of the object, in this process: COM
// creates it instead of starting the registered browser. It records put_Visible and
// Navigate and opens nothing.
class TestBrowser {
public:
    TestBrowser();
    bool served() const { return served_.result() == S_OK; }
    int creations() const { return served_.creations(); }
    BrowserLog& log() { return *log_; }

private:
    std::shared_ptr<BrowserLog> log_;
    ServedClass served_;
};
