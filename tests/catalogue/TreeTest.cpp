// The tree for each filter, the information panel of the selected item, and faulty managers.
#include "CatalogueFixture.h"
#include "testkit/Controls.h"

using testkit::TreeNode;
using testkit::TreeView;

struct FilterRow {
    unsigned long filter;
    Lines categories;
    std::string settings;  // the module's settings file: what follows its section line
    bool coGentsShown = false;
};
using CategoriesOfAFilter = CatalogueTable<FilterRow>;

TEST_P(CategoriesOfAFilter, AreListedInTableOrderWithoutRecordsAndTheCOGentsButtonOnlyForTheSettingOne)
{
    const FilterRow& row = GetParam();
    const testkit::TemporaryFile ini(testkit::programFolder() + "\\catalogue_tests.ini", "[general]\n" + row.settings);
    ComponentManagerRun run(row.filter);
    TreeNode tree;
    bool shown = !row.coGentsShown;
    EXPECT_EQ(run([&](HWND dialog) { tree = TreeView(dialog).read(), shown = testkit::isShown(dialog, IDC_COGENTS); }),
              IDCANCEL)
        << "cancelled";
    EXPECT_EQ(tree.childLabels(), row.categories) << "the categories of the filter, in table order";
    EXPECT_EQ(shown, row.coGentsShown) << "the COGents button, with the settings " << row.settings;
    EXPECT_EQ(run.boxes().count(), 1u) << "no box but the question on cancelling";
}

INSTANTIATE_TEST_SUITE_P(
    Catalogue, CategoriesOfAFilter,
    ::testing::Values(FilterRow{32, {kUnitsCategory}, "COGents=1", true}, FilterRow{65536, {}, "COGents=yes"},
                      FilterRow{512, {kManagersCategory}, "COGents=2"}, FilterRow{33, {kUnitsCategory}, "COGents="},
                      FilterRow{1024, {kPackagesCategory}, "COGents=11"},
                      FilterRow{32 | 512 | 1024, {kUnitsCategory, kManagersCategory, kPackagesCategory}, ""}));

TEST_F(CatalogueTest, ListsComponentsByNameAndProgIDAndPackagesUnderTheirManagerAfterEveryRebuild)
{
    const InstalledCatalogue& it = installed();
    const int creations = it.manager.creations();
    ComponentManagerRun run(32 | 512 | 1024);
    TreeNode before, after;
    Lines categoryBox;
    run([&](HWND dialog) {
        before = TreeView(dialog).read();
        testkit::click(dialog, IDC_REFRESH);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_SHOW_PROGIDS, BN_CLICKED), 0);
        after = TreeView(dialog).read();
        char first[128] = {};
        SendDlgItemMessageA(dialog, IDC_CATEGORY_COMBO, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(first));
        categoryBox = {std::to_string(SendDlgItemMessageA(dialog, IDC_CATEGORY_COMBO, CB_GETCOUNT, 0, 0)), first};
    });
    const TreeNode* units = before.find({kUnitsCategory});
    ASSERT_NE(units, nullptr) << "the unit operations are listed";
    for (const TreeNode& unit : units->children)
        EXPECT_NE(unit.label.rfind("No ProgID", 0), 0u) << "a class without ProgID is left out";
    EXPECT_TRUE(units->expanded) << "inserted items are made visible, which expands their category";

    const TreeNode* manager = before.find(it.expand({kManagersCategory, "Thermo Manager [<manager>]"}));
    ASSERT_NE(manager, nullptr) << "the manager is listed by its Name and ProgID";
    EXPECT_EQ(manager->childLabels(), (Lines{"SRK", "Peng-Robinson [PR]", "Ideal"}))
        << "packages in the manager's order, by their own Name where they have one; none without a name";
    EXPECT_TRUE(manager->expanded) << "the packages are made visible";

    EXPECT_EQ(it.manager.creations() - creations, 3) << "the manager is created for each of the three listings";
    EXPECT_EQ(testkit::liveDoubles(), 0) << "and every manager released after each";
    EXPECT_EQ(after.childLabels(), before.childLabels()) << "Refresh and Show ProgIDs rebuild the same tree";
    EXPECT_EQ(after.labelsAt({kManagersCategory}), before.labelsAt({kManagersCategory})) << "the packages too";
    EXPECT_EQ(categoryBox, (Lines{"1", kManagersCategory})) << "the category box names the manager category once";
}

struct PanelRow {
    const char* item;
    testkit::LabelPath path;
    Lines panel;   // Description, CAPE-OPEN version, component version, vendor URL, About, CLSID
    int category;  // the category box's selection
};
using InformationPanel = CatalogueTable<PanelRow>;

TEST_P(InformationPanel, ShowsTheSelectedItemsRecord)
{
    const InstalledCatalogue& it = installed();
    ComponentManagerRun run(32 | 512 | 1024);
    run([&](HWND dialog) {
        TreeView(dialog).select(it.expand(GetParam().path));
        Lines shown;
        for (int id : {IDC_DESCRIPTION, IDC_CAPE_VERSION, IDC_COMPONENT_VERSION, IDC_VENDOR_URL, IDC_ABOUT, IDC_CLSID})
            shown.push_back(testkit::controlText(dialog, id));
        const Lines expected = it.expand(GetParam().panel);
        EXPECT_EQ(shown, expected) << "the record of the selected item";
        const bool record = !expected.back().empty();
        EXPECT_EQ(testkit::isEnabled(dialog, IDC_VENDOR_URL), record) << "the web buttons serve records only";
        EXPECT_EQ(testkit::isEnabled(dialog, IDC_COMPONENT_HELP), record) << "the help button too";
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_CATEGORY_COMBO, CB_GETCURSEL, 0, 0), GetParam().category)
            << "the category box shows the item's category";
    });
}

INSTANTIATE_TEST_SUITE_P(
    Catalogue, InformationPanel,
    ::testing::Values(
        PanelRow{"DescribedUnit", {kUnitsCategory, "Mixer [<mixer>]"},
                 {"Mixes streams", "1.0 ", "2.0", "http://mixer.example", "Mixer\r\nVersion 2\r\n(c) 100% %1\tby us.",
                  "<mixer-clsid>"},
                 CB_ERR},
        PanelRow{"UndescribedUnit", {kUnitsCategory, "<undescribed>"}, {"", "", "", "", "", "<undescribed-clsid>"},
                 CB_ERR},
        PanelRow{"Manager", {kManagersCategory, "Thermo Manager [<manager>]"},
                 {"Thermo server", "1.1", "3.1", "http://thermo.example", "Thermo about", "<manager-clsid>"}, 0},
        PanelRow{"Category", {kManagersCategory}, {"", "", "", "", "", ""}, 0}),
    [](const auto& info) { return std::string(info.param.item); });

// A listed name, or a list of names as an array of VARIANTs, in place of the array of BSTR.
testkit::Creator managerListing(bool inVariants)
{
    return testkit::creatorOf<ManagerDouble>([inVariants](ManagerDouble& made) {
        std::vector<VariantHolder> names;
        for (const wchar_t* name : {L"Faulty Package", L"Second Package"})
            names.push_back(testkit::textValue(name));
        made.list = inVariants ? testkit::variantArray(std::move(names)) : testkit::textValue(L"Faulty Package");
    });
}

struct FaultRow {
    const char* name;
    testkit::Creator create;
    Lines packages;
    std::string box;  // the failure's box before the question, <faulty> for the manager's ProgID
};
using FaultyManager = CatalogueTable<FaultRow>;

TEST_P(FaultyManager, IsListedWithWhatItOffersOrExplainedAndTheOthersStayComplete)
{
    const FaultRow& row = GetParam();
    const testkit::ServedClass fault({"QnTest.Faulty", {kManagerCatid}, {{"Name", "Faulty Manager"}}}, row.create);
    ComponentManagerRun run(512);
    TreeNode managers;
    run([&](HWND dialog) { managers = TreeView(dialog).node({kManagersCategory}); });
    EXPECT_EQ(managers.labelsAt({"Faulty Manager [" + fault.progId() + "]"}), row.packages) << "what it offers";
    EXPECT_EQ(managers.labelsAt({installed().expand("Thermo Manager [<manager>]")}).size(), 3u)
        << "the other managers are listed completely";
    ASSERT_EQ(run.boxes().count(), row.box.empty() ? 1u : 2u) << "the failure's box, if any, and the question";
    if (!row.box.empty()) {
        const ShownBox& box = run.boxes().boxes()[0];
        EXPECT_EQ(box.text, testkit::replaced(row.box, {{"<faulty>", fault.progId()}}));
        EXPECT_EQ(box.ownerCaption, "Corvane Quillon CAPE-OPEN 1.1 Property Component Manager")
            << "owned by the running dialog, which is still being filled";
    }
    ComPtr<IErrorInfo> stale;
    EXPECT_NE(GetErrorInfo(0, stale.put()), S_OK) << "no error object is left for a later failure to show";
    EXPECT_EQ(testkit::liveDoubles(), 0) << "every manager object is released";
}

INSTANTIATE_TEST_SUITE_P(
    Catalogue, FaultyManager,
    ::testing::Values(
        FaultRow{"CreationFails", testkit::failingCreator(0x80040503, L"No licence on this machine."), {},
                 "Error creating interface 'IUnknown' for class '<faulty>' context 23\n<No system message defined> "
                 "severity: SEVERITY_ERROR, facility: FACILITY_ITF ($80040503)"},
        FaultRow{"ListThrows", testkit::creatorOf<ManagerDouble>([](ManagerDouble& made) {
                     made.misbehave("GetPropertyPackageList", {testkit::Misbehaviour::Throws});
                 }),
                 {}, " ERROR: CCapeOpenDlg::DisplayPropertyPackageManagerPropPacks. PropertyPackageManager: <faulty>, "
                     "propPackage: \n(The component failed inside GetPropertyPackageList (exception 0x20474343): "
                     "QnCOGUI11)(0x80010105)"},
        FaultRow{"EmptyList", testkit::creatorOf<ManagerDouble>(std::vector<std::wstring>{}),
                 {"No CAPE-OPEN Property Packages currently available"}, ""},
        FaultRow{"OnePackage", testkit::creatorOf<ManagerDouble>(), {"Only Package"}, ""},
        FaultRow{"ListFails", testkit::creatorOf<ManagerDouble>(std::vector<std::wstring>{}, S_OK, E_FAIL), {}, ""},
        FaultRow{"ListNotArray", managerListing(false), {}, ""},
        FaultRow{"ListOfVariants", managerListing(true), {"Faulty Package", "Second Package"}, ""},
        FaultRow{"WithoutManagerInterface", testkit::creatorOf<ManagerDouble>(std::vector<std::wstring>{}, E_NOINTERFACE),
                 {"Object does not support ICapeThermoPropertyPackageManager interface"}, ""},
        FaultRow{"ManagerInterfaceWithoutObject", testkit::creatorOf<ManagerDouble>([](ManagerDouble& made) {
                     made.answerWithoutObject(IID_ICapeThermoPropertyPackageManager);
                 }),
                 {"Object does not support ICapeThermoPropertyPackageManager interface"}, ""}),
    [](const auto& info) { return std::string(info.param.name); });
