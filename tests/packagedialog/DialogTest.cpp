#include <gtest/gtest.h>

#include "DialogDriver.h"
#include "TestArrays.h"
#include "TestPackage.h"
#include "packagedialog/CCOTHConfig.h"

using namespace packagetest;

namespace {

// The controls of each tab, by the numbers hosts know them by.
const std::vector<std::vector<int>> kTabControls = {
    {236, 7001, 237, 7003, 250, 262, 238, 209},
    {257, 7005, 280, 282, 281, 283, 258, 256, 286, 284, 287, 285, 207, 202},
    {239, 231, 271, 270, 273, 272, 260, 261, 264},
    {240, 213, 276, 274, 277, 275, 279, 278},
    {241, 242, 243, 235, 244, 245, 246, 254, 251, 252, 253, 265, 268, 266, 267}};
const std::vector<int> kPackageLists = {7005, 282, 283, 256, 284, 285, 231, 270, 272, 213, 274, 275, 278};

class TestOwner : public PackageDialogOwner {
public:
    std::string parentProgId;
    VariantHolder phaseTypes;
    int staticInfoShown = 0;
    int customViewShown = 0;

    std::string parentProgIdOfPackage() override { return parentProgId; }
    void copySupportedPhaseTypes(VariantHolder& out) override { VariantCopy(out.put(), &phaseTypes); }
    void showStaticInfoView() override { ++staticInfoShown; }
    HRESULT showCustomView() override
    {
        ++customViewShown;
        return S_OK;
    }
};

INT_PTR showDriven(CCOTHConfig& dialog, const std::function<void(HWND)>& drive)
{
    return runDriven([&] { return dialog.show(nullptr); }, drive);
}

// Every option field set to value.
void setAllOptions(CCOTHConfig& dialog, int value)
{
    for (int* option : {&dialog.allowSubsets, &dialog.freeCompounds, &dialog.treatAsHypos, &dialog.recovLog,
                        &dialog.recovPopUp, &dialog.recovTrace, &dialog.requestLiquid2, &dialog.doOrderPhases,
                        &dialog.critPopUp, &dialog.critLog, &dialog.critTrace})
        *option = value;
}

}  // namespace

TEST(PackageDialog, OpensOnTheGeneralTabAndShowsOneTabAtATime)
{
    CCOTHConfig dialog;
    bool opened = false;
    showDriven(dialog, [&](HWND window) {
        opened = true;
        char caption[128] = {};
        GetWindowTextA(window, caption, sizeof caption);
        EXPECT_STREQ(caption, "CAPE-OPEN Property Package Detailed Information");

        HWND tabs = GetDlgItem(window, 7000);
        ASSERT_EQ(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0), 5);
        const char* titles[] = {"General", "Components", "Properties", "Phases", "About"};
        for (int i = 0; i < 5; ++i) {
            char title[32] = {};
            TCITEMA tab{};
            tab.mask = TCIF_TEXT;
            tab.pszText = title;
            tab.cchTextMax = sizeof title;
            SendMessageA(tabs, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&tab));
            EXPECT_STREQ(title, titles[i]);
        }
        EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 0);

        for (int shownTab : {0, 3, 1, 4, 2}) {
            if (shownTab != 0)
                selectTab(window, shownTab);
            for (size_t tab = 0; tab < kTabControls.size(); ++tab)
                for (int id : kTabControls[tab])
                    EXPECT_EQ(isShown(window, id), int(tab) == shownTab)
                        << "control " << id << " with tab " << shownTab << " selected";
            EXPECT_FALSE(isShown(window, 205)) << "free compound selection is never shown";
            EXPECT_FALSE(isShown(window, 263)) << "no VLL request outside the maker's own system";
            EXPECT_TRUE(isShown(window, 247)) << "OK is always shown";
            EXPECT_TRUE(isShown(window, 7000));
        }
        EXPECT_EQ(controlText(window, 245), "1.1");
        EXPECT_EQ(controlText(window, 243), "CAPE-OPEN Veltrix Socket");
        EXPECT_EQ(controlText(window, 247), "&OK");
    });
    EXPECT_TRUE(opened);
}

TEST(PackageDialog, ListsShowThePackageDataRowByRow)
{
    TestPackage package;
    package.molecularWeights = doubleArray({18.01528, 100, 30.07});
    package.describePhase = [](const std::wstring&) { return VariantHolder(); };  // no descriptions
    CCOTHConfig dialog;
    ASSERT_EQ(dialog.gatherPackageData(package.unknown(), nullptr, nullptr, nullptr, 110), S_OK);

    showDriven(dialog, [&](HWND window) {
        EXPECT_EQ(listTexts(window, 7005), (std::vector<std::string>{"water", "methane", "ethane"}));
        EXPECT_EQ(listTexts(window, 282), (std::vector<std::string>{"H2O", "CH4", "C2H6"}));
        EXPECT_EQ(listTexts(window, 283), (std::vector<std::string>{"Water", "Methane", "Ethane"}));
        EXPECT_EQ(listTexts(window, 256), (std::vector<std::string>{"7732-18-5", "74-82-8", "74-84-0"}));
        EXPECT_EQ(listTexts(window, 284), (std::vector<std::string>{"18.01528", "100.", "30.07"}));
        EXPECT_EQ(listTexts(window, 285), (std::vector<std::string>{"373.15", "111.66", "184.55"}));
        EXPECT_EQ(listTexts(window, 272), (std::vector<std::string>{"molecularWeight", "criticalTemperature"}));
        EXPECT_EQ(listTexts(window, 231), (std::vector<std::string>{"enthalpy", "density", "fugacityCoefficient"}))
            << "package order, not sorted";
        EXPECT_EQ(listTexts(window, 270), (std::vector<std::string>{"kvalue", "surfaceTension"}));
        EXPECT_EQ(listTexts(window, 213), (std::vector<std::string>{"Vapor", "Liquid"}));
        EXPECT_EQ(listTexts(window, 274), (std::vector<std::string>{"Vapor", "Liquid"}));
        EXPECT_EQ(listTexts(window, 275), (std::vector<std::string>{"", "water"}));
        EXPECT_EQ(listTexts(window, 278), (std::vector<std::string>{"", ""})) << "one empty entry per phase";
    });

    // A version other than 1.1 leaves the lists as the last gathering made them.
    package.compoundIds = textArray({L"other"});
    ASSERT_EQ(dialog.gatherPackageData(package.unknown(), nullptr, nullptr, nullptr, 100), S_OK);
    showDriven(dialog, [&](HWND window) { EXPECT_EQ(listTexts(window, 7005).size(), 3u); });
}

TEST(PackageDialog, FlashTypesComeSortedFromTheOwnerAndOtherListsStartEmpty)
{
    TestOwner owner;
    owner.phaseTypes = textArray({L"Vapor", L"Liquid", L"Solid"});
    CCOTHConfig dialog;
    dialog.owner = &owner;
    showDriven(dialog, [&](HWND window) {
        EXPECT_EQ(listTexts(window, 261), (std::vector<std::string>{"Liquid", "Solid", "Vapor"}));
        for (int id : kPackageLists)
            EXPECT_TRUE(listTexts(window, id).empty()) << "list " << id << " before any gathering";
    });

    owner.phaseTypes = VariantHolder();
    showDriven(dialog, [&](HWND window) { EXPECT_TRUE(listTexts(window, 261).empty()); });

    owner.phaseTypes = longArray({1, 2});
    dialog.packageData.compoundIds = longArray({4, 5, 6});
    showDriven(dialog, [&](HWND window) {
        EXPECT_EQ(listTexts(window, 261), (std::vector<std::string>{"", ""}));
        EXPECT_EQ(listTexts(window, 7005), (std::vector<std::string>{"", "", ""}))
            << "elements that are neither texts nor doubles show empty";
    });
}

TEST(PackageDialog, OkWithoutTouchingStoresOneForEveryTrueOption)
{
    CCOTHConfig dialog;
    setAllOptions(dialog, -1);
    dialog.treatAsHypos = 0;
    dialog.critLog = 0;
    EXPECT_EQ(showDriven(dialog, [&](HWND window) {
                  EXPECT_TRUE(isChecked(window, 207)) << "-1 shows checked";
                  EXPECT_FALSE(isChecked(window, 202));
                  click(window, 247);
              }),
              IDOK);
    EXPECT_EQ(dialog.allowSubsets, 1);
    EXPECT_EQ(dialog.freeCompounds, 1) << "the hidden box passes its value through";
    EXPECT_EQ(dialog.treatAsHypos, 0);
    EXPECT_EQ(dialog.recovTrace, 1);
    EXPECT_EQ(dialog.requestLiquid2, 1) << "the hidden VLL box passes its value through";
    EXPECT_EQ(dialog.critLog, 0);
    EXPECT_EQ(dialog.critTrace, 1);
}

TEST(PackageDialog, OkStoresWhatTheUserChanged)
{
    CCOTHConfig dialog;
    dialog.allowSubsets = -1;
    dialog.importReport = "imported\n";
    showDriven(dialog, [&](HWND window) {
        selectTab(window, 1);
        click(window, 207);
        selectTab(window, 4);
        click(window, 251);
        click(window, 267);
        click(window, 247);
    });
    EXPECT_EQ(dialog.allowSubsets, 0);
    EXPECT_EQ(dialog.recovTrace, 1);
    EXPECT_EQ(dialog.critPopUp, 1);
    EXPECT_EQ(dialog.recovLog, 0);
    EXPECT_EQ(dialog.importReport, "imported\n") << "the report keeps its own line ends";

    // The next showing starts from the stored values.
    showDriven(dialog, [&](HWND window) {
        EXPECT_FALSE(isChecked(window, 207));
        EXPECT_TRUE(isChecked(window, 251));
    });
}

TEST(PackageDialog, EscAndTheCloseBoxStoreNothing)
{
    for (bool closeBox : {false, true}) {
        SCOPED_TRACE(closeBox ? "close box" : "Esc");
        CCOTHConfig dialog;
        dialog.allowSubsets = -1;
        dialog.doOrderPhases = 1;
        const INT_PTR result = showDriven(dialog, [&](HWND window) {
            selectTab(window, 1);
            click(window, 207);
            selectTab(window, 2);
            click(window, 264);
            selectTab(window, 4);
            click(window, 268);
            if (closeBox)
                pressCloseBox(window);
            else
                pressEscape(window);
        });
        EXPECT_EQ(result, IDCANCEL);
        EXPECT_EQ(dialog.allowSubsets, -1) << "the field keeps the host's value, not even 1";
        EXPECT_EQ(dialog.doOrderPhases, 1);
        EXPECT_EQ(dialog.critTrace, 0);
    }
}

TEST(PackageDialog, WithoutModificationsTheCompoundOptionsAreShownDisabled)
{
    CCOTHConfig dialog;
    dialog.allowModifications = 0;
    dialog.allowSubsets = -1;
    dialog.freeCompounds = -1;
    showDriven(dialog, [&](HWND window) {
        selectTab(window, 1);
        for (int id : {207, 202}) {
            EXPECT_TRUE(isShown(window, id)) << id;
            EXPECT_FALSE(isEnabled(window, id)) << id;
        }
        EXPECT_FALSE(isEnabled(window, 205));
        EXPECT_TRUE(isEnabled(window, 264)) << "the other options stay open";
        click(window, 247);
    });
    EXPECT_NE(dialog.allowSubsets, 0);
    EXPECT_NE(dialog.freeCompounds, 0);
    EXPECT_EQ(dialog.treatAsHypos, 0);

    dialog.allowModifications = 1;
    showDriven(dialog, [&](HWND window) {
        for (int id : {207, 202, 205})
            EXPECT_TRUE(isEnabled(window, id)) << id;
    });
}

TEST(PackageDialog, VllRequestOnlyForTheOwnSystemInsideTheMainSimulator)
{
    const struct {
        const char* parent;
        bool mainSimulator;
        bool ownSystem;
        bool shown;
        bool hostAsked;
    } cases[] = {
        {"cvcoproperties.PPManager.1", false, true, false, true},
        {"Vendor.CORVANE.Manager", true, true, true, true},
        {"Other.PPManager.1", true, false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.parent);
        TestOwner owner;
        owner.parentProgId = c.parent;
        CCOTHConfig dialog;
        dialog.owner = &owner;
        int hostChecks = 0;
        dialog.setHostCheck([&] {
            ++hostChecks;
            return c.mainSimulator;
        });
        showDriven(dialog, [&](HWND window) {
            EXPECT_FALSE(isShown(window, 263)) << "not on the General tab";
            selectTab(window, 2);
            EXPECT_EQ(isShown(window, 263), c.shown);
            EXPECT_TRUE(isShown(window, 264));
        });
        EXPECT_EQ(dialog.fromOwnPropertySystem, c.ownSystem);
        EXPECT_EQ(hostChecks > 0, c.hostAsked);
    }
}

TEST(PackageDialog, ShowsTheTextsReadOnlyAndTheButtonsReachTheOwner)
{
    TestOwner owner;
    CCOTHConfig dialog;
    dialog.owner = &owner;
    dialog.importReport = "first line\nsecond line\n";
    dialog.itemAlias = "My package";
    dialog.parentAlias = "My system";
    dialog.socketVersion = "2.3.1";
    showDriven(dialog, [&](HWND window) {
        EXPECT_EQ(controlText(window, 209), "first line\r\nsecond line\r\n");
        EXPECT_TRUE(GetWindowLongA(GetDlgItem(window, 209), GWL_STYLE) & ES_READONLY);
        EXPECT_EQ(controlText(window, 7003), "My package");
        EXPECT_EQ(controlText(window, 7001), "My system");
        EXPECT_FALSE(isEnabled(window, 7001));
        EXPECT_FALSE(isEnabled(window, 7003));
        EXPECT_EQ(controlText(window, 235), "2.3.1");

        click(window, 250);
        EXPECT_EQ(owner.staticInfoShown, 1);
        click(window, 262);
        EXPECT_EQ(owner.customViewShown, 1);
        EXPECT_TRUE(IsWindow(window)) << "the buttons leave the dialog open";
        click(window, 247);
    });
    EXPECT_EQ(dialog.importReport, "first line\nsecond line\n");
    EXPECT_EQ(dialog.socketVersion, "2.3.1");
}
