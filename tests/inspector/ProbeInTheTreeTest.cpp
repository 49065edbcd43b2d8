// The probe as the user meets it: a right click in the Component Manager's tree.
#include <gtest/gtest.h>

#include "FakeManager.h"
#include "SampleUnits.h"
#include "ScriptedComponent.h"
#include "TreeReading.h"
#include "catalogue/CapeOpenDlg.h"
#include "catalogue/CategoryTable.h"
#include "inspector/InterfaceProbe.h"
#include "inspector/ProbeTable.h"
#include "resources/ControlIds.h"
#include "support/MTUtils.h"

namespace {

// The dialog reads its settings file beside the module registered as the library's,
// and captions its boxes with that module's base name: here the test program stands
// in for the DLL.
class ProbeEnvironment : public ::testing::Environment {
public:
    void SetUp() override { MTUtils::setModuleName("inspector_tests.exe"); }
};

const auto* const registered = ::testing::AddGlobalTestEnvironment(new ProbeEnvironment);

constexpr const char* kUnitsCategory = "Unit Operations";
constexpr const char* kManagersCategory = "CAPE-OPEN 1.1 Property Package Manager";

// Opens the Component Manager with filter, lets script drive it, then cancels it.
void withComponentManager(unsigned long filter, MessageBoxDriver& boxes, const std::function<void(HWND)>& script)
{
    CCapeOpenDlg dialog(nullptr, nullptr);
    dialog.filterMask = filter;
    const INT_PTR result = runDialog(dialog, boxes, [&](HWND window) {
        script(window);
        boxes.answerNext(IDYES);  // "Do you want to abort ...?"
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(result, IDCANCEL);
}

void rightClick(HWND dialog, HTREEITEM item)
{
    selectItem(dialog, item);
    notifyTree(dialog, NM_RCLICK);
}

// The node at path in the tree as it is now (empty when missing).
TreeNode nodeAt(HWND dialog, const std::vector<std::string>& path)
{
    TreeNode node = readTree(GetDlgItem(dialog, IDC_COMPONENT_TREE));
    for (const std::string& label : path) {
        const TreeNode* child = node.child(label);
        if (!child)
            return {};
        node = *child;
    }
    return node;
}

// The lines of a component that answers for IUnknown and IDispatch only.
std::vector<std::string> dispatchOnlyLines()
{
    std::vector<std::string> lines;
    for (size_t entry = 0; entry < kProbedInterfaces.size(); ++entry)
        lines.push_back(probeLine(kProbedInterfaces[entry].name, entry < 2));
    return lines;
}

// A unit operation that answers for IUnknown and IDispatch only, listed as "Probe Target".
struct ListedUnit {
    ScriptedComponent component{{{IID_IDispatch}, {}, S_OK}, {kCategoryTable[0].catid}};
    ListedUnit() { component.registration().describe({{"Name", "Probe Target"}}); }
    std::vector<std::string> path() const { return {kUnitsCategory, "Probe Target [" + component.progId() + "]"}; }
};

}  // namespace

TEST(ProbeInTheTree, RightClickAppendsTheLinesWithoutRecordsUnderTheSelectedComponentOnEveryClick)
{
    ListedUnit unit;
    ASSERT_TRUE(unit.component.served());
    MessageBoxDriver boxes;
    withComponentManager(kUnitOperationFilter, boxes, [&](HWND dialog) {
        HWND tree = GetDlgItem(dialog, IDC_COMPONENT_TREE);
        HTREEITEM item = findItem(tree, unit.path());
        ASSERT_NE(item, nullptr) << "the unit is listed";
        rightClick(dialog, item);
        TreeNode node = nodeAt(dialog, unit.path());
        EXPECT_EQ(node.childLabels(), dispatchOnlyLines());
        ASSERT_EQ(node.children.size(), 15u);
        EXPECT_EQ(node.children.front().label, "QI( IUnknown ) succeeded");
        EXPECT_EQ(node.children.back().label, "QI( ICapeThermoPropertyPackageManager ) failed");
        for (const TreeNode& line : node.children)
            EXPECT_FALSE(line.hasRecord) << line.label << " carries no record";
        EXPECT_TRUE(node.expanded) << "the new lines are scrolled into view";

        rightClick(dialog, item);
        std::vector<std::string> twice = dispatchOnlyLines();
        const std::vector<std::string> once = twice;
        twice.insert(twice.end(), once.begin(), once.end());
        EXPECT_EQ(nodeAt(dialog, unit.path()).childLabels(), twice) << "the second fifteen after the first";
        EXPECT_EQ(unit.component.creations(), 2) << "created afresh for each click";
        EXPECT_EQ(unit.component.liveReferences(), 0);
    });
    EXPECT_EQ(boxes.count(), 1u) << "no box but the question on cancelling";
}

TEST(ProbeInTheTree, RightClickOnItemsWithoutRecordAddsAndShowsNothing)
{
    ListedUnit unit;
    MessageBoxDriver boxes;
    withComponentManager(kUnitOperationFilter, boxes, [&](HWND dialog) {
        HWND tree = GetDlgItem(dialog, IDC_COMPONENT_TREE);
        HTREEITEM item = findItem(tree, unit.path());
        ASSERT_NE(item, nullptr);
        rightClick(dialog, item);
        const size_t itemsAfterProbe = nodeAt(dialog, {kUnitsCategory}).children.size();

        std::vector<std::string> linePath = unit.path();
        linePath.push_back("QI( IDispatch ) succeeded");
        rightClick(dialog, findItem(tree, linePath));  // a probe line
        rightClick(dialog, findItem(tree, {kUnitsCategory}));  // a category
        // Nothing selected at all: the probe looks at the caret item, not the mouse.
        selectItem(dialog, nullptr);
        notifyTree(dialog, NM_RCLICK);

        EXPECT_EQ(nodeAt(dialog, unit.path()).children.size(), 15u);
        EXPECT_EQ(nodeAt(dialog, {kUnitsCategory}).children.size(), itemsAfterProbe);
        EXPECT_EQ(unit.component.creations(), 1);
        EXPECT_EQ(controlText(dialog, IDC_CLSID), "") << "selecting a probe line shows no component";
    });
    EXPECT_EQ(boxes.count(), 1u) << "no box but the question on cancelling";
}

TEST(ProbeInTheTree, APackageItemNamesThePackageAsNotRegistered)
{
    RegisteredClass manager("QnTest.ProbeManager", {kCategoryTable[1].catid});
    manager.describe({{"Name", "Probe Manager"}});
    ServedManager served(manager.clsid(), packageNames({L"Probe Gas"}));
    MessageBoxDriver boxes;
    withComponentManager(kManagerFilter, boxes, [&](HWND dialog) {
        const std::vector<std::string> path = {kManagersCategory, "Probe Manager [" + manager.progId() + "]",
                                               "Probe Gas"};
        HTREEITEM package = findItem(GetDlgItem(dialog, IDC_COMPONENT_TREE), path);
        ASSERT_NE(package, nullptr) << "the package is listed under its manager";
        boxes.clear();
        rightClick(dialog, package);

        ASSERT_EQ(boxes.count(), 2u) << "the creation's explanation, then the probe's message";
        EXPECT_EQ(boxes.boxes()[0].text.rfind("Error creating interface 'IUnknown'", 0), 0u);
        const ShownBox& message = boxes.last();
        EXPECT_EQ(message.text, "The object Probe Gas is not registered in the registration database.");
        EXPECT_EQ(message.owner, dialog);
        EXPECT_EQ(message.caption, "inspector_tests") << "the application's title";
        EXPECT_TRUE(message.hasButton(IDOK));
        EXPECT_TRUE(nodeAt(dialog, path).children.empty()) << "no line is added";
    });
}

TEST(ProbeInTheTree, TheSampleMixerAnswersForItsPublishedInterfaces)
{
    SampleUnits samples;
    ASSERT_TRUE(samples.registered());
    MessageBoxDriver boxes;
    withComponentManager(kUnitOperationFilter, boxes, [&](HWND dialog) {
        const std::vector<std::string> path = {kUnitsCategory, "Tarnwick Mixer [Tarnwick.Mixer]"};
        HTREEITEM mixer = findItem(GetDlgItem(dialog, IDC_COMPONENT_TREE), path);
        ASSERT_NE(mixer, nullptr) << "the sample mixer is listed";
        rightClick(dialog, mixer);
        // A CAPE-OPEN 1.0 unit operation: IUnknown, IDispatch, ICapeIdentification and
        // the published ICapeUnit.
        std::vector<std::string> expected = dispatchOnlyLines();
        expected[2] = "QI( ICapeIdentification ) succeeded";
        expected[9] = "QI( ICapeUnit ) succeeded";
        EXPECT_EQ(nodeAt(dialog, path).childLabels(), expected);
    });
    EXPECT_EQ(boxes.count(), 1u);
    EXPECT_EQ(samples.liveObjects(), 0) << "the mixer is released";
}
