// Opening web pages: through the browser object where its class is registered (a recording
// double served in its place), through the shell where not, and from the dialog's buttons.
#include <gtest/gtest.h>
#include <exdisp.h>

#include <memory>

#include "ComponentManager.h"
#include "catalogue/WebLinks.h"
#include "resources/ControlIds.h"
#include "testkit/Controls.h"
#include "testkit/ServedClass.h"

namespace {

struct BrowserLog {
    HRESULT appQuery = S_OK;    // the answer to the question for IWebBrowserApp
    HRESULT navigation = S_OK;  // what Navigate answers
    Lines calls;                // "Visible(-1)", "Navigate(<address>, <the optional arguments>)"
};

class RecordingBrowser final : public testkit::ComDouble<IWebBrowserApp> {
public:
    explicit RecordingBrowser(std::shared_ptr<BrowserLog> log) : log_(std::move(log))
    {
        refuse(IID_IWebBrowserApp, log_->appQuery);
    }

    // IWebBrowserApp is an IWebBrowser too.
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        if (iid != IID_IWebBrowser || !out)
            return ComDouble::QueryInterface(iid, out);
        *out = static_cast<IWebBrowser*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP Navigate(BSTR url, VARIANT* flags, VARIANT* frame, VARIANT* postData, VARIANT* headers) override
    {
        std::string call = "Navigate(" + std::string(url, url + SysStringLen(url));
        for (const VARIANT* argument : {flags, frame, postData, headers})
            call += argument && argument->vt == VT_ERROR && argument->scode == DISP_E_PARAMNOTFOUND ? ", missing"
                                                                                                   : ", given";
        log_->calls.push_back(call + ")");
        return log_->navigation;
    }
    STDMETHODIMP put_Visible(VARIANT_BOOL value) override
    {
        log_->calls.push_back("Visible(" + std::to_string(value) + ")");
        return S_OK;
    }

    // The rest of a browser, which the library never asks for.
#define REFUSED TESTKIT_NOT_IMPLEMENTED
    REFUSED(GoBack) REFUSED(GoForward) REFUSED(GoHome) REFUSED(GoSearch) REFUSED(Refresh) REFUSED(Refresh2, VARIANT*)
    REFUSED(Stop) REFUSED(Quit) REFUSED(ClientToWindow, int*, int*) REFUSED(PutProperty, BSTR, VARIANT)
    REFUSED(GetProperty, BSTR, VARIANT*) REFUSED(get_Application, IDispatch**) REFUSED(get_Parent, IDispatch**)
    REFUSED(get_Container, IDispatch**) REFUSED(get_Document, IDispatch**) REFUSED(get_Type, BSTR*)
    REFUSED(get_TopLevelContainer, VARIANT_BOOL*) REFUSED(get_LocationName, BSTR*) REFUSED(get_LocationURL, BSTR*)
    REFUSED(get_Name, BSTR*) REFUSED(get_FullName, BSTR*) REFUSED(get_Path, BSTR*) REFUSED(get_HWND, SHANDLE_PTR*)
    REFUSED(get_Busy, VARIANT_BOOL*) REFUSED(get_Left, LONG*) REFUSED(put_Left, LONG) REFUSED(get_Top, LONG*)
    REFUSED(put_Top, LONG) REFUSED(get_Width, LONG*) REFUSED(put_Width, LONG) REFUSED(get_Height, LONG*)
    REFUSED(put_Height, LONG) REFUSED(get_Visible, VARIANT_BOOL*) REFUSED(get_StatusBar, VARIANT_BOOL*)
    REFUSED(put_StatusBar, VARIANT_BOOL) REFUSED(get_StatusText, BSTR*) REFUSED(put_StatusText, BSTR)
    REFUSED(get_ToolBar, int*) REFUSED(put_ToolBar, int) REFUSED(get_MenuBar, VARIANT_BOOL*)
    REFUSED(put_MenuBar, VARIANT_BOOL) REFUSED(get_FullScreen, VARIANT_BOOL*) REFUSED(put_FullScreen, VARIANT_BOOL)
#undef REFUSED

private:
    std::shared_ptr<BrowserLog> log_;
};

// The recording browser (or what create makes) created for CLSID_InternetExplorer meanwhile.
struct BrowserStandIn {
    explicit BrowserStandIn(testkit::Creator create = {})
        : served({"QnTest.Browser", {}, {}}, create ? create : testkit::creatorOf<RecordingBrowser>(log))
    {
        treatAs.setText("", nullptr, served.clsidText());
    }
    std::shared_ptr<BrowserLog> log = std::make_shared<BrowserLog>();
    testkit::ServedClass served;
    testkit::RegistryTree treatAs{"CLSID\\{0002DF01-0000-0000-C000-000000000046}\\TreatAs"};
};

const char* const kTarnwick = "http://www.tarnwick.example/";
const std::string kNavigated = "Navigate(http://www.tarnwick.example/, missing, missing, missing, missing)";

// What opening an address meets: the browser class registered with this server key
// ("": not registered), the shell opening web addresses or not, the browser's answers.
struct AddressRow {
    const char* server;
    std::string url;
    bool shellOpens;
    Lines calls, opened, reports;
    HRESULT appQuery = S_OK, navigation = S_OK, creation = S_OK;
    std::string box = {};  // what follows "Error creating interface 'IWebBrowser' for class '<its ProgID>"
};

}  // namespace

class OpeningAnAddress : public ::testing::TestWithParam<AddressRow> {};

TEST_P(OpeningAnAddress, TakesTheRegisteredBrowserOrTheShellForWebAddressesOnlyAndSaysWhatFailed)
{
    const AddressRow& row = GetParam();
    const BrowserStandIn browser(FAILED(row.creation) ? testkit::failingCreator(row.creation, L"no browser") : nullptr);
    browser.log->appQuery = row.appQuery;
    browser.log->navigation = row.navigation;
    if (*row.server)
        browser.served.setText(row.server, nullptr, "browser.exe");
    Lines opened, reports;
    testkit::DialogDriver driver;
    const ShellOpener shell = [&](const std::wstring& address) {
        opened.emplace_back(address.begin(), address.end());
        return row.shellOpens;
    };
    // The dialog's error reporter as the test sees it: the texts, and E_FAIL.
    const DialogErrorReporter report = [&](const std::string& text) { return reports.push_back(text), E_FAIL; };
    navigateToURL(row.url, browser.served.clsid(), shell, report);
    EXPECT_EQ(browser.log->calls, row.calls) << "server key \"" << row.server << "\": made visible, then navigated";
    EXPECT_EQ(opened, row.opened) << "the addresses the shell opened";
    EXPECT_EQ(reports, row.reports) << "the texts of the dialog's reports";
    const std::string box = "Error creating interface 'IWebBrowser' for class '" + browser.served.progId() + row.box;
    EXPECT_EQ(driver.boxes().texts(), row.box.empty() ? Lines{} : Lines{box}) << "no message box but the creation's";
    EXPECT_EQ(testkit::liveDoubles(), 0) << "the browser objects are released";
}

INSTANTIATE_TEST_SUITE_P(
    WebLinks, OpeningAnAddress,
    ::testing::Values(
        AddressRow{"LocalServer32", kTarnwick, true, {"Visible(-1)", kNavigated}, {}, {}},
        AddressRow{"InprocServer32", kTarnwick, true, {"Visible(-1)", kNavigated}, {}, {}},
        AddressRow{"LocalServer", kTarnwick, true, {"Visible(-1)", kNavigated}, {}, {}},
        AddressRow{"InprocServer", kTarnwick, true, {"Visible(-1)", kNavigated}, {}, {}},
        AddressRow{"LocalServer32", kTarnwick, true, {}, {},
                   {"Error access interface IWebBrowserApp from InternetExplorer class"}, E_NOINTERFACE},
        AddressRow{"LocalServer32", kTarnwick, true, {}, {},
                   {"Unexpected Error navigating to url 'http://www.tarnwick.example/'"}, E_ACCESSDENIED},
        AddressRow{"LocalServer32", kTarnwick, true, {"Visible(-1)", kNavigated}, {},
                   {"Error navigating to url 'http://www.tarnwick.example/'"}, S_OK, static_cast<HRESULT>(0x800C0005)},
        AddressRow{"LocalServer32", kTarnwick, true, {}, {}, {}, S_OK, S_OK, CO_E_SERVER_EXEC_FAILURE,
                   "' context 23\n<No system message defined> CO_E_SERVER_EXEC_FAILURE ($80080005)"},
        AddressRow{"", "https://www.tarnwick.example/", true, {}, {"https://www.tarnwick.example/"}, {}},
        AddressRow{"", "HTTP://WWW.TARNWICK.EXAMPLE", true, {}, {"HTTP://WWW.TARNWICK.EXAMPLE"}, {}},
        AddressRow{"", "www.tarnwick.example", true, {}, {"http://www.tarnwick.example"}, {}},
        AddressRow{"", kTarnwick, false, {}, {kTarnwick}, {"Error navigating to url 'http://www.tarnwick.example/'"}},
        AddressRow{"", "C:\\Windows\\notepad.exe", true, {}, {},
                   {"Error navigating to url 'C:\\Windows\\notepad.exe'"}},
        AddressRow{"LocalServer32", "file:///C:/Windows/System32/cmd.exe", true, {}, {},
                   {"Error navigating to url 'file:///C:/Windows/System32/cmd.exe'"}},
        AddressRow{"LocalServer32", "\\\\server\\share\\setup.exe", true, {}, {},
                   {"Error navigating to url '\\\\server\\share\\setup.exe'"}},
        AddressRow{"LocalServer32", "javascript:alert(1)", true, {}, {}, {"Error navigating to url 'javascript:alert(1)'"}},
        AddressRow{"", "notepad.exe \\x", true, {}, {}, {"Error navigating to url 'notepad.exe \\x'"}}));

TEST(WebLinkButtons, OpenTheShownComponentsAddressesAndAMissingOneIsAStopBoxOfTheDialog)
{
    BrowserStandIn browser;
    const testkit::ServedClass linked({"QnTest.Linked", {kUnitCatid},
                                       {{"Name", "Linked Unit"}, {"VendorURL", kTarnwick},
                                        {"HelpURL", "http://www.tarnwick.example/help.html"}}});
    const testkit::ServedClass unlinked({"QnTest.Unlinked", {kUnitCatid}, {{"Name", "Unlinked Unit"}}});
    ComponentManagerRun run(32);
    run([&](HWND dialog) {
        testkit::TreeView tree(dialog);
        tree.select({kUnitsCategory, "Linked Unit [" + linked.progId() + "]"});
        testkit::click(dialog, IDC_VENDOR_URL);
        testkit::click(dialog, IDC_COMPONENT_HELP);
        tree.select({kUnitsCategory, "Unlinked Unit [" + unlinked.progId() + "]"});
        testkit::click(dialog, IDC_VENDOR_URL);
        ASSERT_EQ(run.boxes().count(), 1u);
        const ShownBox& box = run.boxes().last();
        EXPECT_EQ(box.text, "Component does not provide any URL for that field");
        EXPECT_EQ(box.owner, dialog);
        EXPECT_EQ(box.caption, "weblinks_tests") << "the application's title";
        EXPECT_TRUE(box.hasIcon && box.buttons == std::vector<int>{IDOK}) << "the stop icon and OK";

        testkit::click(dialog, IDC_REFRESH);
        EXPECT_EQ(testkit::controlText(dialog, IDC_CLSID), "") << "a rebuild empties the panel of the record it frees";
        testkit::click(dialog, IDC_COMPONENT_HELP);  // a rebuild forgets the shown component
    });
    EXPECT_EQ(browser.log->calls,
              (Lines{"Visible(-1)", kNavigated, "Visible(-1)",
                     "Navigate(http://www.tarnwick.example/help.html, missing, missing, missing, missing)"}));
    EXPECT_EQ(run.boxes().count(), 2u) << "no box but the stop box and the question on cancelling";
}
