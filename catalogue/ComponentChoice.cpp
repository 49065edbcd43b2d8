// What the user sees of a record and how a choice is made: the information panel,
// accepting and cancelling, and the preset of the information-only mode.
#include <objbase.h>

#include <algorithm>

#include "catalogue/AboutText.h"
#include "catalogue/Acceptability.h"
#include "catalogue/CapeOpenDlg.h"
#include "resources/ControlIds.h"
#include "catalogue/WebLinks.h"
#include "support/WideText.h"

namespace {

CAPETREEITEM recordOf(LPARAM data) { return reinterpret_cast<CAPETREEITEM>(data); }

}  // namespace

void CCapeOpenDlg::showSelectedItem()
{
    // A disabled tree (information-only mode, or while it is emptied) shows nothing,
    // nor does one that the find box is refilling.
    if (!tree_.enabled() || refillingTree_)
        return;
    sel_.selProgID.clear();
    browseComponentInfo(recordOf(tree_.data(tree_.selected())));
}

void CCapeOpenDlg::selectCategoryOf(const CAPETreeItemTag& record)
{
    auto found = std::find(categoryCatidList_.begin(), categoryCatidList_.end(), record.CATID);
    const WPARAM position = found == categoryCatidList_.end() ? static_cast<WPARAM>(-1)
                                                              : static_cast<WPARAM>(found - categoryCatidList_.begin());
    SendMessageA(item(IDC_CATEGORY_COMBO), CB_SETCURSEL, position, 0);
}

void CCapeOpenDlg::browseComponentInfo(const CAPETreeItemTag* record)
{
    try {
        if (!record) {
            for (int id :
                 {IDC_DESCRIPTION, IDC_CAPE_VERSION, IDC_COMPONENT_VERSION, IDC_ABOUT, IDC_CLSID, IDC_VENDOR_URL})
                SetDlgItemTextA(hwnd(), id, "");
            EnableWindow(item(IDC_VENDOR_URL), FALSE);
            EnableWindow(item(IDC_COMPONENT_HELP), FALSE);
            return;
        }
        shownRecord_ = const_cast<CAPETREEITEM>(record);
        sel_.selCATID.clear();
        selectCategoryOf(*record);
        if (creationMode_)
            sel_.selProgID.clear();
        SetDlgItemTextA(hwnd(), IDC_DESCRIPTION, record->Description.c_str());
        SetDlgItemTextA(hwnd(), IDC_CAPE_VERSION, record->CapeVersion.c_str());
        SetDlgItemTextA(hwnd(), IDC_COMPONENT_VERSION, record->ComponentVersion.c_str());
        SetDlgItemTextA(hwnd(), IDC_VENDOR_URL, record->VendorURL.c_str());
        EnableWindow(item(IDC_VENDOR_URL), TRUE);
        EnableWindow(item(IDC_COMPONENT_HELP), TRUE);
        SetDlgItemTextA(hwnd(), IDC_ABOUT, aboutDisplayText(record->About).c_str());
        SetDlgItemTextA(hwnd(), IDC_CLSID, record->CLSID.c_str());
    } catch (...) {
        reportDialogError("Unexpected error in browseComponentInfoCAPETREEITEM*). " + selectionContext());
    }
}

void CCapeOpenDlg::browseComponentInfo()
{
    std::string id;
    try {
        std::string package;
        if (sel_.selParentProgID.empty()) {
            id = sel_.selProgID;
        } else {
            id = sel_.selParentProgID;
            package = sel_.selProgID;
        }
        // A braced class identifier or a ProgID; neither leaves the panel empty.
        const std::wstring wideId = toWide(id);
        CLSID clsid = CLSID_NULL;
        if (id.empty() ||
            (FAILED(CLSIDFromString(wideId.c_str(), &clsid)) && FAILED(CLSIDFromProgID(wideId.c_str(), &clsid))))
            return;
        CAPETREEITEM record = addRecord();
        GetInfoForCLSID(clsid, kPackageCatid, *record, package);
        browseComponentInfo(record);
    } catch (...) {
        reportDialogError("Unexpected error in browseComponentInfo. " + selectionContext() + id);
    }
}

void CCapeOpenDlg::SetSelection(const CAPETreeItemTag* record, const CAPETreeItemTag* parent)
{
    if (!record)
        return;
    sel_.selAlias = record->Name;
    sel_.selProgID = record->ProgID;
    sel_.selDescription = record->Description;
    sel_.selComponentVersion = record->ComponentVersion;
    sel_.selVendorURL = record->VendorURL;
    sel_.selHelpURL = record->HelpURL;
    sel_.selAbout = record->About;
    sel_.selCLSID = record->CLSID;
    sel_.selCATID = record->CATID;
    sel_.selCapeVersion = record->CapeVersion;
    sel_.selParentProgID = parent ? parent->ProgID : std::string();
    sel_.selParentAlias = parent ? parent->Name : std::string();
}

void CCapeOpenDlg::SelectByProgIDs(const std::string& progId, const std::string& parentProgId, const std::string& catid)
{
    if (progId.empty()) {
        sel_.selProgID.clear();
        sel_.selParentProgID.clear();
        creationMode_ = true;
        return;
    }
    sel_.selParentProgID = parentProgId;
    sel_.selProgID = progId;
    creationMode_ = false;
    std::unique_ptr<CAPETreeItemTag> parentRecord;
    GetInfoForProgID(parentProgId, "", catid, parentRecord);
    std::unique_ptr<CAPETreeItemTag> itemRecord;
    GetInfoForProgID(progId, parentProgId, catid, itemRecord);
    SetSelection(itemRecord.get(), parentRecord.get());
}

void CCapeOpenDlg::accept(bool askAgain)
{
    if (!creationMode_) {
        endDialog(IDOK);
        return;
    }
    const HTREEITEM chosen = tree_.selected();
    const CAPETREEITEM record = chosen ? recordOf(tree_.data(chosen)) : nullptr;
    const CAPETREEITEM parentRecord = chosen ? recordOf(tree_.data(tree_.parent(chosen))) : nullptr;
    const unsigned long ownerFilter = owner_ ? owner_->categoryFilterForChoice() : filterMask;
    if (itemAcceptable(record, parentRecord, ownerFilter))
        SetSelection(record, parentRecord);
    if (!sel_.selProgID.empty()) {
        endDialog(IDOK);
        return;
    }
    if (!askAgain)
        return;
    // No: the dialog closes without a component.
    if (!askYesNo("No component was selected. Do you want to try again?"))
        endDialog(IDOK);
}

void CCapeOpenDlg::OnOK() { accept(true); }

void CCapeOpenDlg::OnCancel()
{
    if (creationMode_ && !askYesNo("Do you want to abort the creation of a CAPE-OPEN component?"))
        return;
    endDialog(IDCANCEL);
}

void CCapeOpenDlg::onVendorURL()
{
    if (shownRecord_)
        NavigateToURL(shownRecord_->VendorURL, [this](const std::string& text) { return reportDialogError(text); });
}

void CCapeOpenDlg::onComponentHelp()
{
    if (shownRecord_)
        NavigateToURL(shownRecord_->HelpURL, [this](const std::string& text) { return reportDialogError(text); });
}
