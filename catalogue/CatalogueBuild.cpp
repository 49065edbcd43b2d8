// Building the catalogue into the dialog's tree: the categories that the filter
// selects, the components registered in each, and the packages of every manager.
#include <objbase.h>

#include "catalogue/CapeOpenDlg.h"
#include "support/ScopedFlag.h"
#include "catalogue/CategoryClasses.h"
#include "catalogue/ItemLabel.h"
#include "catalogue/PackageList.h"
#include "support/WideText.h"
#include "resources/ControlIds.h"
#include "support/AnsiText.h"
#include "support/ComPtr.h"
#include "support/ErrorReport.h"
#include "support/ForeignCall.h"

namespace {

// The catalogue is always that of the local machine: no server name.
constexpr const wchar_t* kLocalMachine = nullptr;

// Enters the single-threaded apartment for the managers' sake and leaves it again,
// only when entering succeeded (a thread of another apartment keeps its own).
class ApartmentScope {
public:
    ApartmentScope() : entered_(SUCCEEDED(CoInitialize(nullptr))) {}
    ~ApartmentScope()
    {
        if (entered_)
            CoUninitialize();
    }
    ApartmentScope(const ApartmentScope&) = delete;
    ApartmentScope& operator=(const ApartmentScope&) = delete;

private:
    bool entered_;
};

}  // namespace

void CCapeOpenDlg::DisplayCategories()
{
    // A rebuild frees every record: none starts while a rebuild or a probe (whose
    // boxes run message loops) is still using them.
    if (busy_)
        return;
    rebuildCatalogue();
    // Text typed in the find box before narrows the new tree too.
    if (!findText().empty())
        showFoundItems();
}

void CCapeOpenDlg::rebuildCatalogue()
{
    const ScopedFlag busy(busy_);
    try {
        // One layout and one repaint for the whole rebuild, however many items it makes.
        TreeBuild build(tree_);
        ClearCatalogue(true);
        browseComponentInfo(nullptr);  // the panel showed a record that is gone
        // Each rebuild lists the categories afresh, so the combo box and its CATID
        // list start empty too.
        HWND categoryCombo = item(IDC_CATEGORY_COMBO);
        SendMessageA(categoryCombo, CB_RESETCONTENT, 0, 0);
        categoryCatidList_.clear();
        for (const CategoryEntry& entry : kCategoryTable) {
            if (!categoryShown(entry, filterMask))
                continue;
            HTREEITEM categoryItem = InsertTreeItem(nullptr, entry.displayName, nullptr);
            DisplayCategoryComponents(categoryItem, entry.wideCatid);
            if (entry.filterFlag == kManagerFilter) {
                DisplayPropertyPackageManagerPropPacks(categoryItem);
                SendMessageA(categoryCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.displayName));
                categoryCatidList_.push_back(entry.catid);
            }
        }
        SendMessageA(categoryCombo, CB_SETCURSEL, 0, 0);
    } catch (...) {
        reportDialogError("CCapeOpenDlg::DisplayCategories. " + selectionContext());
    }
}

void CCapeOpenDlg::DisplayCategoryComponents(HTREEITEM categoryItem, const std::wstring& catid)
{
    const std::string narrowCatid = toAnsi(catid);
    forEachClassOfCategory(catid, kLocalMachine, [&](const CLSID& clsid) {
        CAPETREEITEM record = addRecord();
        // A class without a ProgID on this machine is left out of the tree.
        if (GetInfoForCLSID(clsid, narrowCatid, *record, "") == S_OK && !record->ProgID.empty())
            InsertTreeItem(categoryItem, record->ProgID, record);
    });
}

void CCapeOpenDlg::DisplayPropertyPackageManagerPropPacks(HTREEITEM managerCategoryItem)
{
    ApartmentScope apartment;
    // A manager that fails is reported, and the managers after it are still listed.
    for (HTREEITEM managerItem = tree_.firstChild(managerCategoryItem); managerItem;
         managerItem = tree_.nextSibling(managerItem)) {
        std::string identifier;
        std::string package;
        const auto managerText = [&] {
            return "CCapeOpenDlg::DisplayPropertyPackageManagerPropPacks. PropertyPackageManager: " + identifier +
                   ", propPackage: " + package;
        };
        try {
            // The item's own record names its ProgID; a registered Name may itself hold
            // brackets, which would mislead a split of the label.
            const auto* managerRecord = reinterpret_cast<const CAPETreeItemTag*>(tree_.data(managerItem));
            identifier = managerRecord ? managerRecord->ProgID : SplitItemLabel(tree_.text(managerItem));
            CLSID clsid = CLSID_NULL;
            if (FAILED(CLSIDFromProgID(toWide(identifier).c_str(), &clsid)))
                clsid = CLSID_NULL;  // the creation below fails and says so

            ComPtr<IUnknown> manager;
            const HRESULT created =
                createInterface(clsid, nullptr, kAnyServerContext, IID_IUnknown, manager.putVoid(), kLocalMachine);
            // A failed creation has been explained; its error object must not be taken
            // for the explanation of what this or a later manager does next.
            SetErrorInfo(0, nullptr);
            if (FAILED(created))
                continue;
            const PackageListing listing = readPackageListing(manager.get());
            if (listing.listResult == kCallRaisedException)  // a list that merely failed is not reported
                reportDialogError(composeErrorMessage(listing.listResult, managerText().c_str(), nullptr));
            if (!listing.messageLine.empty())
                InsertTreeItem(managerItem, listing.messageLine, nullptr);
            for (const std::string& name : listing.packageNames) {
                package = name;
                CAPETREEITEM record = addRecord();
                GetInfoForCLSID(clsid, kPackageCatid, *record, name);
                InsertTreeItem(managerItem, name, record);
            }
        } catch (...) {
            reportDialogError(managerText());
        }
    }
}
