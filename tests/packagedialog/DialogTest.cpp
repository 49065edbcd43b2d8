// The package dialog as the user sees it: tabs, lists, texts, the windows opened over
// it; the host's side through ICCAPEGUI: options round trips, reported failures, the
// custom view.
#include <algorithm>
#include <array>

#include "PackageDialogTest.h"

namespace {

using Texts = std::vector<std::string>;

struct TabRow {
    const char* title;
    std::vector<int> controls;  // what the user works with on the tab
};

const TabRow kTabs[] = {{"General", {7001, 7003, 250, 262, 209}},
                        {"Components", {7005, 282, 283, 256, 284, 285, 207, 202}},
                        {"Properties", {231, 270, 272, 261, 264}}, {"Phases", {213, 274, 275, 278}},
                        {"About", {235, 251, 252, 253, 268, 266, 267}}};

struct VllRow { const char* parentProgId; bool mainSimulator, offered, hostChecked; };

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
    // Only a CAPE-OPEN 1.1 package is asked: the lists keep its first answer.
    for (long version : {110L, 100L, 1000L}) {
        holdPackage(version);
        ASSERT_EQ(gui->setPPInfo(nullptr, nullptr, nullptr), S_OK);
        package->compoundIds = textArray({L"other"});
    }
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
        EXPECT_EQ(gui->put_supportedPhaseTypes(byReference), E_POINTER) << "a reference to nothing is refused";
        V_VARIANTREF(&byReference) = &types;
        ASSERT_EQ(gui->put_supportedPhaseTypes(byReference), S_OK);
    }
    VariantHolder types;
    EXPECT_EQ(gui->get_supportedPhaseTypes(&types), S_OK);
    EXPECT_EQ(shownTexts(types), (Texts{"Vapor", "Liquid2", "Liquid"})) << "the object's own copy";
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
                                         VllRow{"CVCOProp.Manager", true, false, false}));

TEST_F(PackageDialogTest, ReadingThePackageAgainFromInsideItsOwnCallsIsRefused)
{
    holdPackage();
    bool calledBack = false;
    HRESULT nested = S_OK;
    package->describePhase = [&](const std::wstring& label) {
        if (!std::exchange(calledBack, true))
            nested = gui->setPPInfo(nullptr, nullptr, nullptr);
        return textValue((label + L" phase").c_str());
    };
    EXPECT_EQ(gui->setPPInfo(nullptr, nullptr, nullptr), S_OK) << "the outer reading goes on";
    EXPECT_EQ(nested, HRESULT_FROM_WIN32(ERROR_BUSY)) << "the nested one is refused";
    EXPECT_EQ(driver.boxes().last().text, "setPPInfo:  ERROR: The property package's data is being read; it cannot be "
                                          "read again from inside the package's own calls.\nResource in use.\r\n(0x800700AA)");
}

TEST_F(PackageDialogTest, ItsCustomViewButtonExplainsAMissingViewOverIt)
{
    HWND shown = nullptr;
    EXPECT_TRUE(show([&](HWND window) {
        shown = window;
        click(window, 262);
        EXPECT_TRUE(IsWindowVisible(window)) << "the button leaves the dialog open";
    }));
    ASSERT_EQ(driver.boxes().count(), 1u) << "the Custom View box";
    EXPECT_EQ(driver.boxes().last().text, " ERROR: The component does not provide a Custom View.") << "its text";
    EXPECT_EQ(driver.boxes().last().owner, shown) << "the box belongs to the dialog";
}

namespace {

using Options = std::array<VARIANT_BOOL, 3>;
using Setter = HRESULT (STDMETHODCALLTYPE ICCAPEGUI::*)(VARIANT_BOOL, VARIANT_BOOL, VARIANT_BOOL);
using Getter = HRESULT (STDMETHODCALLTYPE ICCAPEGUI::*)(VARIANT_BOOL*, VARIANT_BOOL*, VARIANT_BOOL*);
constexpr std::pair<Setter, Getter> kComp{&ICCAPEGUI::setCompOptions, &ICCAPEGUI::getCompOptions},
    kRecov{&ICCAPEGUI::setRecovErrorsOptions, &ICCAPEGUI::getRecovErrorsOptions},
    kCrit{&ICCAPEGUI::setCritErrorsOptions, &ICCAPEGUI::getCritErrorsOptions};

struct OptionRow {
    std::pair<Setter, Getter> options;
    int tab;
    std::array<int, 3> boxes;  // the check box of each option (0: not shown)
    Options hostSets, afterUserClicksEachBox;
    bool keys = false;  // ended by Enter and Escape, else by OK and the close box
};

class OptionRoundTrip : public PackageDialogTest, public testing::WithParamInterface<OptionRow> {};

const std::string kNotRead =
    "setPPInfo:  ERROR: The compounds, properties and phases of the property package could not be read.";
const std::string kNoCustomView = " ERROR: The component does not provide a Custom View.";
constexpr HRESULT kOwnSystem = HRESULT(0x80040501);  // ECapeUnknown: the maker's own packages have no custom view

struct ReportRow {
    const char *name, *parentProgId;
    bool customView, withComponent;  // custom view, else setPPInfo
    std::function<void(PackageDouble&)> arrange;
    HRESULT result;
    std::string box;  // "": none
    long edits;
};

class Reports : public PackageDialogTest, public testing::WithParamInterface<ReportRow> {};

}  // namespace

TEST_P(OptionRoundTrip, TheDialogShowsTheHostsOptionsOkStoresTheUsersCancelStoresNothing)
{
    const OptionRow& row = GetParam();
    ASSERT_EQ((gui.get()->*row.options.first)(row.hostSets[0], row.hostSets[1], row.hostSets[2]), S_OK);
    auto clickEachBox = [&](HWND window, const Options& shown) {
        selectTab(window, 7000, row.tab);
        for (size_t i = 0; i < 3; ++i) {
            if (row.boxes[i]) {
                EXPECT_EQ(isChecked(window, row.boxes[i]), shown[i] != F) << "box " << row.boxes[i] << " shows it";
                EXPECT_TRUE(isEnabled(window, row.boxes[i])) << "box " << row.boxes[i] << " open to the user";
                click(window, row.boxes[i]);
            }
        }
    };
    Options read{7, 7, 7};
    auto readBack = [&] { return (gui.get()->*row.options.second)(&read[0], &read[1], &read[2]); };
    EXPECT_TRUE(show([&](HWND window) {
        clickEachBox(window, row.hostSets);
        row.keys ? pressKey(window, VK_RETURN) : click(window, 247);
    }));
    ASSERT_EQ(readBack(), S_OK);
    EXPECT_EQ(read, row.afterUserClicksEachBox) << "OK or Enter stores what the user left; hidden options pass through";
    EXPECT_TRUE(show([&](HWND window) {
        clickEachBox(window, row.afterUserClicksEachBox);
        row.keys ? pressKey(window, VK_ESCAPE) : void(SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0));
    }));
    ASSERT_EQ(readBack(), S_OK);
    EXPECT_EQ(read, row.afterUserClicksEachBox) << "the close box (or Escape) stores nothing";
}

INSTANTIATE_TEST_SUITE_P(Table, OptionRoundTrip,
                         testing::Values(OptionRow{kComp, 1, {207, 0, 202}, {T, F, F}, {F, F, T}},
                                         OptionRow{kComp, 1, {207, 0, 202}, {F, 1, F}, {T, T, T}, true},
                                         OptionRow{kRecov, 4, {251, 252, 253}, {T, F, F}, {F, T, T}},
                                         OptionRow{kRecov, 4, {251, 252, 253}, {F, 1, F}, {T, F, T}, true},
                                         OptionRow{kCrit, 4, {268, 266, 267}, {T, F, F}, {F, T, T}}));

TEST_F(PackageDialogTest, ASimulatedDialogTakesItsOwnArgumentOrderAndIsNeverShown)
{
    ASSERT_EQ(gui->simulateThermoGUI(T, F, T), S_OK);
    Options comp{7, 7, 7};
    ASSERT_EQ(gui->getCompOptions(&comp[0], &comp[1], &comp[2]), S_OK);
    EXPECT_EQ(comp, (Options{F, T, T})) << "allowSubsets is the second argument, freeCompounds the first";
    EXPECT_FALSE(show([](HWND) {})) << "no dialog once the host simulates it";
    Options untouched{7, 7, 7};
    EXPECT_EQ(gui->getCritErrorsOptions(&untouched[0], nullptr, &untouched[2]), E_POINTER) << "a null out pointer";
    EXPECT_EQ(untouched, (Options{7, 7, 7})) << "nothing is written on failure";
}

TEST_P(Reports, ShowTheFailureWithItsCodeAndTheComponentsError)
{
    const ReportRow& row = GetParam();
    row.arrange(*package.get());
    holdPackage();
    if (!row.withComponent)
        Access::holdComponents(gui.get(), nullptr);
    Access::setParentProgId(gui.get(), row.parentProgId);
    const HRESULT result = row.customView ? Access::of(gui.get()).showCustomView() : gui->setPPInfo(0, 0, 0);
    EXPECT_EQ(result, row.result) << "the result";
    EXPECT_EQ(std::count(package->calls.begin(), package->calls.end(), "Edit"), row.edits) << "Edit calls";
    EXPECT_EQ(driver.boxes().texts(), row.box.empty() ? Texts{} : Texts{row.box}) << "a report of a failure only";
    for (const ShownBox& box : driver.boxes().boxes())
        EXPECT_TRUE(box.topmost() && !box.owner) << "system-modal without a host window";
}

INSTANTIATE_TEST_SUITE_P(
    Table, Reports,
    testing::Values(
        ReportRow{"FailingCall", "", false, true,
                  [](auto& p) { p.failCall("GetCompoundList", 0x80040505, L"No compounds configured"); },
                  HRESULT(0x80040505), kNotRead + "\n(No compounds configured: TestDouble)(0x80040505)", 0},
        ReportRow{"ErrorObjectNotVouchedFor", "", false, true,
                  [](auto& p) { p.refuse(IID_ISupportErrorInfo), p.failCall("GetNumPhases", E_OUTOFMEMORY); },
                  E_OUTOFMEMORY, kNotRead + "\nOut of memory.\r\n(0x8007000E)", 0},
        ReportRow{"NoComponentToRead", "", false, false, [](auto&) {}, E_POINTER, kNotRead + "(0x80004003)", 0},
        ReportRow{"NoComponentToEdit", "", true, false, [](auto&) {}, E_FAIL, kNoCustomView, 0},
        ReportRow{"Edits", "", true, true, [](auto&) {}, S_OK, "", 1},
        ReportRow{"NothingChanged", "", true, true, [](auto& p) { p.editResult = S_FALSE; }, S_FALSE, "", 1},
        ReportRow{"FailingEditor", "", true, true, [](auto& p) { p.failCall("Edit", 0x8004050A, L"Crashed"); },
                  HRESULT(0x8004050A), kNoCustomView + "\n(Crashed: TestDouble)(0x8004050A)", 1},
        ReportRow{"RefusedQuestion", "", true, true, [](auto& p) { p.refuse(IID_ICapeUtilities, E_ACCESSDENIED); },
                  E_ACCESSDENIED, kNoCustomView + "\nAccess denied.\r\n(0x80070005)", 0},
        ReportRow{"NoEditor", "", true, true, [](auto& p) { p.refuse(IID_ICapeUtilities); }, E_FAIL, kNoCustomView, 0},
        ReportRow{"CVCOProperties", "cvcoPROPERTIES.PP", true, true, [](auto&) {}, kOwnSystem, kNoCustomView, 0}),
    [](const testing::TestParamInfo<ReportRow>& info) { return std::string(info.param.name); });
