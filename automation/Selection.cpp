// Choosing the component: the Component Manager shown (ShowGUI), or only consulted
// (setProgIds), or shown for information (showStaticInfo), and its choice copied
// into the object's item fields.
#include "automation/CCCAPEGUI.h"

#include "automation/BstrText.h"
#include "automation/CapeVersion.h"
#include "automation/MethodBoundary.h"
#include "support/ScopedFlag.h"
#include "catalogue/CapeOpenDlg.h"
#include "support/AnsiText.h"
#include "support/ErrorReport.h"

namespace {

// The object as the Component Manager's owner: the dialog reads the category filter
// when the user confirms a choice, so it sees the object's value as it is then.
class SelectionOwner : public ComponentManagerOwner {
public:
    explicit SelectionOwner(const unsigned long& categoryFilter) : categoryFilter_(categoryFilter) {}
    unsigned long categoryFilterForChoice() const override { return categoryFilter_; }

private:
    const unsigned long& categoryFilter_;
};

std::string withoutTrailingWhiteSpace(std::string text)
{
    const size_t end = text.find_last_not_of(" \t\r\n\v\f");
    text.erase(end == std::string::npos ? 0 : end + 1);
    return text;
}

// Writes the choice into an in/out BSTR. What the caller passed in is neither read nor
// freed: hosts written for this library pass strings they still own.
void writeBstr(BSTR* slot, const std::string& text)
{
    if (slot)
        *slot = newBstr(text);
}

}  // namespace

void CCCAPEGUI::readBackSelection(const ComponentSelection& selection)
{
    // The catalogue is always the local machine's: every read-back empties the server.
    serverName = selection.remoteServer.empty() ? CQnBSTR() : CQnBSTR(selection.remoteServer.c_str());
    itemCLSIDText = selection.selCLSID;
    itemCATID = selection.selCATID;
    itemProgID = selection.selProgID;
    parentProgID = selection.selParentProgID;
    itemDescription = selection.selDescription;
    itemVendorURL = selection.selVendorURL;
    itemHelpURL = selection.selHelpURL;
    itemComponentVersion = selection.selComponentVersion;
    itemAbout = selection.selAbout;
    assignAliases(selection.selAlias, selection.selParentAlias);
    itemCOVersionText = withoutTrailingWhiteSpace(selection.selCapeVersion);
    compCOversion = parseCOVersion(itemCOVersionText);
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::ShowGUI(BSTR* szComponent, BSTR* szCATIDs)
{
    const auto alive = enterMethod();
    try {
        if (HRESULT refused = refuseWhileDialogRuns("ShowGUI"); FAILED(refused))
            return refused;
        const ScopedFlag running(dialogRunning);
        const SelectionOwner owner(categoryFilter);
        CCapeOpenDlg dialog(hostWindow, &owner);
        itemCATID.clear();
        itemProgID.clear();
        parentProgID.clear();
        dialog.filterMask = categoryFilter;
        dialog.DoModal();  // what the user did is in the selection fields
        readBackSelection(dialog.selection());
        writeBstr(szComponent, itemProgID);
        writeBstr(szCATIDs, itemCATID);
        leaveMethodOK();
        return S_OK;
    } catch (...) {
        reportShowGUIFailure();
        return S_OK;  // the host never sees a failure of the choice, only the message
    }
}

void CCCAPEGUI::reportShowGUIFailure() noexcept
{
    try {
        const std::string message = "Unexpected error in CCAPEGUI::ShowGui for ProgId:" + fullPackageClassName();
        reportError(kInternalFailure, message.c_str(), nullptr, hostWindow, true);
    } catch (...) {
        reportError(kInternalFailure, "Unexpected error in CCAPEGUI::ShowGui for ProgId:", nullptr, hostWindow, true);
    }
}

HRESULT CCCAPEGUI::loadItemInfo(bool show)
{
    const auto alive = enterMethod();
    const SelectionOwner owner(categoryFilter);
    CCapeOpenDlg dialog(hostWindow, &owner);
    dialog.filterMask = categoryFilter;
    dialog.SelectByProgIDs(itemProgID, parentProgID, "");
    if (show)
        dialog.DoModal();
    // A ProgID that is no longer registered (a document reopened after its component
    // was uninstalled) is not found: the host's names stay, so that the creation's
    // message still names the component.
    const std::string hostItem = itemProgID;
    const std::string hostParent = parentProgID;
    readBackSelection(dialog.selection());
    if (itemProgID.empty())
        itemProgID = hostItem;
    if (parentProgID.empty())
        parentProgID = hostParent;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::setProgIds(BSTR szComponentProgId, BSTR szParentProgId)
{
    const auto alive = enterMethod();
    return methodBoundary("setProgIds", hostWindow, [&] {
        std::string item = toAnsi(szComponentProgId);
        std::string parentId = toAnsi(szParentProgId);
        itemProgID = std::move(item);
        parentProgID = std::move(parentId);
        return loadItemInfo(false);
    });
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::showStaticInfo()
{
    const auto alive = enterMethod();
    return methodBoundary("showStaticInfo", hostWindow, [&] {
        if (HRESULT refused = refuseWhileDialogRuns("showStaticInfo"); FAILED(refused))
            return refused;
        const ScopedFlag running(dialogRunning);
        return loadItemInfo(true);
    });
}
