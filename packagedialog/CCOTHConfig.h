#pragma once
#include <windows.h>
#include <functional>
#include <string>

#include "packagedialog/PackageData.h"
#include "packagedialog/PackageDialogOwner.h"
#include "support/ModalDialog.h"

// The modal dialog "CAPE-OPEN Property Package Detailed Information": the imported
// CAPE-OPEN 1.1 property package's compounds, properties and phases on five tabs
// (General, Components, Properties, Phases, About), and the options with which the
// host drives the package. The dialog computes nothing from the options: it holds
// them, shows them and lets the user change them.
//
// The automation object owns one instance for its whole life, writes and reads the
// fields directly and shows it with show(); the window exists only while show() runs,
// and each showing starts from the current fields and package data.
//
// Option fields are booleans in 32-bit integers: zero is false, anything else true
// (the host may store -1). A check box shows checked for any non-zero value; OK
// stores 0 or 1 in every option; Esc and the close box store nothing.
class CCOTHConfig : public ModalDialog {
public:
    CCOTHConfig();
    ~CCOTHConfig() override = default;

    int allowSubsets = 0;       // check box 207
    int freeCompounds = 0;      // check box 205, never shown: passes through
    std::string importReport;   // edit 209 (read-only)
    std::string itemAlias;      // edit 7003 (disabled)
    std::string parentAlias;    // edit 7001 (disabled)
    int treatAsHypos = 0;       // check box 202
    int recovLog = 0;           // check box 252
    int recovPopUp = 0;         // check box 253
    int recovTrace = 0;         // check box 251
    std::string socketVersion;  // edit 235 (read-only)
    int requestLiquid2 = 0;     // check box 263, shown only for the maker's own system
    int doOrderPhases = 0;      // check box 264
    int critPopUp = 0;          // check box 267
    int critLog = 0;            // check box 266
    int critTrace = 0;          // check box 268
    int allowModifications = 1;  // enables 205, 207 and 202
    PackageDialogOwner* owner = nullptr;  // not owned; set before each showing
    bool fromOwnPropertySystem = false;   // decided when the dialog opens
    PackageData packageData;

    // Reads the package's data (see PackageData.h). names, matchedBy and mapping are
    // the host's compound mapping; the gathering does not read them.
    HRESULT gatherPackageData(IUnknown* package, VARIANT* names, VARIANT* matchedBy, VARIANT* mapping,
                              long version) noexcept;

    // Runs the dialog modally; the result is the code it ended with (IDOK after OK,
    // IDCANCEL after Esc or the close box, -1 when it could not be shown).
    INT_PTR show(HWND parent);

    // Shows the controls of one tab (0 General .. 4 About) and hides all others.
    void showTab(int index);

    // Whether the maker's main simulator is the host process (decides, with
    // fromOwnPropertySystem, whether check box 263 is shown). QnUtils's host check
    // unless replaced.
    void setHostCheck(std::function<bool()> check) { hostCheck_ = std::move(check); }

protected:
    BOOL onInitDialog() override;
    void onCommand(int id, int notifyCode, HWND control) override;
    LRESULT onNotify(NMHDR& header) override;

private:
    void exchangeOptions(bool save);
    void showTexts();
    void insertTabs();
    void fillPackageLists();
    void fillFlashTypes();
    void decideOwnPropertySystem();
    void enableCompoundOptions();
    void fillList(int listId, const VARIANT& array);

    void onAccept();
    void onCancel();
    void onBrowseStaticInformation();
    void onCustomView();

    std::function<bool()> hostCheck_;
};
