// Broken registrations and misbehaving components: each is listed, skipped or
// explained, and never stops the listing of the others.
#include "CatalogueFixture.h"
#include "catalogue/CapeOpenDlg.h"
#include "components/RegisteredFault.h"
#include "resources/ControlIds.h"
#include "support/AnsiText.h"
#include "support/ComPtr.h"
#include "support/ErrorReport.h"

using testfault::RegisteredFault;
using testfault::TestFault;
using Lines = std::vector<std::string>;

namespace {

// The tree of a dialog opened with every category, and the boxes it showed (the
// boxes are answered with OK, the question on cancelling with Yes).
TreeNode everyCategory(MessageBoxDriver& boxes, size_t boxesBeforeCancel)
{
    CCapeOpenDlg dialog(nullptr, nullptr);
    dialog.filterMask = 32 | 512 | 1024;
    for (size_t i = 0; i < boxesBeforeCancel; ++i)
        boxes.answerNext(IDOK);
    boxes.answerNext(IDYES);
    TreeNode tree;
    runDialog(dialog, boxes, [&](HWND window) {
        tree = readTree(GetDlgItem(window, IDC_COMPONENT_TREE));
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    });
    return tree;
}

std::string creationMessage(const std::string& progId)
{
    return "Error creating interface 'IUnknown' for class '" + progId + "' context 23";
}

bool startsWith(const std::string& text, const std::string& start)
{
    return text.compare(0, start.size(), start) == 0;
}

}  // namespace

class FaultyComponents : public CatalogueFixture {
protected:
    // Every category of the installed catalogue is still complete.
    void expectTheGoodOnesComplete(const TreeNode& tree)
    {
        ASSERT_EQ(tree.childLabels(), (Lines{kUnitsCategory, kManagersCategory, kPackagesCategory}));
        EXPECT_NE(tree.children[0].child(mixerLabel()), nullptr);
        const TreeNode* manager = tree.children[1].child(managerLabel());
        ASSERT_NE(manager, nullptr);
        EXPECT_EQ(manager->childLabels(), (Lines{"SRK", "Peng-Robinson [PR]", "Ideal"}));
        EXPECT_NE(tree.children[2].child(standaloneLabel()), nullptr);
    }
};

TEST_F(FaultyComponents, RegisteredFaultsOfRealComponentsAreListedSkippedOrExplained)
{
    RegisteredFault noProgId(TestFault::NoProgId);
    RegisteredFault undescribed(TestFault::NoCapeDescription);
    RegisteredFault notCreatable(TestFault::ManagerCreationFails);
    RegisteredFault emptyList(TestFault::ManagerEmptyList);
    RegisteredFault notAnArray(TestFault::ManagerListNotArray);
    RegisteredFault variants(TestFault::ManagerListOfVariants);
    RegisteredFault noInterface(TestFault::ManagerWithoutManagerInterface);
    for (const RegisteredFault* fault : {&noProgId, &undescribed, &notCreatable, &emptyList, &notAnArray, &variants,
                                         &noInterface})
        ASSERT_EQ(fault->result(), S_OK) << "TestComponents.dll registers its faults";

    MessageBoxDriver boxes;
    const TreeNode tree = everyCategory(boxes, 1);
    expectTheGoodOnesComplete(tree);
    const TreeNode& units = tree.children[0];
    for (const TreeNode& unit : units.children)
        EXPECT_FALSE(startsWith(unit.label, "Test fault 1 ")) << "a class without ProgID is left out";
    EXPECT_NE(units.child(toAnsi(undescribed.progId())), nullptr) << "no description: labelled by its ProgID";

    auto childrenOf = [&](const RegisteredFault& fault) {
        const std::string progId = toAnsi(fault.progId());
        const std::string number = progId.substr(12, progId.find('.', 12) - 12);
        const TreeNode* manager = tree.children[1].child("Test fault " + number + " [" + progId + "]");
        return manager ? manager->childLabels() : Lines{"(manager not listed)"};
    };
    EXPECT_EQ(childrenOf(notCreatable), Lines{});
    EXPECT_EQ(childrenOf(emptyList), Lines{"No CAPE-OPEN Property Packages currently available"});
    EXPECT_EQ(childrenOf(notAnArray), Lines{});
    EXPECT_EQ(childrenOf(variants), (Lines{"Faulty Package", "Second Package"}));
    EXPECT_EQ(childrenOf(noInterface), Lines{"Object does not support ICapeThermoPropertyPackageManager interface"});

    ComPtr<IErrorInfo> stale;
    EXPECT_NE(GetErrorInfo(0, stale.put()), S_OK)
        << "the failed creation's error object is not left for a later failure to show";
    ASSERT_EQ(boxes.count(), 2u) << "the failed creation's message, then the question on cancelling";
    EXPECT_TRUE(startsWith(boxes.boxes()[0].text, creationMessage(toAnsi(notCreatable.progId()))))
        << boxes.boxes()[0].text;
}

TEST_F(FaultyComponents, OtherManagerFaultsLeaveTheirManagerAndExplainOnlyWhatFailed)
{
    auto registered = [](const std::string& stem) {
        return std::make_unique<RegisteredClass>(stem, std::vector<std::string>{kCategoryTable[1].catid});
    };
    auto notServed = registered("QnTest.NotServed");  // registered, but nothing serves it
    auto queryFails = registered("QnTest.QueryFails");
    auto numbers = registered("QnTest.NumberList");
    auto callFails = registered("QnTest.CallFails");
    ServedManager queryFailsServer(queryFails->clsid(), packageNames({L"X"}), E_UNEXPECTED);
    ServedManager numbersServer(numbers->clsid(), [](VARIANT* out) {
        V_VT(out) = VT_ARRAY | VT_I4;
        V_ARRAY(out) = SafeArrayCreateVector(VT_I4, 0, 3);
        return S_OK;
    });
    ServedManager callFailsServer(callFails->clsid(), [](VARIANT*) { return E_FAIL; });

    MessageBoxDriver boxes;
    const TreeNode tree = everyCategory(boxes, 1);
    expectTheGoodOnesComplete(tree);
    auto childrenOf = [&](const RegisteredClass& manager) {
        const TreeNode* item = tree.children[1].child(manager.progId());
        return item ? item->childLabels() : Lines{"(manager not listed)"};
    };
    EXPECT_EQ(childrenOf(*notServed), Lines{});
    EXPECT_EQ(childrenOf(*queryFails), Lines{composeErrorMessage(E_UNEXPECTED, "", nullptr)})
        << "another failure of the query is explained by its composed message";
    EXPECT_EQ(childrenOf(*numbers), Lines{}) << "elements that are not strings are skipped";
    EXPECT_EQ(childrenOf(*callFails), Lines{}) << "a failed call's list is not read";
    ASSERT_EQ(boxes.count(), 2u);
    EXPECT_TRUE(startsWith(boxes.boxes()[0].text, creationMessage(notServed->progId()))) << boxes.boxes()[0].text;
    for (const ServedManager* server : {&queryFailsServer, &numbersServer, &callFailsServer})
        EXPECT_EQ(server->liveObjects(), 0) << "every manager object is released";
}
