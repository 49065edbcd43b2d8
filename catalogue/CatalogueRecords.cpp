// The catalogue's records: reading them from the registry, hanging them on tree
// items, and freeing them.
#include <objbase.h>

#include "catalogue/CapeOpenDlg.h"
#include "catalogue/ItemLabel.h"
#include "catalogue/RecordReader.h"
#include "support/WideText.h"

CAPETREEITEM CCapeOpenDlg::addRecord()
{
    recordList_.push_back(std::make_unique<CAPETreeItemTag>());
    return recordList_.back().get();
}

HRESULT CCapeOpenDlg::GetInfoForCLSID(REFCLSID clsid, const std::string& catid, CAPETreeItemTag& record,
                                      const std::string& package)
{
    RecordReading progress;
    try {
        return readRecord(clsid, catid, package, record, progress);
    } catch (...) {
        reportDialogError("Unexpected error in GetInfoForCLSID. " + selectionContext() + progress.primaryKey +
                          "progid" + progress.id);
        return S_OK;
    }
}

HRESULT CCapeOpenDlg::GetInfoForProgID(const std::string& first, const std::string& second, const std::string& catid,
                                       std::unique_ptr<CAPETreeItemTag>& record)
{
    record = std::make_unique<CAPETreeItemTag>();
    // With a second ProgID, first names a package of the manager second.
    const bool isPackage = !second.empty();
    CLSID clsid = CLSID_NULL;
    if (FAILED(CLSIDFromProgID(toWide(isPackage ? second : first).c_str(), &clsid)))
        clsid = CLSID_NULL;
    return GetInfoForCLSID(clsid, catid, *record, isPackage ? first : std::string());
}

HTREEITEM CCapeOpenDlg::InsertTreeItem(HTREEITEM parent, const std::string& text, CAPETREEITEM record)
{
    const std::string label = record ? itemLabel(record->Name, text) : text;
    HTREEITEM added = tree_.append(parent, label, reinterpret_cast<LPARAM>(record));
    if (added) {
        tree_.makeVisible(added);
        outline_.add(parent, added, label, record);
    }
    return added;
}

namespace {

// Every item below first (and its siblings) stops pointing at a record.
void detachRecords(const TreeControl& tree, HTREEITEM first)
{
    for (HTREEITEM item = first; item; item = tree.nextSibling(item)) {
        tree.setData(item, 0);
        detachRecords(tree, tree.firstChild(item));
    }
}

}  // namespace

void CCapeOpenDlg::ClearCatalogue(bool emptyTree)
{
    shownRecord_ = nullptr;
    outline_.clear();
    if (tree_.hwnd()) {
        // Disabled while it empties: the selection changes it causes show nothing.
        tree_.enable(false);
        if (emptyTree)
            tree_.deleteAll();
        else
            detachRecords(tree_, tree_.firstChild(nullptr));
        tree_.enable(true);
    }
    recordList_.clear();
}
