// The automation object's side of the property package dialog: options as the host
// sets and reads them, the package data handed over, the dialog shown, custom view.
// The component is arranged directly, as the parts that create it would leave it.
#include <gtest/gtest.h>

#include "automation/CCCAPEGUI.h"

#include "DialogDriver.h"
#include "TestArrays.h"
#include "TestPackage.h"
#include "packagedialog/ArrayElements.h"
#include "support/ComPtr.h"
#include "support/ErrorTestGuards.h"
#include "support/UniqueBstr.h"

using namespace packagetest;

class CCCAPEGUITestAccess {
public:
    static CCCAPEGUI& of(const ComPtr<ICCAPEGUI>& gui) { return *static_cast<CCCAPEGUI*>(gui.get()); }
    static void holdComponent(const ComPtr<ICCAPEGUI>& gui, IDispatch* component)
    {
        of(gui).component = ComPtr<IDispatch>(component);
    }
    static void setParentProgId(const ComPtr<ICCAPEGUI>& gui, const char* progId) { of(gui).parentProgID = progId; }
    static void setItemProgId(const ComPtr<ICCAPEGUI>& gui, const char* progId) { of(gui).itemProgID = progId; }
};

namespace {

using Access = CCCAPEGUITestAccess;

class ThermoBridge : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(S_OK, CCCAPEGUI::createInstance(nullptr, IID_ICCAPEGUI, gui.putVoid())); }

    CCOTHConfig& dialog()
    {
        INT_PTR address = 0;
        EXPECT_EQ(S_OK, gui->getThis(&address));
        return *reinterpret_cast<CCOTHConfig*>(address);
    }
    // ShowThermoGUI with drive given the dialog's window; false when no dialog came.
    bool showDriven(VARIANT_BOOL allowModifications, const std::function<void(HWND)>& drive,
                    MessageBoxDriver* boxes = nullptr, std::vector<std::string>* nested = nullptr)
    {
        bool shown = false;
        HRESULT hr = runDriven([&] { return gui->ShowThermoGUI(allowModifications); },
                               [&](HWND window) {
                                   shown = true;
                                   drive(window);
                               },
                               boxes, nested);
        EXPECT_EQ(hr, S_OK);
        return shown;
    }

    // Declared in this order so that the object goes first: it may still hold the
    // package, and its reports go to a trace file of the test's own.
    errortest::InstalledTrace trace{"QnCOGUI11"};
    TestPackage package;
    ComPtr<ICCAPEGUI> gui;
};

struct ThreeOptions {
    VARIANT_BOOL first = 7, second = 7, third = 7;
};

}  // namespace

TEST_F(ThermoBridge, OptionsKeepTheirArgumentOrderAndReadBackAsVariantBools)
{
    EXPECT_EQ(gui->setCompOptions(1, VARIANT_FALSE, VARIANT_TRUE), S_OK);
    EXPECT_EQ(dialog().allowSubsets, 1);
    EXPECT_EQ(dialog().treatAsHypos, -1) << "the host's value is kept as it came";
    ThreeOptions comp;
    EXPECT_EQ(gui->getCompOptions(&comp.first, &comp.second, &comp.third), S_OK);
    EXPECT_EQ(comp.first, VARIANT_TRUE) << "1 reads back as VARIANT_TRUE";
    EXPECT_EQ(comp.second, VARIANT_FALSE);
    EXPECT_EQ(comp.third, VARIANT_TRUE);

    EXPECT_EQ(gui->setRecovErrorsOptions(VARIANT_TRUE, VARIANT_FALSE, 1), S_OK);
    EXPECT_EQ(dialog().recovTrace, -1);
    EXPECT_EQ(dialog().recovLog, 0);
    EXPECT_EQ(dialog().recovPopUp, 1);
    ThreeOptions recov;
    EXPECT_EQ(gui->getRecovErrorsOptions(&recov.first, &recov.second, &recov.third), S_OK);
    EXPECT_EQ(recov.first, VARIANT_TRUE);
    EXPECT_EQ(recov.second, VARIANT_FALSE);
    EXPECT_EQ(recov.third, VARIANT_TRUE);

    EXPECT_EQ(gui->setCritErrorsOptions(VARIANT_FALSE, VARIANT_TRUE, VARIANT_FALSE), S_OK);
    EXPECT_EQ(dialog().critTrace, 0);
    EXPECT_EQ(dialog().critLog, -1);
    EXPECT_EQ(dialog().critPopUp, 0);
    ThreeOptions crit;
    EXPECT_EQ(gui->getCritErrorsOptions(&crit.first, &crit.second, &crit.third), S_OK);
    EXPECT_EQ(crit.first, VARIANT_FALSE);
    EXPECT_EQ(crit.second, VARIANT_TRUE);
    EXPECT_EQ(crit.third, VARIANT_FALSE);
    EXPECT_EQ(gui->getCritErrorsOptions(&crit.first, nullptr, &crit.third), E_POINTER);

    for (VARIANT_BOOL value : {VARIANT_BOOL(-1), VARIANT_BOOL(1), VARIANT_BOOL(0)}) {
        VARIANT_BOOL liquid2 = 7, order = 7;
        EXPECT_EQ(gui->put_requestLiquid2(value), S_OK);
        EXPECT_EQ(gui->put_doOrderPhases(value), S_OK);
        EXPECT_EQ(dialog().requestLiquid2, value ? 1 : 0) << "stored as 1 or 0";
        EXPECT_EQ(gui->get_requestLiquid2(&liquid2), S_OK);
        EXPECT_EQ(gui->get_doOrderPhases(&order), S_OK);
        EXPECT_EQ(liquid2, value ? VARIANT_TRUE : VARIANT_FALSE) << value;
        EXPECT_EQ(order, value ? VARIANT_TRUE : VARIANT_FALSE) << value;
    }
}

TEST_F(ThermoBridge, SimulatedDialogTakesItsOwnArgumentOrderAndIsNeverShown)
{
    MessageBoxDriver boxes;
    int dialogs = 0;
    boxes.onDialog([&](HWND window) {
        ++dialogs;
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    });
    EXPECT_EQ(gui->simulateThermoGUI(VARIANT_TRUE, VARIANT_FALSE, VARIANT_TRUE), S_OK);
    ThreeOptions comp;
    EXPECT_EQ(gui->getCompOptions(&comp.first, &comp.second, &comp.third), S_OK);
    EXPECT_EQ(comp.first, VARIANT_FALSE) << "allowSubsets is the second argument";
    EXPECT_EQ(comp.second, VARIANT_TRUE) << "freeCompounds is the first argument";
    EXPECT_EQ(comp.third, VARIANT_TRUE);
    EXPECT_EQ(gui->ShowThermoGUI(VARIANT_TRUE), S_OK);
    EXPECT_EQ(gui->ShowThermoGUI(VARIANT_FALSE), S_OK);
    EXPECT_EQ(dialogs, 0) << "a simulated dialog is never shown";
}

TEST_F(ThermoBridge, TextsPhaseTypesReportAndAddress)
{
    UniqueBstr socket;
    EXPECT_EQ(gui->get_socketVersion(socket.put()), S_OK);
    EXPECT_NE(socket.get(), nullptr) << "an empty version is an empty BSTR, not null";
    EXPECT_EQ(socket.length(), 0u);
    UniqueBstr version(L"2.1.7");
    EXPECT_EQ(gui->put_socketVersion(version.get()), S_OK);
    EXPECT_EQ(gui->get_socketVersion(socket.put()), S_OK);
    EXPECT_EQ(socket.text(), L"2.1.7");

    UniqueBstr a(L"a"), b(L"b");
    EXPECT_EQ(gui->traceReport(a.get(), VARIANT_FALSE), S_OK);
    EXPECT_EQ(gui->traceReport(b.get(), VARIANT_TRUE), S_OK);
    EXPECT_EQ(dialog().importReport, "ab\n");

    // A late-bound host passes its array by reference: the object keeps its own copy.
    {
        VariantHolder types = textArray({L"Vapor", L"Liquid"});
        VARIANT byReference;
        V_VT(&byReference) = VT_BYREF | VT_VARIANT;
        V_VARIANTREF(&byReference) = &types;
        EXPECT_EQ(gui->put_supportedPhaseTypes(byReference), S_OK);
    }
    VariantHolder copy;
    EXPECT_EQ(gui->get_supportedPhaseTypes(&copy), S_OK);
    EXPECT_EQ(V_VT(&copy), VT_ARRAY | VT_BSTR);
    EXPECT_EQ(arrayElementCount(copy), 2u);
    EXPECT_EQ(gui->get_supportedPhaseTypes(nullptr), E_POINTER);

    INT_PTR first = 0, second = 0;
    EXPECT_EQ(gui->getThis(&first), S_OK);
    EXPECT_EQ(gui->getThis(&second), S_OK);
    EXPECT_NE(first, 0);
    EXPECT_EQ(first, second) << "the same dialog for the object's whole life";
    EXPECT_NE(first, reinterpret_cast<INT_PTR>(&Access::of(gui))) << "the dialog's address, not the object's";
}

TEST_F(ThermoBridge, SetPPInfoGathersFromTheComponentOnlyForVersion110)
{
    Access::holdComponent(gui, package.dispatch());
    VariantHolder names = textArray({L"Water"}), matchedBy, mapping;

    EXPECT_EQ(gui->put_compCOversion(100), S_OK);
    EXPECT_EQ(gui->setPPInfo(&names, &matchedBy, &mapping), S_OK);
    EXPECT_TRUE(package.calls.empty()) << "a CAPE-OPEN 1.0 component is not asked";

    EXPECT_EQ(gui->put_compCOversion(110), S_OK);
    EXPECT_EQ(gui->setPPInfo(&names, &matchedBy, &mapping), S_OK);
    EXPECT_EQ(package.calls.size(), 8u);
    EXPECT_EQ(package.calls.front(), "GetNumPhases");

    EXPECT_TRUE(showDriven(VARIANT_TRUE, [&](HWND window) {
        EXPECT_EQ(listTexts(window, 7005), (std::vector<std::string>{"water", "methane", "ethane"}));
        EXPECT_EQ(listTexts(window, 278), (std::vector<std::string>{"Vapor phase", "Liquid phase"}));
        EXPECT_EQ(controlText(window, 7003), "") << "no alias given";
    }));

    // Back to a 1.0 component: the lists keep what the last gathering left.
    package.compoundIds = textArray({L"other"});
    EXPECT_EQ(gui->put_compCOversion(100), S_OK);
    EXPECT_EQ(gui->setPPInfo(&names, &matchedBy, &mapping), S_OK);
    EXPECT_TRUE(showDriven(VARIANT_TRUE, [&](HWND window) { EXPECT_EQ(listTexts(window, 7005).size(), 3u); }));

    gui = nullptr;
    EXPECT_EQ(package.references, 1u) << "the dialog gives back the package's interface with the object";
}

TEST_F(ThermoBridge, AFailedGatheringIsReportedWithThePackagesErrorAndReturned)
{
    MessageBoxDriver boxes;
    package.failingCalls["GetCompoundList"] = static_cast<HRESULT>(0x80040505);
    package.errorDescription = L"No compounds configured";
    Access::holdComponent(gui, package.dispatch());
    EXPECT_EQ(gui->put_compCOversion(110), S_OK);

    EXPECT_EQ(gui->setPPInfo(nullptr, nullptr, nullptr), static_cast<HRESULT>(0x80040505));
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().caption, "Pellamy's CAPE-OPEN tool");
    const std::string& text = boxes.last().text;
    EXPECT_NE(text.find("setPPInfo"), std::string::npos) << text;
    EXPECT_NE(text.find("could not be read"), std::string::npos) << text;
    EXPECT_NE(text.find("(No compounds configured: TestPackage)"), std::string::npos) << text;
    EXPECT_NE(trace.contents().find("could not be read"), std::string::npos) << "the report is traced";

    boxes.clear();
    Access::holdComponent(gui, nullptr);
    EXPECT_EQ(gui->setPPInfo(nullptr, nullptr, nullptr), E_POINTER) << "no component to read";
    EXPECT_EQ(boxes.count(), 1u);
}

TEST_F(ThermoBridge, TheDialogShowsAndStoresTheHostsOptions)
{
    EXPECT_EQ(gui->setCompOptions(VARIANT_TRUE, VARIANT_FALSE, VARIANT_TRUE), S_OK);
    EXPECT_TRUE(showDriven(VARIANT_FALSE, [&](HWND window) {
        selectTab(window, 1);
        EXPECT_TRUE(isShown(window, 207));
        EXPECT_FALSE(isEnabled(window, 207)) << "ShowThermoGUI(VARIANT_FALSE) allows no change";
        EXPECT_FALSE(isEnabled(window, 202));
        EXPECT_TRUE(isChecked(window, 207));
        click(window, 247);
    }));
    ThreeOptions comp;
    EXPECT_EQ(gui->getCompOptions(&comp.first, &comp.second, &comp.third), S_OK);
    EXPECT_EQ(comp.first, VARIANT_TRUE) << "OK without touching keeps the value (now 1)";
    EXPECT_EQ(comp.second, VARIANT_FALSE);
    EXPECT_EQ(comp.third, VARIANT_TRUE);
    EXPECT_EQ(dialog().allowSubsets, 1);

    // A change followed by Esc: the getters report the old value.
    EXPECT_TRUE(showDriven(VARIANT_TRUE, [&](HWND window) {
        selectTab(window, 1);
        EXPECT_TRUE(isEnabled(window, 207));
        click(window, 207);
        pressEscape(window);
    }));
    EXPECT_EQ(gui->getCompOptions(&comp.first, &comp.second, &comp.third), S_OK);
    EXPECT_EQ(comp.first, VARIANT_TRUE);
}

TEST_F(ThermoBridge, FlashTypesAndTheOwnSystemComeFromTheObject)
{
    MessageBoxDriver boxes;  // the first host check reads the compound list and may say so
    std::vector<VariantHolder> types;
    types.push_back(textValue(L"Vapor"));
    types.push_back(textValue(L"Liquid2"));
    types.push_back(textValue(L"Liquid"));
    EXPECT_EQ(gui->put_supportedPhaseTypes(variantArray(std::move(types))), S_OK);
    Access::setParentProgId(gui, "Vendor.cvcoproperties.PPManager.1");
    EXPECT_TRUE(showDriven(
        VARIANT_TRUE,
        [&](HWND window) {
            EXPECT_EQ(listTexts(window, 261), (std::vector<std::string>{"Liquid", "Liquid2", "Vapor"}));
            selectTab(window, 2);
            EXPECT_FALSE(isShown(window, 263)) << "this test program is not the maker's main simulator";
        },
        &boxes));
    EXPECT_TRUE(dialog().fromOwnPropertySystem) << "the parent ProgID names it in lower case";
}

TEST_F(ThermoBridge, CustomViewEditsOrExplainsWhyNot)
{
    MessageBoxDriver boxes;
    CCCAPEGUI& object = Access::of(gui);
    auto boxShown = [&](const char* expectedCode) {
        if (boxes.count() != 1)
            return testing::AssertionFailure() << boxes.count() << " boxes";
        const std::string text = boxes.last().text;
        boxes.clear();
        if (text.find("The component does not provide a Custom View.") == std::string::npos)
            return testing::AssertionFailure() << text;
        if (expectedCode && text.find(expectedCode) == std::string::npos)
            return testing::AssertionFailure() << "no " << expectedCode << " in " << text;
        return testing::AssertionSuccess();
    };

    EXPECT_EQ(object.showCustomView(), E_FAIL) << "no component";
    EXPECT_TRUE(boxShown(nullptr));

    Access::holdComponent(gui, package.dispatch());
    EXPECT_EQ(object.showCustomView(), S_OK);
    EXPECT_EQ(package.editCalls, 1);
    EXPECT_EQ(boxes.count(), 0u) << "an editor that worked needs no box";
    package.editResult = S_FALSE;
    EXPECT_EQ(object.showCustomView(), S_FALSE) << "nothing changed is still success";
    EXPECT_EQ(boxes.count(), 0u);

    package.failingCalls["Edit"] = static_cast<HRESULT>(0x8004050A);
    package.errorDescription = L"Editor crashed";
    EXPECT_EQ(object.showCustomView(), static_cast<HRESULT>(0x8004050A));
    EXPECT_TRUE(boxShown("(0x8004050A)"));
    package.failingCalls.clear();

    package.failingQueries["ICapeUtilities"] = E_ACCESSDENIED;
    EXPECT_EQ(object.showCustomView(), E_ACCESSDENIED);
    EXPECT_TRUE(boxShown("(0x80070005)"));
    package.failingQueries["ICapeUtilities"] = E_NOINTERFACE;
    EXPECT_EQ(object.showCustomView(), E_FAIL) << "a component without an editor";
    EXPECT_TRUE(boxShown(nullptr));
    package.failingQueries.clear();

    Access::setParentProgId(gui, "Vendor.CorVane.Manager");
    const int editsBefore = package.editCalls;
    EXPECT_EQ(object.showCustomView(), static_cast<HRESULT>(0x80040501));
    EXPECT_TRUE(boxShown(nullptr));
    EXPECT_EQ(package.editCalls, editsBefore) << "the maker's own packages are not asked";
}

TEST_F(ThermoBridge, CustomViewButtonAsksTheObjectAndItsBoxBelongsToTheDialog)
{
    MessageBoxDriver boxes;
    HWND shownDialog = nullptr;
    EXPECT_TRUE(showDriven(
        VARIANT_TRUE,
        [&](HWND window) {
            shownDialog = window;
            click(window, 262);
            EXPECT_TRUE(IsWindow(window));
        },
        &boxes));
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_NE(boxes.last().text.find("does not provide a Custom View"), std::string::npos);
    EXPECT_EQ(boxes.last().owner, shownDialog);
}

TEST_F(ThermoBridge, BrowseStaticInformationOpensTheComponentManagerOverTheDialog)
{
    MessageBoxDriver boxes;
    Access::setItemProgId(gui, "Vendor.SamplePackage.1");  // shown for information, not to be chosen
    std::vector<std::string> nested;
    EXPECT_TRUE(showDriven(
        VARIANT_TRUE,
        [&](HWND window) {
            click(window, 250);
            EXPECT_TRUE(IsWindow(window)) << "the package dialog stays open";
        },
        &boxes, &nested));
    EXPECT_EQ(nested, std::vector<std::string>{"Corvane Quillon CAPE-OPEN 1.1 Property Component Manager"});
}
