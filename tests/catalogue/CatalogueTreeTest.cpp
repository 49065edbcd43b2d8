// The component tree of the Component Manager as each filter builds it.
#include <algorithm>

#include "CatalogueFixture.h"
#include "catalogue/CapeOpenDlg.h"
#include "resources/ControlIds.h"

namespace {

// The tree and the boxes shown while the dialog opened with filter, then cancelled.
TreeNode treeOf(unsigned long filter, MessageBoxDriver& boxes)
{
    CCapeOpenDlg dialog(nullptr, nullptr);
    dialog.filterMask = filter;
    TreeNode tree;
    boxes.answerNext(IDYES);  // "Do you want to abort ...?"
    const INT_PTR result = runDialog(dialog, boxes, [&](HWND window) {
        tree = readTree(GetDlgItem(window, IDC_COMPONENT_TREE));
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(result, IDCANCEL);
    return tree;
}

// The labels of ours among a category's items, in tree order.
std::vector<std::string> oursAmong(const TreeNode& category, const std::vector<std::string>& ours)
{
    std::vector<std::string> found;
    for (const std::string& label : category.childLabels())
        if (std::find(ours.begin(), ours.end(), label) != ours.end())
            found.push_back(label);
    return found;
}

}  // namespace

class CatalogueTree : public CatalogueFixture {};

TEST_F(CatalogueTree, ShowsTheCategoriesTheFilterSelectsInTableOrder)
{
    const std::vector<std::pair<unsigned long, std::vector<std::string>>> cases = {
        {32, {kUnitsCategory}},
        {512, {kManagersCategory}},
        {1024, {kPackagesCategory}},
        {1536, {kManagersCategory, kPackagesCategory}},
        {33, {kUnitsCategory}},
        {65536, {}},
        {32 | 512 | 1024, {kUnitsCategory, kManagersCategory, kPackagesCategory}},
    };
    for (const auto& [filter, categories] : cases) {
        MessageBoxDriver boxes;
        const TreeNode tree = treeOf(filter, boxes);
        EXPECT_EQ(tree.childLabels(), categories) << "filter " << filter;
        for (const TreeNode& category : tree.children)
            EXPECT_FALSE(category.hasRecord) << category.label << ": a category item carries no record";
        EXPECT_EQ(boxes.count(), 1u) << "filter " << filter << ": only the question on cancelling";
    }
}

TEST_F(CatalogueTree, LabelsComponentsByNameAndProgIDAndLeavesOutClassesWithoutProgID)
{
    MessageBoxDriver boxes;
    const TreeNode tree = treeOf(32, boxes);
    ASSERT_EQ(tree.children.size(), 1u);
    const TreeNode& units = tree.children[0];

    const Installed& it = installed();
    std::vector<std::pair<std::string, std::string>> byClass = {
        {it.mixer.clsidText(), mixerLabel()},
        {it.splitter.clsidText(), it.splitter.progId()},    // no Name value
        {it.selfNamed.clsidText(), it.selfNamed.progId()},  // Name equals the ProgID
    };
    // The categories manager lists classes in the order of their registry keys.
    std::sort(byClass.begin(), byClass.end(), [](const auto& a, const auto& b) {
        return _stricmp(a.first.c_str(), b.first.c_str()) < 0;
    });
    std::vector<std::string> expected;
    for (const auto& entry : byClass)
        expected.push_back(entry.second);
    EXPECT_EQ(oursAmong(units, expected), expected) << "every listed unit operation, in discovery order";
    for (const TreeNode& unit : units.children)
        EXPECT_NE(unit.label.find("No ProgID"), 0u) << "a class without ProgID is not listed";
    EXPECT_TRUE(units.child(mixerLabel())->hasRecord);
    EXPECT_TRUE(units.expanded) << "inserted items are made visible, which expands their category";
}

TEST_F(CatalogueTree, ListsEachManagersPackagesUnderIt)
{
    MessageBoxDriver boxes;
    const TreeNode tree = treeOf(1536, boxes);
    ASSERT_EQ(tree.children.size(), 2u);
    const TreeNode* manager = tree.children[0].child(managerLabel());
    ASSERT_NE(manager, nullptr) << "the manager is listed by its Name and ProgID";
    EXPECT_EQ(manager->childLabels(), (std::vector<std::string>{"SRK", "Peng-Robinson [PR]", "Ideal"}))
        << "packages in the manager's order, labelled by their own Name when registered";
    for (const TreeNode& package : manager->children)
        EXPECT_TRUE(package.hasRecord);
    EXPECT_TRUE(manager->expanded);
    EXPECT_NE(tree.children[1].child(standaloneLabel()), nullptr);
    EXPECT_EQ(installed().served.liveObjects(), 0) << "the manager is released after listing";
}
