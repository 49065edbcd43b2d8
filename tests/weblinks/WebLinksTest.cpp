// Opening a URL: through the web browser application object where its class is
// registered, through the shell where it is not.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "RecorderScheme.h"
#include "TestBrowser.h"
#include "catalogue/WebLinks.h"
#include "testkit/MessageBoxDriver.h"

namespace {

// The dialog's error reporter as the tests see it: the texts, and E_FAIL.
struct RecordedReports {
    std::vector<std::string> texts;
    DialogErrorReporter reporter()
    {
        return [this](const std::string& text) {
            texts.push_back(text);
            return E_FAIL;
        };
    }
};

class WebLinks : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Never the real browser: the class is registered in the test prefix (so
        // that the browser road is taken), and this process serves it.
        ASSERT_TRUE(classRegistered(CLSID_InternetExplorer)) << "the test prefix registers the browser class";
        ASSERT_TRUE(browser_.served());
    }

    TestBrowser browser_;
    RecordedReports reports_;
    MessageBoxDriver boxes_;
};

}  // namespace

TEST_F(WebLinks, OpensTheAddressInAVisibleBrowserWindowWithTheOptionalArgumentsMissing)
{
    const HRESULT hr = NavigateToURL("http://www.tarnwick.example/help/mixer.html", reports_.reporter());
    EXPECT_EQ(hr, S_OK);
    EXPECT_EQ(browser_.log().calls, (std::vector<std::string>{"Visible(-1)", "Navigate"}));
    ASSERT_EQ(browser_.log().navigations.size(), 1u);
    const BrowserLog::Navigation& navigation = browser_.log().navigations[0];
    EXPECT_EQ(navigation.url, L"http://www.tarnwick.example/help/mixer.html");
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(navigation.types[i], VT_ERROR) << "optional argument " << i;
        EXPECT_EQ(navigation.codes[i], DISP_E_PARAMNOTFOUND) << "optional argument " << i;
    }
    EXPECT_TRUE(reports_.texts.empty());
    EXPECT_EQ(boxes_.count(), 0u);
    EXPECT_EQ(browser_.log().references, 0) << "the browser objects are released";
}

TEST_F(WebLinks, AnEmptyAddressIsReportedAndNoBrowserIsStarted)
{
    EXPECT_EQ(NavigateToURL("", reports_.reporter()), E_FAIL);
    EXPECT_EQ(reports_.texts, std::vector<std::string>{"Component does not provide any URL for that field"});
    EXPECT_EQ(browser_.creations(), 0);
}

TEST_F(WebLinks, ABrowserWithoutIWebBrowserAppIsReportedAndNotNavigated)
{
    browser_.log().lacksWebBrowserApp = true;
    EXPECT_EQ(NavigateToURL("http://www.tarnwick.example/", reports_.reporter()), E_FAIL);
    EXPECT_EQ(reports_.texts,
              std::vector<std::string>{"Error access interface IWebBrowserApp from InternetExplorer class"});
    EXPECT_TRUE(browser_.log().calls.empty()) << "neither shown nor navigated";
    EXPECT_EQ(browser_.log().references, 0);
}

TEST_F(WebLinks, AnotherFailureOfTheInterfaceQueryIsAnUnexpectedError)
{
    browser_.log().appQueryFailure = E_ACCESSDENIED;
    EXPECT_EQ(NavigateToURL("http://www.tarnwick.example/", reports_.reporter()), E_FAIL);
    EXPECT_EQ(reports_.texts,
              std::vector<std::string>{"Unexpected Error navigating to url 'http://www.tarnwick.example/'"});
    EXPECT_TRUE(browser_.log().calls.empty());
    EXPECT_EQ(browser_.log().references, 0);
}

TEST_F(WebLinks, AFailedNavigationIsReportedWithTheAddressAfterTheWindowWasShown)
{
    browser_.log().navigateResult = static_cast<HRESULT>(0x800C0005);
    EXPECT_EQ(NavigateToURL("http://www.tarnwick.example/", reports_.reporter()), E_FAIL);
    EXPECT_EQ(reports_.texts, std::vector<std::string>{"Error navigating to url 'http://www.tarnwick.example/'"});
    EXPECT_EQ(browser_.log().calls, (std::vector<std::string>{"Visible(-1)", "Navigate"}));
    EXPECT_EQ(browser_.log().references, 0);
}

TEST_F(WebLinks, AFailedBrowserCreationIsExplainedByTheCreationAlone)
{
    browser_.log().creationFailure = CO_E_SERVER_EXEC_FAILURE;
    EXPECT_EQ(NavigateToURL("http://www.tarnwick.example/", reports_.reporter()), CO_E_SERVER_EXEC_FAILURE);
    EXPECT_TRUE(reports_.texts.empty());
    ASSERT_EQ(boxes_.count(), 1u);
    EXPECT_EQ(boxes_.last().text.rfind("Error creating interface '", 0), 0u) << boxes_.last().text;
    EXPECT_NE(boxes_.last().text.find("' for class 'InternetExplorer.Application.1' context 23"), std::string::npos)
        << boxes_.last().text;
}

TEST(WebLinksWithoutBrowserClass, TheShellOpensWebAddressesWithoutAMessage)
{
    MessageBoxDriver boxes;
    CLSID unregistered{};
    CoCreateGuid(&unregistered);
    ASSERT_FALSE(classRegistered(unregistered));

    std::vector<std::wstring> opened;
    bool shellSucceeds = true;
    const ShellOpener shell = [&](const std::wstring& address) {
        opened.push_back(address);
        return shellSucceeds;
    };
    RecordedReports reports;
    EXPECT_EQ(navigateToURL("https://www.tarnwick.example/", unregistered, shell, reports.reporter()), S_OK);
    EXPECT_EQ(navigateToURL("www.tarnwick.example", unregistered, shell, reports.reporter()), S_OK);
    EXPECT_EQ(opened, (std::vector<std::wstring>{L"https://www.tarnwick.example/", L"http://www.tarnwick.example"}));
    EXPECT_TRUE(reports.texts.empty());

    // A program or a file is not a web page: the browser would only show it.
    for (const char* notAWebPage : {"C:\\Windows\\notepad.exe", "file:///C:/Windows/notepad.exe", "notepad.exe \\x"})
        EXPECT_EQ(navigateToURL(notAWebPage, unregistered, shell, reports.reporter()), E_FAIL) << notAWebPage;
    shellSucceeds = false;
    navigateToURL("http://www.tarnwick.example/", unregistered, shell, reports.reporter());
    EXPECT_EQ(reports.texts, (std::vector<std::string>{"Error navigating to url 'C:\\Windows\\notepad.exe'",
                                                       "Error navigating to url 'file:///C:/Windows/notepad.exe'",
                                                       "Error navigating to url 'notepad.exe \\x'",
                                                       "Error navigating to url 'http://www.tarnwick.example/'"}));
    EXPECT_EQ(opened.size(), 3u) << "nothing but web addresses reach the shell";
    EXPECT_EQ(boxes.count(), 0u) << "no creation was tried, so no creation message";
}

TEST(WebLinksWithoutBrowserClass, TheShellStartsTheProgramRegisteredForTheAddressScheme)
{
    RecorderScheme scheme;
    ASSERT_TRUE(scheme.registered());
    const std::wstring address = scheme.name() + L":page-17";
    ASSERT_TRUE(openInDefaultBrowser(address));
    const std::string recorded = scheme.waitForRecord();
    EXPECT_EQ(recorded, std::string(address.begin(), address.end()));
}
