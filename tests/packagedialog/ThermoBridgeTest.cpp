// The host's side through ICCAPEGUI: options round trips, reported failures, the custom view.
#include <algorithm>
#include <array>

#include "PackageDialogTest.h"

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
        click(window, 247);
    }));
    ASSERT_EQ(readBack(), S_OK);
    EXPECT_EQ(read, row.afterUserClicksEachBox) << "OK stores what the user left; hidden options pass through";
    EXPECT_TRUE(show([&](HWND window) {
        clickEachBox(window, row.afterUserClicksEachBox);
        SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    }));
    ASSERT_EQ(readBack(), S_OK);
    EXPECT_EQ(read, row.afterUserClicksEachBox) << "the close box stores nothing";
}

INSTANTIATE_TEST_SUITE_P(Table, OptionRoundTrip,
                         testing::Values(OptionRow{kComp, 1, {207, 0, 202}, {T, F, F}, {F, F, T}},
                                         OptionRow{kComp, 1, {207, 0, 202}, {F, 1, F}, {T, T, T}},
                                         OptionRow{kRecov, 4, {251, 252, 253}, {T, F, F}, {F, T, T}},
                                         OptionRow{kRecov, 4, {251, 252, 253}, {F, 1, F}, {T, F, T}},
                                         OptionRow{kCrit, 4, {268, 266, 267}, {T, F, F}, {F, T, T}},
                                         OptionRow{kCrit, 4, {268, 266, 267}, {F, T, F}, {T, F, T}}));

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
    ASSERT_EQ(driver.boxes().count(), row.box.empty() ? 0u : 1u) << "one box for a failure, none otherwise";
    if (row.box.empty())
        return;
    const ShownBox& box = driver.boxes().last();
    EXPECT_EQ(box.caption, "Pellamy's CAPE-OPEN tool") << "the report's caption";
    EXPECT_EQ(box.text, row.box) << "the report's text";
    EXPECT_TRUE(box.topmost() && !box.owner) << "system-modal without a host window";
    EXPECT_NE(trace.added().find(row.box.substr(0, row.box.find('\n'))), std::string::npos) << "traced";
}

INSTANTIATE_TEST_SUITE_P(
    Table, Reports,
    testing::Values(
        ReportRow{"FailingCall", "", false, true,
                  [](auto& p) { p.failCall("GetCompoundList", 0x80040505, L"No compounds configured"); },
                  HRESULT(0x80040505), kNotRead + "\n(No compounds configured: PackageDouble)(0x80040505)", 0},
        ReportRow{"ErrorObjectNotVouchedFor", "", false, true,
                  [](auto& p) { p.refuse(IID_ISupportErrorInfo), p.failCall("GetNumPhases", E_OUTOFMEMORY); },
                  E_OUTOFMEMORY, kNotRead + "\nOut of memory.\r\n(0x8007000E)", 0},
        ReportRow{"NoComponentToRead", "", false, false, [](auto&) {}, E_POINTER, kNotRead + "(0x80004003)", 0},
        ReportRow{"NoComponentToEdit", "", true, false, [](auto&) {}, E_FAIL, kNoCustomView, 0},
        ReportRow{"Edits", "", true, true, [](auto&) {}, S_OK, "", 1},
        ReportRow{"NothingChanged", "", true, true, [](auto& p) { p.editResult = S_FALSE; }, S_FALSE, "", 1},
        ReportRow{"FailingEditor", "", true, true, [](auto& p) { p.failCall("Edit", 0x8004050A, L"Crashed"); },
                  HRESULT(0x8004050A), kNoCustomView + "\n(Crashed: PackageDouble)(0x8004050A)", 1},
        ReportRow{"RefusedQuestion", "", true, true, [](auto& p) { p.refuse(IID_ICapeUtilities, E_ACCESSDENIED); },
                  E_ACCESSDENIED, kNoCustomView + "\nAccess denied.\r\n(0x80070005)", 0},
        ReportRow{"NoEditor", "", true, true, [](auto& p) { p.refuse(IID_ICapeUtilities); }, E_FAIL, kNoCustomView, 0},
        ReportRow{"Corvane", "Vendor.CorVane.Manager", true, true, [](auto&) {}, kOwnSystem, kNoCustomView, 0},
        ReportRow{"CVCOProperties", "cvcoPROPERTIES.PP", true, true, [](auto&) {}, kOwnSystem, kNoCustomView, 0}),
    [](const testing::TestParamInfo<ReportRow>& info) { return std::string(info.param.name); });
