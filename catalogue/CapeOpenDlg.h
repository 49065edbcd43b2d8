#pragma once
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "catalogue/CatalogueOutline.h"
#include "catalogue/CatalogueRecord.h"
#include "catalogue/CategoryTable.h"
#include "catalogue/ComponentManagerOwner.h"
#include "catalogue/ComponentSelection.h"
#include "catalogue/TreeControl.h"
#include "support/ModalDialog.h"
#include "support/UniqueHandle.h"

// The CAPE-OPEN Component Manager (dialog template 101): builds the catalogue of the
// categories that filterMask selects into its tree, shows the record of the clicked
// item, and hands the chosen one back through selection(). It lives for one call of
// its owner. In the information-only mode (after SelectByProgIDs with a ProgID) it
// only shows a preset component.
//
// Errors of the dialog and of the catalogue are shown by reportDialogError (stop icon,
// not traced); the dialog never reports failures to its owner.
class CCapeOpenDlg : public ModalDialog {
public:
    // owner may be null (no owner: the dialog's own filterMask decides the choice).
    CCapeOpenDlg(HWND parentWindow, const ComponentManagerOwner* owner);
    ~CCapeOpenDlg() override;

    // Runs modally with the parent window; IDOK or IDCANCEL.
    INT_PTR DoModal();

    // categoryFilterTag bits of the categories to list.
    unsigned long filterMask = kAllFilter;

    // The selection texts, read by the owner after the run.
    const ComponentSelection& selection() const { return sel_; }

    // Presets the component to show without a choice: an empty ProgID returns to the
    // creation mode; otherwise the catalogue's records of the two ProgIDs become the
    // selection and the dialog switches to the information-only mode.
    void SelectByProgIDs(const std::string& progId, const std::string& parentProgId, const std::string& catid);
    // Copies the record (and its parent record, when there is one) into the selection.
    void SetSelection(const CAPETreeItemTag* record, const CAPETreeItemTag* parent);
    // Shows the record in the information panel; null empties the panel.
    void browseComponentInfo(const CAPETreeItemTag* record);
    // Shows the preset component of the information-only mode.
    void browseComponentInfo();

    // Stop-icon box with an OK button, owned by the dialog; returns E_FAIL. Not traced.
    HRESULT reportDialogError(const std::string& text);
    // "clsid:<selCLSID>, progid:<selProgID>, parent: <selParentProgID>".
    std::string selectionContext() const;

    // The catalogue: rebuilds the whole tree from the registered categories.
    void DisplayCategories();
    // Lists the components of one category under its item.
    void DisplayCategoryComponents(HTREEITEM categoryItem, const std::wstring& catid);
    // Lists the packages of every manager under the manager's item.
    void DisplayPropertyPackageManagerPropPacks(HTREEITEM managerCategoryItem);
    // Fills record from the registry (all fields start empty). S_OK, or the failure of
    // ProgIDFromCLSID (record left empty). Unexpected failures are shown and give S_OK
    // with the record as far as it got.
    HRESULT GetInfoForCLSID(REFCLSID clsid, const std::string& catid, CAPETreeItemTag& record,
                            const std::string& package);
    // A new record, owned by recordList.
    CAPETREEITEM addRecord();
    // The record of a component (second empty) or of the package named first of the
    // manager whose ProgID is second; owned by the caller.
    HRESULT GetInfoForProgID(const std::string& first, const std::string& second, const std::string& catid,
                             std::unique_ptr<CAPETreeItemTag>& record);
    // Appends a labelled item as the last child of parent (the top level for null),
    // makes it visible and returns it; null when the insertion fails.
    HTREEITEM InsertTreeItem(HTREEITEM parent, const std::string& text, CAPETREEITEM record);
    // Frees every record; with emptyTree also empties the tree.
    void ClearCatalogue(bool emptyTree);

    bool creationMode() const { return creationMode_; }
    // The record the information panel shows last; null once the catalogue is cleared.
    const CAPETreeItemTag* shownRecord() const { return shownRecord_; }
    const RecordList& records() const { return recordList_; }
    const std::vector<std::string>& categoryCatids() const { return categoryCatidList_; }

protected:
    BOOL onInitDialog() override;
    void onCommand(int id, int notifyCode, HWND control) override;
    LRESULT onNotify(NMHDR& header) override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
    void onDestroy() override;

private:
    void dispatchCommand(int id, int notifyCode);
    void dispatchNotification(const NMHDR& header);
    // The last stop of a handler's failure before the platform.
    void reportUnexpectedError();

    // What the user does.
    void showSelectedItem();
    void accept(bool askAgain);
    void OnOK();
    void OnCancel();
    void onTabChanged();
    void onVendorURL();
    void onComponentHelp();
    // The registration report of the dialog's categories, in its own window
    // (RegistrationCheckButton.cpp).
    void onCheckRegistrations();
    // Typing in the find box: the tree keeps the matching items (FindBox.cpp).
    void showFoundItems();
    // The interface probe of the selected component (right click in the tree).
    void probeSelectedComponent();

    void underlineVendorURLFont();
    void setUpFindBox();
    // DisplayCategories without the find box: the whole tree from the registry.
    void rebuildCatalogue();
    std::string findText() const;
    void applyCreationMode();
    void showCOGentsButtonFromSettings();
    // Yes/No question with the exclamation icon, owned by the dialog.
    bool askYesNo(const char* question);
    void selectCategoryOf(const CAPETreeItemTag& record);

    // Set while the catalogue is rebuilt or probed: the records are in use.
    bool busy_ = false;
    // Set while the find box changes the tree: the selection's changes show nothing.
    bool refillingTree_ = false;

    HWND parentWindow_;
    TreeControl tree_;
    ComponentSelection sel_;
    HICON icon_ = nullptr;
    RecordList recordList_;
    std::vector<std::string> categoryCatidList_;
    UniqueGdiObject underlinedFont_;
    bool creationMode_ = true;
    const ComponentManagerOwner* owner_;
    CAPETREEITEM shownRecord_ = nullptr;
    // What the full tree lists, for the find box to narrow and widen it again.
    CatalogueOutline outline_;
};
