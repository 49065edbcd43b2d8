// The Vendor URL and Component Help buttons of the Component Manager.
#include <gtest/gtest.h>

#include "RegisteredClass.h"
#include "TestBrowser.h"
#include "TreeReading.h"
#include "catalogue/CapeOpenDlg.h"
#include "catalogue/CategoryTable.h"
#include "catalogue/WebLinks.h"
#include "resources/ControlIds.h"
#include "support/MTUtils.h"

namespace {

class WebLinksEnvironment : public ::testing::Environment {
public:
    // The dialog reads its settings beside the module registered as the library's and
    // captions its boxes with its base name: the test program stands in for the DLL.
    void SetUp() override { MTUtils::setModuleName("weblinks_tests.exe"); }
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new WebLinksEnvironment);

// Two listed unit operations: one with both addresses, one without a vendor URL.
class WebLinkButtons : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(classRegistered(CLSID_InternetExplorer)) << "the test prefix registers the browser class";
        ASSERT_TRUE(browser_.served()) << "never the real browser";
        linked_.describe({{"Name", "Linked Unit"},
                          {"VendorURL", "http://www.linked.example/"},
                          {"HelpURL", "http://www.linked.example/help.html"}});
        unlinked_.describe({{"Name", "Unlinked Unit"}, {"HelpURL", "http://www.unlinked.example/help.html"}});
    }

    // Opens the Component Manager on unit operations, shows the unit labelled name,
    // lets script press buttons, then cancels.
    void withUnitShown(const std::string& name, const RegisteredClass& unit, const std::function<void(HWND)>& script)
    {
        CCapeOpenDlg dialog(nullptr, nullptr);
        dialog.filterMask = kUnitOperationFilter;
        runDialog(dialog, boxes_, [&](HWND window) {
            HTREEITEM item = findItem(GetDlgItem(window, IDC_COMPONENT_TREE),
                                      {"Unit Operations", name + " [" + unit.progId() + "]"});
            ASSERT_NE(item, nullptr) << name << " is listed";
            selectItem(window, item);
            script(window);
            boxes_.answerNext(IDYES);  // "Do you want to abort ...?"
            PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        });
    }

    static void press(HWND dialog, int button)
    {
        ASSERT_TRUE(IsWindowEnabled(GetDlgItem(dialog, button))) << "button " << button << " is enabled";
        SendMessageA(GetDlgItem(dialog, button), BM_CLICK, 0, 0);
    }

    TestBrowser browser_;
    MessageBoxDriver boxes_;
    RegisteredClass linked_{"QnTest.Linked", {kCategoryTable[0].catid}};
    RegisteredClass unlinked_{"QnTest.Unlinked", {kCategoryTable[0].catid}};
};

std::vector<std::wstring> navigatedUrls(const BrowserLog& log)
{
    std::vector<std::wstring> urls;
    for (const auto& navigation : log.navigations)
        urls.push_back(navigation.url);
    return urls;
}

}  // namespace

TEST_F(WebLinkButtons, OpenTheShownComponentsVendorAndHelpAddresses)
{
    withUnitShown("Linked Unit", linked_, [&](HWND dialog) {
        EXPECT_EQ(controlText(dialog, IDC_VENDOR_URL), "http://www.linked.example/");
        press(dialog, IDC_VENDOR_URL);
        press(dialog, IDC_COMPONENT_HELP);
    });
    EXPECT_EQ(navigatedUrls(browser_.log()),
              (std::vector<std::wstring>{L"http://www.linked.example/", L"http://www.linked.example/help.html"}));
    EXPECT_EQ(boxes_.count(), 1u) << "no box but the question on cancelling";
    EXPECT_EQ(browser_.log().references, 0);
}

TEST_F(WebLinkButtons, AnEmptyVendorAddressIsAStopBoxOfTheDialog)
{
    withUnitShown("Unlinked Unit", unlinked_, [&](HWND dialog) {
        EXPECT_EQ(controlText(dialog, IDC_VENDOR_URL), "") << "the caption is the empty vendor URL";
        press(dialog, IDC_VENDOR_URL);
        ASSERT_EQ(boxes_.count(), 1u);
        const ShownBox& box = boxes_.last();
        EXPECT_EQ(box.text, "Component does not provide any URL for that field");
        EXPECT_EQ(box.owner, dialog);
        EXPECT_EQ(box.caption, "weblinks_tests");
        EXPECT_TRUE(box.hasIcon) << "the stop icon";
        EXPECT_TRUE(box.hasButton(IDOK));
    });
    EXPECT_EQ(browser_.creations(), 0);
}
