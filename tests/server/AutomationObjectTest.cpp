// The automation object from inside: state that later parts of the object fill
// (the chosen item, the created component) is arranged directly.
#include <gtest/gtest.h>

#include "automation/CCCAPEGUI.h"

#include "TestObjects.h"
#include "support/ComPtr.h"
#include "support/ErrorReport.h"
#include "support/UniqueBstr.h"
#include "testkit/MessageBoxDriver.h"

using namespace servertest;

class CCCAPEGUITestAccess {
public:
    static CCCAPEGUI& of(const ComPtr<ICCAPEGUI>& gui) { return *static_cast<CCCAPEGUI*>(gui.get()); }
    static void holdComponents(const ComPtr<ICCAPEGUI>& gui, IDispatch* component, IDispatch* parent)
    {
        of(gui).component = ComPtr<IDispatch>(component);
        of(gui).parent = ComPtr<IDispatch>(parent);
    }
    static void chooseItem(const ComPtr<ICCAPEGUI>& gui, const char* progId, const char* clsidText)
    {
        of(gui).itemProgID = progId;
        of(gui).itemCLSIDText = clsidText;
    }
    static void describeItem(const ComPtr<ICCAPEGUI>& gui)
    {
        of(gui).itemDescription = "A mixer";
        of(gui).itemComponentVersion = "2.0.1";
        of(gui).itemVendorURL = "http://vendor.example";
        of(gui).itemHelpURL = "http://vendor.example/help";
        of(gui).itemAbout = "(c) Vendor";
    }
    static void setParentProgId(const ComPtr<ICCAPEGUI>& gui, const char* progId) { of(gui).parentProgID = progId; }
    static bool warningsEnabled(const ComPtr<ICCAPEGUI>& gui) { return of(gui).warningsEnabled; }
};

namespace {

using Access = CCCAPEGUITestAccess;

class AutomationObject : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(S_OK, CCCAPEGUI::createInstance(nullptr, IID_ICCAPEGUI, gui.putVoid()));
    }
    ComPtr<ICCAPEGUI> gui;
};

std::wstring clsidText(const UniqueBstr& text) { return text.text(); }

}  // namespace

TEST_F(AutomationObject, ReleaseTerminatesAndGivesBackParentAndComponent)
{
    TestComponent component, parent, plain(false);
    Access::holdComponents(gui, component.asDispatch(), parent.asDispatch());

    EXPECT_EQ(S_OK, gui->releaseComponents());
    EXPECT_EQ(1, component.terminateCalls);
    EXPECT_EQ(1, parent.terminateCalls);
    EXPECT_EQ(1u, component.references);
    EXPECT_EQ(1u, parent.references);

    EXPECT_EQ(S_OK, gui->releaseComponents()) << "the second call finds nothing";
    EXPECT_EQ(1, component.terminateCalls);

    Access::holdComponents(gui, plain.asDispatch(), nullptr);
    EXPECT_EQ(S_OK, gui->releaseComponents()) << "a component without ICapeUtilities is only released";
    EXPECT_EQ(1u, plain.references);
}

TEST_F(AutomationObject, FailingTerminateIsReportedAndTheReleaseGoesOn)
{
    MessageBoxDriver boxes;
    TestComponent component, parent;
    parent.terminateResult = 0x80040508;  // ECapeImplementationHR
    Access::holdComponents(gui, component.asDispatch(), parent.asDispatch());

    EXPECT_EQ(static_cast<HRESULT>(0x80040508), gui->releaseComponents()) << "the reported failure is returned";
    EXPECT_EQ(1u, parent.references) << "released although Terminate failed";
    EXPECT_EQ(1, component.terminateCalls) << "the component is still terminated after its parent failed";
    EXPECT_EQ(1u, component.references);
    ASSERT_EQ(1u, boxes.count());
    const std::string& text = boxes.last().text;
    EXPECT_NE(std::string::npos, text.find("Terminating")) << text;
    EXPECT_NE(std::string::npos, text.find("(The unit refuses to stop: TestUnit)"))
        << "the component's own error information is in the report: " << text;

    boxes.clear();
    EXPECT_EQ(S_OK, gui->releaseComponents());
    EXPECT_EQ(0u, boxes.count());
}

TEST_F(AutomationObject, LastReleaseTerminatesTheComponent)
{
    TestComponent component;
    Access::holdComponents(gui, component.asDispatch(), nullptr);
    gui = nullptr;
    EXPECT_EQ(1, component.terminateCalls);
    EXPECT_EQ(1u, component.references);
}

TEST_F(AutomationObject, OnlyVariantTrueEnablesWarnings)
{
    EXPECT_TRUE(Access::warningsEnabled(gui)) << "enabled by default";
    EXPECT_EQ(S_OK, gui->put_enableWarnings(1));
    EXPECT_FALSE(Access::warningsEnabled(gui)) << "1 is not VARIANT_TRUE";
    EXPECT_EQ(S_OK, gui->put_enableWarnings(VARIANT_TRUE));
    EXPECT_TRUE(Access::warningsEnabled(gui));
    EXPECT_EQ(S_OK, gui->put_enableWarnings(VARIANT_FALSE));
    EXPECT_FALSE(Access::warningsEnabled(gui));
}

TEST_F(AutomationObject, ClsidOfTheItemFallsBackToItsRegisteredText)
{
    MessageBoxDriver boxes;
    Access::chooseItem(gui, "Vendor.NotInRegistry.1", "{0A1B2C3D-1111-2222-3333-444455556666}");
    UniqueBstr clsid;
    EXPECT_EQ(S_OK, gui->GetItemCLSID(clsid.put()));
    EXPECT_EQ(L"{0A1B2C3D-1111-2222-3333-444455556666}", clsidText(clsid));

    CLSID found{};
    EXPECT_EQ(S_OK, Access::of(gui).clsidForProgID(L"VENDOR.notinregistry.1", found)) << "letter case ignored";
    EXPECT_EQ(0u, boxes.count());

    Access::setParentProgId(gui, "Vendor.NotInRegistry");
    UniqueBstr parentClsid;
    EXPECT_TRUE(FAILED(gui->GetParentCLSID(parentClsid.put()))) << "only the item's own ProgID has the fallback";
    ASSERT_EQ(1u, boxes.count());
    EXPECT_NE(std::string::npos, boxes.last().text.find("ProgID 'Vendor.NotInRegistry' is not correctly registered"));

    Access::chooseItem(gui, "QnShowCOCATIDs.CCAPEGUI11", "");
    EXPECT_EQ(S_OK, gui->GetItemCLSID(clsid.put())) << "a registered ProgID needs no fallback";
    EXPECT_EQ(L"{3F6A1D20-7C41-4B8E-9D2A-51C0E7B4A913}", clsidText(clsid));
}

TEST_F(AutomationObject, HostWindowOwnsTheBoxesOfItsMethods)
{
    HWND window = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, window);
    MessageBoxDriver boxes;
    ASSERT_EQ(S_OK, gui->setup(reinterpret_cast<INT_PTR>(window), nullptr, catf_All));
    UniqueBstr clsid;
    EXPECT_TRUE(FAILED(gui->GetItemCLSID(clsid.put())));
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ(window, boxes.last().owner);
    EXPECT_FALSE(boxes.last().topmost());

    gui = nullptr;
    EXPECT_EQ(nullptr, defaultOwnerWindow()) << "a released object leaves no owner window behind";
    DestroyWindow(window);
}

TEST_F(AutomationObject, ItemInformationAndDisplayName)
{
    Access::describeItem(gui);
    UniqueBstr info[5];
    ASSERT_EQ(S_OK, gui->GetItemInfo(info[0].put(), info[1].put(), info[2].put(), info[3].put(), info[4].put()));
    EXPECT_EQ(L"A mixer", info[0].text());
    EXPECT_EQ(L"2.0.1", info[1].text());
    EXPECT_EQ(L"http://vendor.example", info[2].text());
    EXPECT_EQ(L"http://vendor.example/help", info[3].text());
    EXPECT_EQ(L"(c) Vendor", info[4].text());

    Access::chooseItem(gui, "MyPackage", "");
    Access::setParentProgId(gui, "Mgr.1");
    UniqueBstr name;
    ASSERT_EQ(S_OK, gui->getFullCOPPClassName(name.put()));
    EXPECT_EQ(L"MyPackage(from 'Mgr.1')", name.text()) << "the ProgID stands in for a missing alias";
}
