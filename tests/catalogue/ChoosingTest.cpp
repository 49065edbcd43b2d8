// Choosing in the Component Manager: which items may be accepted; the questions on Accept and Cancel.
#include "CatalogueFixture.h"
#include "testkit/Controls.h"

using testkit::TreeView;

static const std::string kTryAgain = "No component was selected. Do you want to try again?";

struct ChoiceRow {
    const char* name;
    unsigned long filter, ownerFilter;
    testkit::LabelPath path;
    std::string chosen;  // empty: not acceptable
};
using Acceptance = CatalogueTable<ChoiceRow>;

TEST_P(Acceptance, HandsBackTheItemOrAsksToTryAgain)
{
    const ChoiceRow& row = GetParam();
    ComponentManagerRun run(row.filter, row.ownerFilter);
    run.driver.answerNextBox(IDNO);  // No to "try again?" closes the dialog without a component
    HWND shown = nullptr;
    EXPECT_EQ(run([&](HWND dialog) {
                  TreeView(shown = dialog).select(installed().expand(row.path));
                  testkit::click(dialog, IDOK);
              }),
              IDOK);
    EXPECT_EQ(run.chosen().selProgID, installed().expand(row.chosen)) << "the item handed back";
    EXPECT_EQ(run.boxes().texts(), row.chosen.empty() ? Lines{kTryAgain} : Lines{})
        << "the question to try again for an item that may not be chosen, none for one that may";
    for (const ShownBox& box : run.boxes().boxes()) {
        EXPECT_EQ(box.caption, "CAPE-OPEN Component Manager") << "the Component Manager's caption";
        EXPECT_TRUE(box.buttons == (std::vector<int>{IDYES, IDNO}) && box.hasIcon) << "Yes, No, the exclamation icon";
        EXPECT_EQ(box.owner, shown) << "owned by the dialog";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Catalogue, Acceptance,
    ::testing::Values(
        ChoiceRow{"UnitUnderTheUnitFilter", 32, 32, {kUnitsCategory, "Mixer [<mixer>]"}, "<mixer>"},
        ChoiceRow{"UnitUnderAWiderFilter", 33, 33, {kUnitsCategory, "Mixer [<mixer>]"}, ""},
        ChoiceRow{"StandalonePackage", 1536, 1536, {kPackagesCategory, "Standalone PP [<standalone>]"}, "<standalone>"},
        ChoiceRow{"Manager", 1536, 1536, {kManagersCategory, "Thermo Manager [<manager>]"}, ""},
        ChoiceRow{"Category", 1536, 1536, {kManagersCategory}, ""},
        ChoiceRow{"AnyRecordForAnOwnerOfUnitOperations", 544, 32, {kManagersCategory, "Thermo Manager [<manager>]"},
                  "<manager>"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CatalogueTest, EnterAndEscapeAskToTryAgainAndToAbortAndADoubleClickAcceptsWithoutAsking)
{
    const testkit::LabelPath manager = installed().expand({kManagersCategory, "Thermo Manager [<manager>]"});
    ComponentManagerRun run(1536);
    run.driver.answerNextBox(IDYES);  // try again
    run.driver.answerNextBox(IDNO);   // do not abort
    EXPECT_EQ(run([&](HWND dialog) {
                  TreeView tree(dialog);
                  tree.doubleClick({kManagersCategory});
                  EXPECT_EQ(run.boxes().count(), 0u) << "double-clicking a category does nothing";
                  tree.select(manager);
                  testkit::pressKey(dialog, VK_RETURN);  // Accept
                  testkit::pressKey(dialog, VK_ESCAPE);  // Cancel
                  EXPECT_TRUE(IsWindowVisible(dialog)) << "Yes to try again and No to abort keep the dialog open";
                  tree.doubleClick({manager[0], manager[1], "SRK"});
              }),
              IDOK);
    EXPECT_EQ(run.chosen().selProgID, "SRK") << "the package double-clicked";
    EXPECT_EQ(run.boxes().texts(), (Lines{kTryAgain, kAbortQuestion})) << "the question to try again, then to abort";
}
