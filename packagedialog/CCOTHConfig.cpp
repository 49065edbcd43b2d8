#include "packagedialog/CCOTHConfig.h"

#include <commctrl.h>

#include <algorithm>
#include <new>
#include <span>
#include <utility>

#include "resources/ControlIds.h"
#include "packagedialog/ArrayElements.h"
#include "packagedialog/DisplayText.h"
#include "packagedialog/OwnPropertySystem.h"
#include "support/DeviceContext.h"
#include "support/QnUtils.h"

namespace {

constexpr const char* kTabTitles[] = {"General", "Components", "Properties", "Phases", "About"};

constexpr int kGeneralControls[] = {IDC_PROPERTY_SYSTEM_LABEL, IDC_PROPERTY_SYSTEM,    IDC_PROPERTY_PACKAGE_LABEL,
                                    IDC_PROPERTY_PACKAGE,      IDC_BROWSE_STATIC_INFO, IDC_CUSTOM_VIEW,
                                    IDC_IMPORT_REPORT_LABEL,   IDC_IMPORT_REPORT};
constexpr int kComponentsControls[] = {IDC_COMPOUND_IDS_LABEL, IDC_COMPOUND_IDS,         IDC_FORMULAE_LABEL,
                                       IDC_FORMULAE,           IDC_COMPOUND_NAMES_LABEL, IDC_COMPOUND_NAMES,
                                       IDC_CAS_NUMBERS_LABEL,  IDC_CAS_NUMBERS,          IDC_MOLECULAR_WEIGHTS_LABEL,
                                       IDC_MOLECULAR_WEIGHTS,  IDC_BOILING_POINTS_LABEL, IDC_BOILING_POINTS,
                                       IDC_ALLOW_SUBSETS,      IDC_TREAT_AS_HYPOS,       IDC_FREE_COMPOUNDS};
constexpr int kPropertiesControls[] = {
    IDC_SINGLE_PHASE_PROPS_LABEL, IDC_SINGLE_PHASE_PROPS, IDC_TWO_PHASE_PROPS_LABEL, IDC_TWO_PHASE_PROPS,
    IDC_CONSTANT_PROPS_LABEL,     IDC_CONSTANT_PROPS,     IDC_FLASH_TYPES_LABEL,     IDC_FLASH_TYPES,
    IDC_REQUEST_LIQUID2,          IDC_ORDER_PHASES};
constexpr int kPhasesControls[] = {
    IDC_PHASE_LABELS_LABEL,  IDC_PHASE_LABELS,  IDC_STATES_OF_AGGREGATION_LABEL, IDC_STATES_OF_AGGREGATION,
    IDC_KEY_COMPOUNDS_LABEL, IDC_KEY_COMPOUNDS, IDC_PHASE_DESCRIPTIONS_LABEL,    IDC_PHASE_DESCRIPTIONS};
constexpr int kAboutControls[] = {
    IDC_ABOUT_TEXT,       IDC_VERSION_GROUP,  IDC_SOCKET_VERSION_LABEL, IDC_SOCKET_VERSION, IDC_STANDARD_LABEL,
    IDC_STANDARD_VERSION, IDC_SUPPORT_TEXT,   IDC_RECOVERABLE_GROUP,    IDC_RECOV_TRACE,    IDC_RECOV_LOG,
    IDC_RECOV_POPUP,      IDC_CRITICAL_GROUP, IDC_CRIT_TRACE,           IDC_CRIT_LOG,       IDC_CRIT_POPUP};

constexpr std::span<const int> kTabControls[] = {kGeneralControls, kComponentsControls, kPropertiesControls,
                                                 kPhasesControls, kAboutControls};

// Runs a handler of the dialog; nothing may leave the dialog procedure (the window
// manager calls it, and an exception there would tear the host down).
template <class Handler>
bool guarded(Handler&& handler) noexcept
{
    try {
        handler();
        return true;
    } catch (...) {
        return false;
    }
}

// The width of a list's widest entry in the list's font; -1 without a device context.
LONG widestEntry(HWND list)
{
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    const WindowDC dc(list);
    if (!dc)
        return -1;
    const SelectedObject font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageA(list, WM_GETFONT, 0, 0)));
    LONG widest = 0;
    std::string text;
    for (int i = 0; i < count; ++i) {
        const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        if (length < 0)
            continue;
        text.assign(static_cast<size_t>(length) + 1, '\0');
        SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        SIZE size{};
        if (GetTextExtentPoint32A(dc.get(), text.c_str(), static_cast<int>(length), &size))
            widest = std::max(widest, size.cx);
    }
    return widest;
}

// The width a list needs to show its widest entry, for its horizontal scroll bar.
void fitHorizontalExtent(HWND list)
{
    const LONG widest = widestEntry(list);
    if (widest < 0)
        return;  // no device context: the extent stays
    SendMessageA(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest + 4), 0);
}

}  // namespace

CCOTHConfig::CCOTHConfig() : ModalDialog(IDD_PACKAGE_INFORMATION), hostCheck_(&QnUtils::isMainHostProcess) {}

HRESULT CCOTHConfig::gatherPackageData(IUnknown* package, long version) noexcept
{
    return ::gatherPackageData(packageData, package, version);
}

INT_PTR CCOTHConfig::show(HWND parent, PackageOptions& options, const PackageDialogContext& context)
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    options_ = &options;
    context_ = context;
    const INT_PTR result = run(parent);
    options_ = nullptr;
    context_ = {};
    return result;
}

BOOL CCOTHConfig::onInitDialog()
{
    const bool opened = guarded([&] {
        exchangeOptions(false);
        showTexts();
        insertTabs();
        fillPackageLists();
        fillFlashTypes();
        decideOwnPropertySystem();
        enableCompoundOptions();
        showTab(0);
    });
    if (!opened)
        endDialog(-1);
    return TRUE;
}

void CCOTHConfig::exchangeOptions(bool save)
{
    PackageOptions& options = *options_;
    exchangeCheck(IDC_ALLOW_SUBSETS, options.allowSubsets, save);
    exchangeCheck(IDC_FREE_COMPOUNDS, options.freeCompounds, save);
    exchangeCheck(IDC_TREAT_AS_HYPOS, options.treatAsHypos, save);
    exchangeCheck(IDC_RECOV_LOG, options.recovLog, save);
    exchangeCheck(IDC_RECOV_POPUP, options.recovPopUp, save);
    exchangeCheck(IDC_RECOV_TRACE, options.recovTrace, save);
    exchangeCheck(IDC_REQUEST_LIQUID2, options.requestLiquid2, save);
    exchangeCheck(IDC_ORDER_PHASES, options.doOrderPhases, save);
    exchangeCheck(IDC_CRIT_POPUP, options.critPopUp, save);
    exchangeCheck(IDC_CRIT_LOG, options.critLog, save);
    exchangeCheck(IDC_CRIT_TRACE, options.critTrace, save);
}

// The four texts are shown only: their controls are disabled or read-only, so the
// user cannot change them and OK has nothing to copy back (which also keeps the
// report's own line ends, which the edit needs as carriage return + line feed).
void CCOTHConfig::showTexts()
{
    SetDlgItemTextA(hwnd(), IDC_IMPORT_REPORT, withCarriageReturns(options_->importReport).c_str());
    SetDlgItemTextA(hwnd(), IDC_PROPERTY_PACKAGE, context_.itemAlias.c_str());
    SetDlgItemTextA(hwnd(), IDC_PROPERTY_SYSTEM, context_.parentAlias.c_str());
    SetDlgItemTextA(hwnd(), IDC_SOCKET_VERSION, options_->socketVersion.c_str());
}

void CCOTHConfig::insertTabs()
{
    HWND tabs = item(IDC_PACKAGE_TABS);
    for (int i = 0; i < static_cast<int>(std::size(kTabTitles)); ++i) {
        TCITEMA tab{};
        tab.mask = TCIF_TEXT;
        tab.pszText = const_cast<char*>(kTabTitles[i]);
        SendMessageA(tabs, TCM_INSERTITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&tab));
    }
    // The tab control lies behind the controls of its pages.
    SetWindowPos(tabs, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void CCOTHConfig::fillPackageLists()
{
    // Each list box and the package array it shows, in the order they are filled.
    static const std::pair<int, VariantHolder PackageData::*> lists[] = {
        {IDC_COMPOUND_IDS, &PackageData::compoundIds},
        {IDC_FORMULAE, &PackageData::formulae},
        {IDC_COMPOUND_NAMES, &PackageData::compoundNames},
        {IDC_BOILING_POINTS, &PackageData::boilingPoints},
        {IDC_MOLECULAR_WEIGHTS, &PackageData::molecularWeights},
        {IDC_CAS_NUMBERS, &PackageData::casNumbers},
        {IDC_CONSTANT_PROPS, &PackageData::constantProps},
        {IDC_SINGLE_PHASE_PROPS, &PackageData::singlePhaseProps},
        {IDC_TWO_PHASE_PROPS, &PackageData::twoPhaseProps},
        {IDC_PHASE_LABELS, &PackageData::phaseLabels},
        {IDC_STATES_OF_AGGREGATION, &PackageData::statesOfAggregation},
        {IDC_KEY_COMPOUNDS, &PackageData::keyCompoundIds},
        {IDC_PHASE_DESCRIPTIONS, &PackageData::phaseDescriptions},
    };
    for (const auto& [listId, array] : lists)
        fillList(listId, packageData.*array);
}

void CCOTHConfig::fillFlashTypes()
{
    if (!context_.owner)
        return;
    VariantHolder phaseTypes;
    context_.owner->copySupportedPhaseTypes(phaseTypes);
    fillList(IDC_FLASH_TYPES, phaseTypes);
}

void CCOTHConfig::decideOwnPropertySystem()
{
    fromOwnPropertySystem_ = context_.owner && namesOwnPropertySystem(context_.owner->parentProgIdOfPackage());
}

void CCOTHConfig::enableCompoundOptions()
{
    const BOOL enable = context_.allowModifications;
    for (int id : {IDC_FREE_COMPOUNDS, IDC_ALLOW_SUBSETS, IDC_TREAT_AS_HYPOS})
        EnableWindow(item(id), enable);
}

// One entry per element, appended in array order. Large lists are filled with
// redrawing suspended and their storage reserved: each entry then costs one copy.
void CCOTHConfig::fillList(int listId, const VARIANT& array)
{
    HWND list = item(listId);
    const size_t count = arrayElementCount(array);
    if (count == 0)
        return;
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_INITSTORAGE, static_cast<WPARAM>(count), static_cast<LPARAM>(count * 16));
    std::string text;
    forEachArrayElement(array, [&](const ArrayElement& element) {
        elementDisplayText(element, text);
        return SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())) >= 0;
    });
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    if (GetWindowLongA(list, GWL_STYLE) & WS_HSCROLL)
        fitHorizontalExtent(list);
    InvalidateRect(list, nullptr, TRUE);
}

void CCOTHConfig::showTab(int index)
{
    for (std::span<const int> controls : kTabControls)
        for (int id : controls)
            ShowWindow(item(id), SW_HIDE);
    if (index < 0 || index >= static_cast<int>(std::size(kTabControls)))
        return;
    for (int id : kTabControls[index]) {
        if (id == IDC_FREE_COMPOUNDS)
            continue;  // its value passes through; the user never sees it
        // Only inside the maker's main simulator may a package of its own property
        // system be asked for a VLL flash; the host check runs only for such packages.
        if (id == IDC_REQUEST_LIQUID2 && !(fromOwnPropertySystem_ && hostCheck_ && hostCheck_()))
            continue;
        ShowWindow(item(id), SW_SHOW);
    }
}

void CCOTHConfig::onCommand(int id, int notifyCode, HWND)
{
    if (notifyCode != BN_CLICKED)
        return;
    guarded([&] {
        switch (id) {
        case IDC_PACKAGE_OK:
        case IDOK:  // Enter
            onAccept();
            break;
        case IDCANCEL:  // Esc and the close box
            onCancel();
            break;
        case IDC_BROWSE_STATIC_INFO:
            onBrowseStaticInformation();
            break;
        case IDC_CUSTOM_VIEW:
            onCustomView();
            break;
        default:
            break;
        }
    });
}

LRESULT CCOTHConfig::onNotify(NMHDR& header)
{
    if (header.idFrom == IDC_PACKAGE_TABS && header.code == TCN_SELCHANGE)
        guarded([&] { showTab(static_cast<int>(SendMessageA(header.hwndFrom, TCM_GETCURSEL, 0, 0))); });
    return 0;
}

void CCOTHConfig::onAccept()
{
    exchangeOptions(true);
    endDialog(IDOK);
}

void CCOTHConfig::onCancel() { endDialog(IDCANCEL); }

void CCOTHConfig::onBrowseStaticInformation()
{
    if (context_.owner)
        context_.owner->showStaticInfoView();
}

void CCOTHConfig::onCustomView()
{
    if (context_.owner)
        context_.owner->showCustomView();
}
