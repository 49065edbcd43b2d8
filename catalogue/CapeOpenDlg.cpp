#include "catalogue/CapeOpenDlg.h"

#include <exception>

#include "catalogue/CommonControlsContext.h"
#include "resources/ControlIds.h"
#include "support/AnsiText.h"
#include "support/ErrorReport.h"
#include "support/MTUtils.h"

namespace {

constexpr const char* kQuestionCaption = "CAPE-OPEN Component Manager";
constexpr COLORREF kTreeBackground = RGB(192, 192, 192);
constexpr COLORREF kVendorURLColour = RGB(0, 0, 255);

void showControl(HWND control, bool shown) { ShowWindow(control, shown ? SW_SHOW : SW_HIDE); }

}  // namespace

CCapeOpenDlg::CCapeOpenDlg(HWND parentWindow, const ComponentManagerOwner* owner)
    : ModalDialog(IDD_COMPONENT_MANAGER), parentWindow_(parentWindow), owner_(owner)
{
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_TREEVIEW_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&classes);
}

CCapeOpenDlg::~CCapeOpenDlg() = default;

INT_PTR CCapeOpenDlg::DoModal()
{
    // The find box's cue text needs the edit control of the common controls 6.
    const CommonControlsContext commonControls(currentModule());
    return run(parentWindow_);
}

HRESULT CCapeOpenDlg::reportDialogError(const std::string& text)
{
    MessageBoxA(hwnd(), text.c_str(), MTUtils::applicationTitle().c_str(), MB_OK | MB_ICONHAND);
    return E_FAIL;
}

std::string CCapeOpenDlg::selectionContext() const
{
    return "clsid:" + sel_.selCLSID + ", progid:" + sel_.selProgID + ", parent: " + sel_.selParentProgID;
}

bool CCapeOpenDlg::askYesNo(const char* question)
{
    return showMessage(question, kQuestionCaption, MB_YESNO | MB_ICONEXCLAMATION, hwnd()) == IDYES;
}

BOOL CCapeOpenDlg::onInitDialog()
{
    try {
        tree_.attach(item(IDC_COMPONENT_TREE));
        tree_.deleteAll();
        SendMessageA(tree_.hwnd(), TVM_SETBKCOLOR, 0, kTreeBackground);
        DisplayCategories();
        SendMessageA(item(IDC_SPARE_EDIT_1), EM_SETREADONLY, TRUE, 0);
        SendMessageA(item(IDC_SPARE_EDIT_2), EM_SETREADONLY, TRUE, 0);

        TCITEMA tab{};
        tab.mask = TCIF_TEXT;
        tab.pszText = const_cast<char*>("Registered Components");
        SendMessageA(item(IDC_COMPONENT_TABS), TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&tab));
        showControl(item(IDC_COMPONENT_LIST), false);

        icon_ = LoadIconA(currentModule(), MAKEINTRESOURCEA(IDI_COMPONENT_MANAGER));
        SendMessageA(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
        SendMessageA(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));

        underlineVendorURLFont();
        setUpFindBox();
        applyCreationMode();
        showCOGentsButtonFromSettings();
        if (!creationMode_)
            browseComponentInfo();
    } catch (...) {
        reportDialogError("CCapeOpenDlg::OnInitDialog. " + selectionContext());
    }
    return TRUE;
}

void CCapeOpenDlg::underlineVendorURLFont()
{
    HWND button = item(IDC_VENDOR_URL);
    auto font = reinterpret_cast<HFONT>(SendMessageA(button, WM_GETFONT, 0, 0));
    LOGFONTA description{};
    if (!font || !GetObjectA(font, sizeof description, &description)) {
        // The button draws with the system font.
        GetObjectA(GetStockObject(SYSTEM_FONT), sizeof description, &description);
    }
    description.lfUnderline = TRUE;
    UniqueGdiObject underlined(CreateFontIndirectA(&description));
    if (!underlined) {
        MessageBoxA(hwnd(), "CreateFontIndirect() failed.", MTUtils::applicationTitle().c_str(), MB_OK);
        return;
    }
    SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(underlined.get()), TRUE);
    // The button keeps using the font: it is freed with the dialog, after the button.
    underlinedFont_ = std::move(underlined);
}

void CCapeOpenDlg::applyCreationMode()
{
    EnableWindow(item(IDC_COMPONENT_TABS), creationMode_);
    tree_.enable(creationMode_);
    EnableWindow(item(IDC_FIND_BOX), creationMode_);
    EnableWindow(item(IDC_REFRESH), creationMode_);
    showControl(item(IDCANCEL), creationMode_);
}

void CCapeOpenDlg::showCOGentsButtonFromSettings()
{
    const std::string setting = MTUtils::readIniValue("COGents", "", "");
    showControl(item(IDC_COGENTS), setting == "1");
}

void CCapeOpenDlg::reportUnexpectedError()
{
    try {
        reportDialogError("Unexpected error in the CAPE-OPEN Component Manager. " + selectionContext());
    } catch (...) {
        // Out of memory for the message itself: nothing more can be said.
    }
}

void CCapeOpenDlg::onCommand(int id, int notifyCode, HWND)
{
    // Each action shows its own failures; this is the last stop before the platform.
    try {
        dispatchCommand(id, notifyCode);
    } catch (...) {
        reportUnexpectedError();
    }
}

void CCapeOpenDlg::dispatchCommand(int id, int notifyCode)
{
    switch (id) {
    case IDOK:
        OnOK();
        break;
    case IDCANCEL:
        OnCancel();
        break;
    case IDC_REFRESH:
        DisplayCategories();
        break;
    case IDC_SHOW_PROGIDS:
        if (notifyCode == BN_CLICKED)
            DisplayCategories();
        break;
    case IDC_VENDOR_URL:
        onVendorURL();
        break;
    case IDC_COMPONENT_HELP:
        onComponentHelp();
        break;
    case IDC_CHECK_REGISTRATIONS:
        onCheckRegistrations();
        break;
    case IDC_FIND_BOX:
        if (notifyCode == EN_CHANGE)
            showFoundItems();
        break;
    default:
        break;  // the COGents button and the category combo box do nothing
    }
}

LRESULT CCapeOpenDlg::onNotify(NMHDR& header)
{
    try {
        dispatchNotification(header);
    } catch (...) {
        reportUnexpectedError();
    }
    return 0;
}

void CCapeOpenDlg::dispatchNotification(const NMHDR& header)
{
    if (header.idFrom == IDC_COMPONENT_TABS && header.code == TCN_SELCHANGE) {
        onTabChanged();
        return;
    }
    if (header.idFrom != IDC_COMPONENT_TREE)
        return;
    switch (header.code) {
    case NM_CLICK:
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW:
        showSelectedItem();
        break;
    case NM_DBLCLK:
        accept(false);
        break;
    case NM_RCLICK:
        probeSelectedComponent();
        break;
    default:
        break;
    }
}

bool CCapeOpenDlg::onMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result)
{
    if (message == WM_CTLCOLORSTATIC && reinterpret_cast<HWND>(lParam) == item(IDC_VENDOR_URL)) {
        // The platform's colours for a static control, with the text in blue.
        auto dc = reinterpret_cast<HDC>(wParam);
        SetBkColor(dc, GetSysColor(COLOR_3DFACE));
        SetTextColor(dc, kVendorURLColour);
        result = reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_3DFACE));
        return true;
    }
    return false;
}

void CCapeOpenDlg::onDestroy()
{
    try {
        ClearCatalogue(true);
    } catch (...) {
        reportUnexpectedError();
    }
}

void CCapeOpenDlg::onTabChanged()
{
    if (SendMessageA(item(IDC_COMPONENT_TABS), TCM_GETCURSEL, 0, 0) != 0)
        return;
    showControl(tree_.hwnd(), true);
    showControl(item(IDC_COMPONENT_LIST), false);
}
