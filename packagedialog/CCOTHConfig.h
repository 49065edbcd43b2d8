#pragma once
#include <windows.h>
#include <functional>
#include <string>

#include "packagedialog/PackageData.h"
#include "packagedialog/PackageDialogOwner.h"
#include "packagedialog/PackageOptions.h"
#include "support/ModalDialog.h"

// What one showing of the property package dialog is given besides its options.
struct PackageDialogContext {
    PackageDialogOwner* owner = nullptr;  // not owned; answers the dialog while it runs
    std::string itemAlias;                // edit 7003 (disabled)
    std::string parentAlias;              // edit 7001 (disabled)
    bool allowModifications = true;       // enables 205, 207 and 202
};

// The modal dialog "CAPE-OPEN Property Package Detailed Information": the imported
// CAPE-OPEN 1.1 property package's compounds, properties and phases on five tabs
// (General, Components, Properties, Phases, About), and the options with which the
// host drives the package (PackageOptions.h).
//
// The automation object owns one instance for its whole life, keeps the options
// itself and hands them to show(); the window exists only while show() runs, and each
// showing starts from the options and package data as they are then.
class CCOTHConfig : public ModalDialog {
public:
    CCOTHConfig();
    ~CCOTHConfig() override = default;

    PackageData packageData;

    // Reads the package's data (see PackageData.h).
    HRESULT gatherPackageData(IUnknown* package, long version) noexcept;

    // Runs the dialog modally over options (OK writes the user's choices back into
    // them); the result is the code it ended with (IDOK after OK, IDCANCEL after Esc
    // or the close box, -1 when it could not be shown).
    INT_PTR show(HWND parent, PackageOptions& options, const PackageDialogContext& context);

    // Shows the controls of one tab (0 General .. 4 About) and hides all others.
    void showTab(int index);

    // Whether the maker's main simulator is the host process (decides, with
    // the package's property system, whether check box 263 is shown). QnUtils's host check
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
    // What the running showing works on; set by show() for its duration.
    PackageOptions* options_ = nullptr;
    PackageDialogContext context_;
    bool fromOwnPropertySystem_ = false;  // decided when the dialog opens
};
