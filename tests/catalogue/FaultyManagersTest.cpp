// Broken registrations and misbehaving managers: each is listed, skipped or
// explained, and never stops the listing of the others.
#include <algorithm>

#include "CatalogueFixture.h"
#include "catalogue/CapeOpenDlg.h"
#include "resources/ControlIds.h"
#include "support/ErrorReport.h"

namespace {

HRESULT fillWith(VARIANT* out, VARTYPE type, SAFEARRAY* array)
{
    V_VT(out) = VT_ARRAY | type;
    V_ARRAY(out) = array;
    return S_OK;
}

// One manager of the faulty set: its registration and what serves it (if anything).
struct FaultyManager {
    std::string stem;
    PackageListFiller filler;
    HRESULT queryFailure = S_OK;
    HRESULT creationFailure = S_OK;
    bool served = true;
};

}  // namespace

class FaultyManagers : public CatalogueFixture {};

TEST_F(FaultyManagers, EachFaultIsListedSkippedOrExplainedAndTheRestIsComplete)
{
    const std::vector<FaultyManager> faults = {
        {"QnTest.NotCreatable", packageNames({}), S_OK, E_ACCESSDENIED},
        {"QnTest.NotServed", packageNames({}), S_OK, S_OK, false},
        {"QnTest.NoInterface", packageNames({L"X"}), E_NOINTERFACE},
        {"QnTest.QueryFails", packageNames({L"X"}), E_UNEXPECTED},
        {"QnTest.EmptyList", packageNames({})},
        {"QnTest.NotAnArray",
         [](VARIANT* out) {
             V_VT(out) = VT_BSTR;
             V_BSTR(out) = SysAllocString(L"SRK");
             return S_OK;
         }},
        {"QnTest.VariantList",
         [](VARIANT* out) {
             SAFEARRAY* array = SafeArrayCreateVector(VT_VARIANT, 0, 2);
             VARIANT name;
             V_VT(&name) = VT_BSTR;
             V_BSTR(&name) = SysAllocString(L"FromVariant");
             LONG index = 1;
             SafeArrayPutElement(array, &index, &name);
             VariantClear(&name);
             return fillWith(out, VT_VARIANT, array);
         }},
        {"QnTest.NumberList", [](VARIANT* out) { return fillWith(out, VT_I4, SafeArrayCreateVector(VT_I4, 0, 3)); }},
        {"QnTest.CallFails", [](VARIANT*) { return E_FAIL; }},
    };
    std::vector<std::unique_ptr<RegisteredClass>> registrations;
    std::vector<std::unique_ptr<ServedManager>> servers;
    for (const FaultyManager& fault : faults) {
        registrations.push_back(std::make_unique<RegisteredClass>(
            fault.stem, std::vector<std::string>{kCategoryTable[1].catid}));
        if (fault.served)
            servers.push_back(std::make_unique<ServedManager>(registrations.back()->clsid(), fault.filler,
                                                              fault.queryFailure, fault.creationFailure));
    }
    auto labelOf = [&](size_t index) { return registrations[index]->progId(); };

    MessageBoxDriver boxes;
    CCapeOpenDlg dialog(nullptr, nullptr);
    dialog.filterMask = 1536;
    TreeNode tree;
    boxes.answerNext(IDOK);
    boxes.answerNext(IDOK);
    boxes.answerNext(IDYES);
    runDialog(dialog, boxes, [&](HWND window) {
        tree = readTree(GetDlgItem(window, IDC_COMPONENT_TREE));
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    });
    ASSERT_EQ(tree.childLabels(), (std::vector<std::string>{kManagersCategory, kPackagesCategory}));
    const TreeNode& managers = tree.children[0];
    auto childrenOf = [&](size_t index) {
        const TreeNode* manager = managers.child(labelOf(index));
        return manager ? manager->childLabels() : std::vector<std::string>{"(not listed)"};
    };
    using Lines = std::vector<std::string>;
    EXPECT_EQ(childrenOf(0), Lines{}) << "a manager that cannot be created is listed without children";
    EXPECT_EQ(childrenOf(1), Lines{});
    EXPECT_EQ(childrenOf(2), Lines{"Object does not support ICapeThermoPropertyPackageManager interface"});
    EXPECT_EQ(childrenOf(3), Lines{composeErrorMessage(E_UNEXPECTED, "", nullptr)})
        << "another failure of the query is explained by its composed message";
    EXPECT_EQ(childrenOf(4), Lines{"No CAPE-OPEN Property Packages currently available"});
    EXPECT_EQ(childrenOf(5), Lines{}) << "a list that is not an array adds nothing";
    EXPECT_EQ(childrenOf(6), Lines{"FromVariant"}) << "the string elements of a VARIANT array are listed";
    EXPECT_EQ(childrenOf(7), Lines{}) << "elements that are not strings are skipped";
    EXPECT_EQ(childrenOf(8), Lines{});
    for (size_t index : {2u, 3u, 4u})
        EXPECT_FALSE(managers.child(labelOf(index))->children[0].hasRecord) << "message lines carry no record";
    const TreeNode* good = managers.child(managerLabel());
    ASSERT_NE(good, nullptr);
    EXPECT_EQ(good->childLabels(), (Lines{"SRK", "Peng-Robinson [PR]", "Ideal"})) << "the good manager is complete";
    EXPECT_NE(tree.children[1].child(standaloneLabel()), nullptr) << "and so is the next category";

    // Exactly the two failed creations were explained, in tree order, then the question.
    std::vector<std::pair<std::string, size_t>> failedInTreeOrder;
    for (size_t index : {0u, 1u}) {
        const auto labels = managers.childLabels();
        failedInTreeOrder.emplace_back(labelOf(index),
                                       std::find(labels.begin(), labels.end(), labelOf(index)) - labels.begin());
    }
    std::sort(failedInTreeOrder.begin(), failedInTreeOrder.end(),
              [](const auto& a, const auto& b) { return a.second < b.second; });
    ASSERT_EQ(boxes.count(), 3u);
    for (size_t box = 0; box < 2; ++box) {
        const std::string expected = "Error creating interface 'IUnknown' for class '" +
                                     failedInTreeOrder[box].first + "' context 23";
        EXPECT_EQ(boxes.boxes()[box].text.substr(0, expected.size()), expected);
    }
    for (const auto& server : servers)
        EXPECT_EQ(server->liveObjects(), 0) << "every manager object is released";
}
