// Choosing in the Component Manager: what may be accepted, the questions on Accept
// and Cancel, the selection handed back, and the information-only mode.
#include "CatalogueFixture.h"
#include "catalogue/CapeOpenDlg.h"
#include "resources/ControlIds.h"

namespace {

// An owner whose category filter decides what may be chosen.
class FilterOwner : public ComponentManagerOwner {
public:
    explicit FilterOwner(unsigned long filter) : filter_(filter) {}
    unsigned long categoryFilterForChoice() const override { return filter_; }

private:
    unsigned long filter_;
};

const char* const kTryAgain = "No component was selected. Do you want to try again?";
const char* const kAbort = "Do you want to abort the creation of a CAPE-OPEN component?";

void click(HWND dialog, int id)
{
    SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

}  // namespace

class Choosing : public CatalogueFixture {
protected:
    // Runs a dialog with filter (the owner's too) and script; returns the result.
    INT_PTR choose(unsigned long filter, const std::function<void(HWND)>& script)
    {
        owner_ = std::make_unique<FilterOwner>(filter);
        dialog_ = std::make_unique<CCapeOpenDlg>(nullptr, owner_.get());
        dialog_->filterMask = filter;
        return runDialog(*dialog_, boxes_, script);
    }
    HTREEITEM itemAt(HWND dialog, const std::vector<std::string>& path)
    {
        HTREEITEM item = findItem(GetDlgItem(dialog, IDC_COMPONENT_TREE), path);
        EXPECT_NE(item, nullptr) << "tree item " << path.back();
        return item;
    }
    const ComponentSelection& chosen() const { return dialog_->selection(); }

    MessageBoxDriver boxes_;
    std::unique_ptr<FilterOwner> owner_;
    std::unique_ptr<CCapeOpenDlg> dialog_;
};

TEST_F(Choosing, APackageHandsBackItselfAndItsManager)
{
    const INT_PTR result = choose(1536, [&](HWND dialog) {
        selectItem(dialog, itemAt(dialog, {kManagersCategory, managerLabel(), "Peng-Robinson [PR]"}));
        click(dialog, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(boxes_.count(), 0u);
    EXPECT_EQ(chosen().selProgID, "PR");
    EXPECT_EQ(chosen().selAlias, "Peng-Robinson");
    EXPECT_EQ(chosen().selCATID, kPackageCatid);
    EXPECT_EQ(chosen().selCLSID, installed().manager.clsidText());
    EXPECT_EQ(chosen().selDescription, "Cubic equation");
    EXPECT_EQ(chosen().selCapeVersion, "1.1");
    EXPECT_EQ(chosen().selVendorURL, "http://thermo.example");
    EXPECT_EQ(chosen().selParentProgID, installed().manager.progId());
    EXPECT_EQ(chosen().selParentAlias, "Thermo Manager");
    EXPECT_EQ(chosen().remoteServer, "");
}

TEST_F(Choosing, AStandalonePackageHasNoParent)
{
    const INT_PTR result = choose(1536, [&](HWND dialog) {
        selectItem(dialog, itemAt(dialog, {kPackagesCategory, standaloneLabel()}));
        notifyTree(dialog, NM_DBLCLK);  // accepts without asking
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(chosen().selProgID, installed().standalone.progId());
    EXPECT_EQ(chosen().selCATID, kCategoryTable[2].catid);
    EXPECT_EQ(chosen().selParentProgID, "");
    EXPECT_EQ(chosen().selParentAlias, "");
}

TEST_F(Choosing, AUnitOperationOnlyUnderTheUnitOperationFilterAlone)
{
    EXPECT_EQ(choose(32, [&](HWND dialog) {
                  selectItem(dialog, itemAt(dialog, {kUnitsCategory, mixerLabel()}));
                  click(dialog, IDOK);
              }),
              IDOK);
    EXPECT_EQ(chosen().selProgID, installed().mixer.progId());
    EXPECT_EQ(chosen().selCATID, kCategoryTable[0].catid);
    EXPECT_EQ(chosen().selCapeVersion, "1.0 ");
    EXPECT_EQ(boxes_.count(), 0u);

    boxes_.answerNext(IDNO);
    EXPECT_EQ(choose(33, [&](HWND dialog) {
                  selectItem(dialog, itemAt(dialog, {kUnitsCategory, mixerLabel()}));
                  click(dialog, IDOK);
              }),
              IDOK)
        << "answering No closes the dialog without a component";
    ASSERT_EQ(boxes_.count(), 1u);
    EXPECT_EQ(boxes_.last().text, kTryAgain);
    EXPECT_EQ(chosen().selProgID, "");
    EXPECT_EQ(chosen().selCATID, "");
}

TEST_F(Choosing, TryAgainKeepsTheDialogOpenAndACategoryCanNeverBeChosen)
{
    boxes_.answerNext(IDYES);
    const INT_PTR result = choose(1536, [&](HWND dialog) {
        selectItem(dialog, itemAt(dialog, {kManagersCategory}));
        notifyTree(dialog, NM_DBLCLK);
        EXPECT_EQ(boxes_.count(), 0u) << "double-clicking a category does nothing";
        selectItem(dialog, itemAt(dialog, {kManagersCategory, managerLabel()}));
        click(dialog, IDOK);
        ASSERT_EQ(boxes_.count(), 1u) << "a manager itself cannot be chosen";
        EXPECT_EQ(boxes_.last().caption, "CAPE-OPEN Component Manager");
        EXPECT_EQ(boxes_.last().text, kTryAgain);
        EXPECT_TRUE(boxes_.last().hasButton(IDYES) && boxes_.last().hasButton(IDNO));
        EXPECT_TRUE(boxes_.last().hasIcon);
        EXPECT_EQ(boxes_.last().owner, dialog);
        selectItem(dialog, itemAt(dialog, {kManagersCategory, managerLabel(), "SRK"}));
        click(dialog, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(chosen().selProgID, "SRK");
    EXPECT_EQ(boxes_.count(), 1u);
}

TEST_F(Choosing, CancelAsksAndHandsBackNothing)
{
    boxes_.answerNext(IDNO);
    boxes_.answerNext(IDYES);
    const INT_PTR result = choose(32, [&](HWND dialog) {
        selectItem(dialog, itemAt(dialog, {kUnitsCategory, mixerLabel()}));
        notifyTree(dialog, NM_CLICK);
        click(dialog, IDCANCEL);
        EXPECT_TRUE(IsWindowVisible(dialog)) << "No keeps the dialog open";
        click(dialog, IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
    ASSERT_EQ(boxes_.count(), 2u);
    EXPECT_EQ(boxes_.boxes()[0].text, kAbort);
    EXPECT_EQ(boxes_.boxes()[1].text, kAbort);
    EXPECT_EQ(chosen().selProgID, "");
    EXPECT_EQ(chosen().selCATID, "");
}

TEST_F(Choosing, InformationOnlyModeShowsThePresetAndClosesAtOnce)
{
    owner_ = std::make_unique<FilterOwner>(32);
    dialog_ = std::make_unique<CCapeOpenDlg>(nullptr, owner_.get());
    dialog_->filterMask = 32;
    dialog_->SelectByProgIDs(installed().mixer.progId(), "", "");
    EXPECT_FALSE(dialog_->creationMode());
    EXPECT_EQ(chosen().selAlias, "Mixer") << "the preset is the selection before the dialog runs";

    const INT_PTR result = runDialog(*dialog_, boxes_, [&](HWND dialog) {
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_COMPONENT_TREE)));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_COMPONENT_TABS)));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_REFRESH)));
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDCANCEL)));
        EXPECT_EQ(controlText(dialog, IDC_DESCRIPTION), "Mixes streams");
        EXPECT_EQ(controlText(dialog, IDC_CLSID), installed().mixer.clsidText());
        // A click in the disabled tree changes nothing.
        selectItem(dialog, findItem(GetDlgItem(dialog, IDC_COMPONENT_TREE), {kUnitsCategory}));
        EXPECT_EQ(controlText(dialog, IDC_DESCRIPTION), "Mixes streams");
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);  // Escape
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(boxes_.count(), 0u) << "no question in the information-only mode";
    EXPECT_EQ(chosen().selProgID, installed().mixer.progId());
    EXPECT_EQ(chosen().selCATID, "");
    EXPECT_EQ(chosen().selDescription, "Mixes streams");
}

TEST_F(Choosing, PresetOfAPackageLooksItUpUnderItsManager)
{
    CCapeOpenDlg dialog(nullptr, nullptr);
    dialog.SelectByProgIDs("PR", installed().manager.progId(), "");
    const ComponentSelection& preset = dialog.selection();
    EXPECT_EQ(preset.selProgID, "PR");
    EXPECT_EQ(preset.selAlias, "Peng-Robinson");
    EXPECT_EQ(preset.selCLSID, installed().manager.clsidText());
    EXPECT_EQ(preset.selParentProgID, installed().manager.progId());
    EXPECT_EQ(preset.selParentAlias, "Thermo Manager");
    EXPECT_EQ(preset.selCATID, "");
    EXPECT_TRUE(dialog.records().empty()) << "preset records are not the catalogue's";

    dialog.SelectByProgIDs("", "ignored", "");
    EXPECT_TRUE(dialog.creationMode());
    EXPECT_EQ(dialog.selection().selProgID, "");
    EXPECT_EQ(dialog.selection().selParentProgID, "");
    EXPECT_EQ(dialog.selection().selAlias, "Peng-Robinson") << "the other fields stay as they were";
}

TEST_F(Choosing, DialogErrorsAreStopBoxesOwnedByTheDialogAndNameTheSelection)
{
    HRESULT reported = S_OK;
    std::string context;
    choose(1536, [&](HWND dialog) {
        selectItem(dialog, itemAt(dialog, {kManagersCategory, managerLabel(), "SRK"}));
        ASSERT_NE(dialog_->shownRecord(), nullptr);
        EXPECT_EQ(dialog_->shownRecord()->ProgID, "SRK") << "the shown record follows the selection";
        dialog_->SetSelection(dialog_->shownRecord(), nullptr);
        context = dialog_->selectionContext();
        reported = dialog_->reportDialogError("Something failed. " + context);
        SendMessageA(dialog, WM_COMMAND, IDC_REFRESH, 0);
        EXPECT_EQ(dialog_->shownRecord(), nullptr) << "a rebuild forgets the shown record";
        click(dialog, IDOK);  // SetSelection above chose SRK
    });
    EXPECT_EQ(reported, E_FAIL);
    EXPECT_EQ(context, "clsid:" + installed().manager.clsidText() + ", progid:SRK, parent: ");
    ASSERT_EQ(boxes_.count(), 1u);
    const ShownBox& box = boxes_.last();
    EXPECT_EQ(box.text, "Something failed. " + context);
    EXPECT_EQ(box.caption, "catalogue_tests") << "the application's title";
    EXPECT_TRUE(box.hasIcon);
    EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
    EXPECT_NE(box.owner, nullptr);
}
