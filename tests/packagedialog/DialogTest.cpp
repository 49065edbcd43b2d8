// The package dialog as the user sees it: tabs, lists, texts, the windows opened over it.
#include "PackageDialogTest.h"

namespace {

struct TabRow {
    const char* title;
    std::vector<int> controls;  // what the user works with on the tab
};

const TabRow kTabs[] = {{"General", {7001, 7003, 250, 262, 209}},
                        {"Components", {7005, 282, 283, 256, 284, 285, 207, 202}},
                        {"Properties", {231, 270, 272, 261, 264}}, {"Phases", {213, 274, 275, 278}},
                        {"About", {235, 251, 252, 253, 268, 266, 267}}};

struct VllRow {
    const char* parentProgId;
    bool mainSimulator, offered, hostChecked;
};

class VllRequest : public PackageDialogTest, public testing::WithParamInterface<VllRow> {};

}  // namespace

TEST_F(PackageDialogTest, ShowsOneTabAtATimeWithTheCompoundOptionsClosedWithoutModifications)
{
    ASSERT_EQ(gui->put_requestLiquid2(T) | gui->put_doOrderPhases(1), S_OK);
    auto drive = [&](HWND window) {
        EXPECT_EQ(windowText(window), "CAPE-OPEN Property Package Detailed Information") << "the caption";
        HWND tabs = GetDlgItem(window, 7000);
        EXPECT_EQ(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0), 5) << "five tabs";
        for (int shown : {0, 3, 1, 4, 2}) {  // the dialog opens on General
            if (shown > 0)
                selectTab(window, 7000, shown);
            char title[32] = {};
            TCITEMA tab{TCIF_TEXT, 0, 0, title, sizeof title, 0, 0};
            SendMessageA(tabs, TCM_GETITEMA, static_cast<WPARAM>(shown), reinterpret_cast<LPARAM>(&tab));
            EXPECT_STREQ(title, kTabs[shown].title) << "the title of tab " << shown;
            for (const TabRow& each : kTabs)
                for (int id : each.controls)
                    EXPECT_EQ(isShown(window, id), &each == &kTabs[shown]) << id << " of " << each.title << " shown";
            EXPECT_FALSE(isShown(window, 205) || isShown(window, 263)) << "never shown here: 205, 263";
        }
        EXPECT_FALSE(isEnabled(window, 207) || isEnabled(window, 202)) << "ShowThermoGUI(false): no compound change";
        EXPECT_TRUE(isEnabled(window, 264) && isChecked(window, 264)) << "the phase order shows, open to change";
        click(window, 264);
        click(window, 247);
    };
    EXPECT_TRUE(show(drive, F));
    VARIANT_BOOL liquid2 = 7, order = 7;
    ASSERT_EQ(gui->get_requestLiquid2(&liquid2) | gui->get_doOrderPhases(&order), S_OK);
    EXPECT_TRUE(liquid2 == T && order == F) << "the hidden VLL request passes through, the phase order is changed";
}

TEST_F(PackageDialogTest, ListsThePackageAndTheHostsTexts)
{
    package->molecularWeights = doubleArray({18.01528, 100, 30.07});
    for (long version : {110L, 100L, 1000L}) {
        holdPackage(version);
        ASSERT_EQ(gui->setPPInfo(nullptr, nullptr, nullptr), S_OK);
        package->compoundIds = textArray({L"other"});
    }
    EXPECT_EQ(package->calls.size(), 8u) << "only a CAPE-OPEN 1.1 package is asked; the others keep the lists";
    for (auto [text, newLine] : {std::pair{L"first line", T}, {L"second ", F}, {L"line", T}})
        ASSERT_EQ(gui->traceReport(UniqueBstr(text).get(), newLine), S_OK);
    ASSERT_EQ(gui->setAlias(UniqueBstr(L"My package").get(), UniqueBstr(L"My system").get()), S_OK);
    UniqueBstr version;
    EXPECT_TRUE(gui->get_socketVersion(version.put()) == S_OK && version.get()) << "an empty BSTR, not null";
    ASSERT_EQ(gui->put_socketVersion(UniqueBstr(L"2.3.1").get()), S_OK);
    {
        // A late-bound host passes its array by reference: the object keeps a copy.
        VariantHolder types = textArray({L"Vapor", L"Liquid2", L"Liquid"});
        VARIANT byReference{};
        V_VT(&byReference) = VT_BYREF | VT_VARIANT;
        V_VARIANTREF(&byReference) = &types;
        ASSERT_EQ(gui->put_supportedPhaseTypes(byReference), S_OK);
    }
    const std::pair<int, std::vector<std::string>> lists[] = {  // properties: unsorted, flash types (261): sorted
        {7005, {"water", "methane", "ethane"}}, {282, {"H2O", "CH4", "C2H6"}}, {283, {"Water", "Methane", "Ethane"}},
        {256, {"7732-18-5", "74-82-8", "74-84-0"}}, {284, {"18.01528", "100.", "30.07"}},
        {285, {"373.15", "111.66", "184.55"}}, {272, {"molecularWeight", "criticalTemperature"}},
        {231, {"enthalpy", "density", "fugacityCoefficient"}}, {270, {"kvalue", "surfaceTension"}},
        {213, {"Vapor", "Liquid"}}, {274, {"Vapor", "Liquid"}}, {275, {"", "water"}},
        {278, {"Vapor phase", "Liquid phase"}}, {261, {"Liquid", "Liquid2", "Vapor"}}};
    EXPECT_TRUE(show([&](HWND window) {
        for (const auto& [id, texts] : lists)
            EXPECT_EQ(listTexts(window, id), texts) << "the entries of list " << id;
        EXPECT_EQ(controlText(window, 209), "first line\r\nsecond line\r\n") << "the import report, line by line";
        EXPECT_TRUE(GetWindowLongA(GetDlgItem(window, 209), GWL_STYLE) & ES_READONLY) << "a read-only report";
        EXPECT_EQ(controlText(window, 7003), "My package") << "the package's alias";
        EXPECT_EQ(controlText(window, 7001), "My system") << "the property system's alias";
        EXPECT_FALSE(isEnabled(window, 7003) || isEnabled(window, 7001)) << "the aliases cannot be edited";
        EXPECT_EQ(controlText(window, 235), "2.3.1") << "the socket version";
    }));
}

TEST_P(VllRequest, IsOfferedOnlyForTheOwnSystemInsideTheMainSimulator)
{
    const VllRow& row = GetParam();
    Access::setParentProgId(gui.get(), row.parentProgId);
    INT_PTR dialog = 0;  // getThis: the host reaches the dialog itself
    ASSERT_EQ(gui->getThis(&dialog), S_OK);
    int hostChecks = 0;
    reinterpret_cast<CCOTHConfig*>(dialog)->setHostCheck([&] { return ++hostChecks, row.mainSimulator; });
    EXPECT_TRUE(show([&](HWND window) {
        selectTab(window, 7000, 2);
        EXPECT_EQ(isShown(window, 263), row.offered) << "the VLL request on the Properties tab";
    }));
    EXPECT_EQ(hostChecks > 0, row.hostChecked) << "the host is checked for the maker's own packages only";
}

INSTANTIATE_TEST_SUITE_P(Table, VllRequest,
                         testing::Values(VllRow{"cvcoproperties.PPManager.1", false, false, true},
                                         VllRow{"Vendor.CORVANE.Manager", true, true, true},
                                         VllRow{"CVCOProp.Manager", true, false, false},
                                         VllRow{"", true, false, false}));

TEST_F(PackageDialogTest, ItsButtonsOpenTheirWindowsOverIt)
{
    // A package as the Component Manager chose it: shown there for information only.
    Access::chooseItem(gui.get(), "Vendor.SamplePackage.1", "", "1.1", 110, 65536);
    HWND shown = nullptr;
    EXPECT_TRUE(show([&](HWND window) {
        shown = window;
        click(window, 262);
        click(window, 250);
        EXPECT_TRUE(IsWindow(window)) << "the buttons leave the dialog open";
    }));
    ASSERT_GE(driver.boxes().count(), 1u) << "the Custom View box first (the Component Manager may add its own)";
    EXPECT_EQ(driver.boxes().boxes()[0].text, " ERROR: The component does not provide a Custom View.") << "its text";
    EXPECT_EQ(driver.boxes().boxes()[0].owner, shown) << "the box belongs to the dialog";
    EXPECT_EQ(driver.nestedCaptions(),
              std::vector<std::string>{"Corvane Quillon CAPE-OPEN 1.1 Property Component Manager"})
        << "the Component Manager opens over the dialog";
}
